// quvtool plot, called in-process on a small catalogue written by the test.
#include "PlotCommand.h"
#include "catalogue/QuvLib.h"
#include "support/ScratchDir.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace quv;
namespace fs = std::filesystem;

namespace {

// A data file whose points are all `level`, except `badLevel` at point position 200 (azimuth).
void WriteQuv(const fs::path& folder, const std::string& part, const std::string& level,
              const std::string& badLevel = {})
{
    std::ofstream out(folder / (part + ".quv"), std::ios::binary);
    out << "[HEADER]\r\nPart Number=" << part << "\r\nDescription=Test antenna\r\n\r\n[POINTS]\r\n";
    for (int p = 0; p < 722; ++p)
        out << (p % 361) - 180 << "=" << (p == 200 && !badLevel.empty() ? badLevel : level)
            << "\r\n";
}

struct PlotCommandTest : ::testing::Test {
    quv::test::TScratchDir scratch{"quv_plot_"};
    fs::path dir = scratch.Path();
    fs::path catalogue = dir / "QUV";

    PlotCommandTest()
    {
        fs::create_directories(catalogue);
        WriteQuv(catalogue, "GOOD1", "0");
        WriteQuv(catalogue, "GOOD2", "-6");
        WriteQuv(catalogue, "BROKEN", "0", "n/a");
    }

    int Run(std::vector<std::string> args, std::string* errors = nullptr)
    {
        args.insert(args.begin(), {"--catalogue", catalogue.string()});
        ::testing::internal::CaptureStderr();
        const int status = PlotCommand(args);
        const std::string err = ::testing::internal::GetCapturedStderr();
        if (errors)
            *errors = err;
        return status;
    }
};

} // namespace

TEST_F(PlotCommandTest, WritesThePaintBoxPlotAsPng)
{
    const std::string out = (dir / "az.png").string();
    ASSERT_EQ(Run({"--part", "GOOD1", "--part", "GOOD2", "--cut", "azimuth", "--size", "200",
                   "--rotate", "0,90", "--out", out}),
              0);
    QImage image(QString::fromStdString(out));
    ASSERT_EQ(image.size(), QSize(200, 200));
    // Box 200: centre (100, 100), diameter 165, outer radius 82.5. GOOD1 (0 dB, blue) reaches the
    // ring at 3 o'clock; GOOD2 (-6 dB, red) is rotated a quarter turn: power radius 70.1 at 12.
    EXPECT_EQ(image.pixelColor(182, 100), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(100, 30), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::white));

    const std::string field = (dir / "el.png").string();
    ASSERT_EQ(Run({"--part", "GOOD2", "--cut", "elevation", "--field", "--out", field}), 0);
    QImage fieldImage(QString::fromStdString(field));
    ASSERT_EQ(fieldImage.size(), QSize(400, 400)); // the default size
    // Diameter 330, outer radius 165; -6 dB is a field ratio of 0.501: radius 82.7 -> x 283.
    EXPECT_EQ(fieldImage.pixelColor(283, 200), QColor(0, 0, 255));
}

TEST_F(PlotCommandTest, UnknownPartsAndBadPointsFailNamingThePart)
{
    const fs::path out = dir / "x.png";
    std::string errors;
    EXPECT_EQ(
        Run({"--part", "GOOD1", "--part", "NOSUCH", "--cut", "azimuth", "--out", out.string()},
            &errors),
        1);
    EXPECT_NE(errors.find("NOSUCH"), std::string::npos);

    EXPECT_EQ(Run({"--part", "BROKEN", "--cut", "azimuth", "--out", out.string()}, &errors), 1);
    EXPECT_NE(errors.find("BROKEN"), std::string::npos);
    EXPECT_NE(errors.find("'n/a' is not a valid floating point value"), std::string::npos);
    EXPECT_FALSE(fs::exists(out));

    // The bad point is in the azimuth cut only: the elevation plot is fine.
    EXPECT_EQ(Run({"--part", "BROKEN", "--cut", "elevation", "--out", out.string()}), 0);
    EXPECT_TRUE(fs::exists(out));
}

