// quvtool xref and plot --reference, called in-process on the sample catalogue.
#include "XrefCommand.h"
#include "PlotCommand.h"
#include "catalogue/QuvLib.h"
#include "plot/PolarPlotLib.h"
#include "support/AllFormats.h"
#include "support/CommandFixture.h"
#include "support/RunCommand.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace quv;
namespace fs = std::filesystem;

namespace {

struct XrefCommandTest : test::TCommandFixture {
    XrefCommandTest() : TCommandFixture("quv_xref_") {}
    // The sample antenna of that part number, loaded on its own.
    std::unique_ptr<TQuvFile> Sample(const std::string& part)
    {
        return LoadQuvFile(std::string(QUV_SAMPLE_CATALOGUE) + "/" + part + ".quv");
    }
    int Run(int (*command)(const std::vector<std::string>&), std::vector<std::string> args,
            std::string& out, std::string& err)
    {
        args.insert(args.begin(), {"--catalogue", QUV_SAMPLE_CATALOGUE});
        return Capture(command, args, out, err);
    }
};

TEST_F(XrefCommandTest, RanksAnExportedAntennaFirstForItsOwnFileInEveryFormat)
{
    const struct {
        const char* file;
        std::string (*build)(const std::string&, const TQuvFile&);
    } formats[] = {{"own.pln", BuildPlanet}, {"own.dap", BuildNsma}, {"own_tia.dap", BuildTiaEia}};
    for (const char* part : {"TD0865-14", "TD2165-18"}) {
        const auto record = Sample(part);
        for (const auto& f : formats) {
            SCOPED_TRACE(std::string(part) + " " + f.file);
            const std::string path = Write(f.file, f.build("/x/own", *record));
            std::string out, err;
            ASSERT_EQ(Run(XrefCommand, {"--reference", path, "--top", "3"}, out, err), 0) << err;
            const auto lines = quv::test::SplitLines(out);
            ASSERT_EQ(lines.size(), 4u);
            EXPECT_EQ(lines[0],
                      "rank\tpart number\tscore\tazimuth main beam rms dB"
                      "\televation main beam rms dB\tazimuth rms dB\televation rms dB\tgain dB"
                      "\tazimuth beamwidth deg\televation beamwidth deg\ttilt deg");
            EXPECT_EQ(lines[1].substr(0, lines[1].find('\t', 2) + 1),
                      "1\t" + std::string(part) + "\t");
            EXPECT_TRUE(lines[1].find("\t0.00\t0.00\t0.00\t0.00\t0.00\t+0.0\t") !=
                        std::string::npos)
                << lines[1];
            EXPECT_EQ(lines[3].substr(0, 2), "3\t");
            EXPECT_EQ(err, "");
        }
    }
}

TEST_F(XrefCommandTest, SaysWhenEveryAntennaIsACandidateAndFailsOnBadFiles)
{
    const auto record = Sample("TD0865-14");
    std::string bytes = BuildPlanet("/x/own", *record);
    bytes.replace(bytes.find("FREQUENCY 880"), 13, "FREQUENCY 9999");
    std::string out, err;
    EXPECT_EQ(Run(XrefCommand, {"--reference", Write("far.pln", bytes)}, out, err), 0);
    EXPECT_EQ(err,
              "quvtool xref: No antenna's band holds 9999 MHz: every antenna is a candidate.\n");
    catalogue.LoadFolder(QUV_SAMPLE_CATALOGUE);
    EXPECT_EQ(quv::test::SplitLines(out).size(),
              static_cast<std::size_t>(catalogue.Catalogue.Count()) + 1);

    const std::string truncated = Write("cut.pln", bytes.substr(0, bytes.find("\r\n180 ")));
    EXPECT_EQ(Run(XrefCommand, {"--reference", truncated}, out, err), 1);
    EXPECT_EQ(err, "quvtool xref: " + truncated + ": no VERTICAL block found\n");
    EXPECT_EQ(out, "");
    EXPECT_EQ(Run(XrefCommand, {"--reference", (dir / "missing.pln").string()}, out, err), 1);
    EXPECT_NE(err.find("Cannot open file"), std::string::npos);

    EXPECT_EQ(Run(XrefCommand, {}, out, err), 2);
    EXPECT_EQ(Run(XrefCommand, {"--reference", truncated, "--top", "0"}, out, err), 2);
    EXPECT_EQ(Run(XrefCommand, {"--reference"}, out, err), 2);
}

TEST_F(XrefCommandTest, PlotOverlaysTheReferenceAsADarkGreyTrace)
{
    const auto record = Sample("TD1865-17");
    const std::string ref = Write("ref.pln", BuildPlanet("/x/ref", *record));
    const std::string png = (dir / "plot.png").string();
    const QRgb grey = qRgb(kReferenceTraceColor.r, kReferenceTraceColor.g, kReferenceTraceColor.b);
    auto greyPixels = [&] {
        const QImage image(QString::fromStdString(png));
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == grey;
        return n;
    };
    std::string out, err;
    ASSERT_EQ(Run(PlotCommand, {"--part", "TD0865-14", "--cut", "azimuth", "--out", png}, out, err),
              0);
    // Antialiased label edges may hit the grey here and there; the dashed trace covers hundreds.
    const int without = greyPixels();
    EXPECT_LT(without, 20);
    ASSERT_EQ(Run(PlotCommand,
                  {"--part", "TD0865-14", "--cut", "azimuth", "--reference", ref, "--out", png},
                  out, err),
              0)
        << err;
    EXPECT_GT(greyPixels(), without + 100);
    ASSERT_EQ(Run(PlotCommand, {"--cut", "elevation", "--reference", ref, "--out", png}, out, err),
              0);
    EXPECT_GT(greyPixels(), without + 100);
    const std::string bad = Write("bad.dap", "PATCUT:,AZ\r\n");
    EXPECT_EQ(Run(PlotCommand, {"--cut", "azimuth", "--reference", bad, "--out", png}, out, err),
              1);
    EXPECT_EQ(err, "quvtool plot: " + bad + ": line 1: the AZ cut holds no points\n");
}

} // namespace