TEST_F(PlotCommandTest, RejectsBadOptions)
{
    const std::string out = (dir / "x.png").string();
    const std::vector<std::vector<std::string>> bad{
        {"--part", "GOOD1", "--out", out},                      // no cut
        {"--part", "GOOD1", "--cut", "sideways", "--out", out}, // unknown cut
        {"--part", "GOOD1", "--cut", "azimuth"},                // no output
        {"--part", "GOOD1", "--cut", "azimuth", "--size", "abc", "--out", out},
        {"--part", "GOOD1", "--cut", "azimuth", "--rotate", "400", "--out", out},
        {"--part", "GOOD1", "--cut", "azimuth", "--rotate", "1,2,3,4,5", "--out", out},
        {"--part", "A", "--part", "B", "--part", "C", "--part", "D", "--part", "E", "--cut",
         "azimuth", "--out", out},
        {"--part", "GOOD1", "--cut", "azimuth", "--out", out, "--extra"},
    };
    for (const auto& args : bad)
        EXPECT_EQ(Run(args), 2) << args.back();
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(PlotCommandTest, OptionLimitsHoldAtTheirEdges)
{
    // An unknown part number is only looked for once the options were accepted: exit 1 means the
    // value was taken, 2 that it was refused.
    struct Row {
        std::vector<std::string> options;
        int status;
    };
    const std::string out = (dir / "edge.png").string();
    const std::vector<Row> rows{
        {{"--size", "16"}, 1},    {{"--size", "10000"}, 1},  {{"--size", "15"}, 2},
        {{"--size", "10001"}, 2}, {{"--rotate", "360"}, 1},  {{"--rotate", "-360"}, 1},
        {{"--rotate", "361"}, 2}, {{"--rotate", "-361"}, 2}, {{"--rotate", "0,360,-360,5"}, 1},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args{"--part", "NOSUCH", "--cut", "azimuth", "--out", out};
        args.insert(args.end(), row.options.begin(), row.options.end());
        EXPECT_EQ(Run(args), row.status) << row.options[0] << " " << row.options[1];
    }
    EXPECT_FALSE(fs::exists(out));

    // The smallest plot is drawn, and a full turn either way draws what no rotation draws.
    const std::string still = (dir / "still.png").string();
    ASSERT_EQ(Run({"--part", "GOOD2", "--cut", "azimuth", "--size", "16", "--out", out}), 0);
    EXPECT_EQ(QImage(QString::fromStdString(out)).size(), QSize(16, 16));
    ASSERT_EQ(Run({"--part", "GOOD2", "--cut", "azimuth", "--size", "120", "--out", still}), 0);
    for (const char* turn : {"360", "-360"}) {
        ASSERT_EQ(Run({"--part", "GOOD2", "--cut", "azimuth", "--size", "120", "--rotate", turn,
                       "--out", out}),
                  0);
        EXPECT_EQ(QImage(QString::fromStdString(out)), QImage(QString::fromStdString(still)))
            << turn;
    }
}

TEST_F(PlotCommandTest, ATraceAtTheCentreShowsAsADotOfItsColour)
{
    WriteQuv(catalogue, "DEEP", "-40");
    WriteQuv(catalogue, "DEEPER", "-55.5");
    const std::string out = (dir / "dot.png").string();
    // Box 200: centre (100, 100). Power: both at the centre; field: -55.5 dB is 0.14 pixels out.
    struct Row {
        const char* part;
        bool field;
        QColor colour;
    };
    const QColor blue(0, 0, 255);
    for (const Row& row :
         {Row{"DEEP", false, blue}, Row{"DEEPER", false, blue}, Row{"DEEPER", true, blue}}) {
        SCOPED_TRACE(std::string(row.part) + (row.field ? " field" : " power"));
        std::vector<std::string> args{"--part", row.part, "--cut", "elevation",
                                      "--size", "200",    "--out", out};
        if (row.field)
            args.push_back("--field");
        ASSERT_EQ(Run(args), 0);
        const QImage image(QString::fromStdString(out));
        for (const QPoint p : {QPoint(100, 100), QPoint(98, 100), QPoint(102, 100), QPoint(100, 98),
                               QPoint(100, 102)})
            EXPECT_EQ(image.pixelColor(p), row.colour) << p.x() << "," << p.y();
        EXPECT_NE(image.pixelColor(100, 110), row.colour);
    }
    // The second antenna's dot takes the second colour, over the first one's.
    ASSERT_EQ(Run({"--part", "DEEP", "--part", "DEEPER", "--cut", "azimuth", "--size", "200",
                   "--out", out}),
              0);
    EXPECT_EQ(QImage(QString::fromStdString(out)).pixelColor(100, 100), QColor(255, 0, 0));
}
