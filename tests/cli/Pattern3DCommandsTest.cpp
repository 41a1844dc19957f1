// quvtool pattern3d and footprint on a catalogue of antennas built in code: the CSV against the
// record's own accessors, the footprint's maximum against the level formula worked out here from
// the elevation cut alone, and bad input that must leave every file as it was.
#include "Pattern3DCommands.h"
#include "catalogue/ElevationAngles.h"
#include "catalogue/NumberText.h"
#include "catalogue/QuvFile.h"
#include "catalogue/QuvLib.h"

#include "support/RunCommand.h"
#include "support/ScratchDir.h"
#include "support/TestAntennas.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

using namespace quv;
using namespace quvtest;
namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> Split(const std::string& line, char sep)
{
    std::vector<std::string> items;
    std::stringstream s(line);
    for (std::string item; std::getline(s, item, sep);)
        items.push_back(item.ends_with('\r') ? item.substr(0, item.size() - 1) : item);
    return items;
}

struct Pattern3DCommandsTest : ::testing::Test {
    quv::test::TScratchDir scratch{"quv_p3d_"};
    fs::path dir = scratch.Path();
    fs::path catalogue = dir / "QUV";

    Pattern3DCommandsTest()
    {
        fs::create_directories(catalogue);
        Write("TILTED", PointsSection(CutsFromTruth(
                            [](double a, double e) { return ArrayElementTruth(a, e, 6.0); })));
        Write("ISO", PointsSection(CutsFromTruth([](double, double) { return 0.0; })));
        std::string broken = PointsSection(CutsFromTruth([](double, double) { return 0.0; }));
        broken.replace(broken.find("=0.00", 5000), 5, "=n/a");
        Write("BROKEN", broken);
    }
    void Write(const std::string& part, const std::string& points)
    {
        std::ofstream(catalogue / (part + ".quv"), std::ios::binary)
            << "[HEADER]\r\nPart Number=" << part << "\r\n\r\n"
            << points;
    }
    int Run(int (*command)(const std::vector<std::string>&), std::vector<std::string> args,
            std::string* errors = nullptr)
    {
        args.insert(args.begin(), {"--catalogue", catalogue.string()});
        testing::internal::CaptureStderr();
        const int status = command(args);
        const std::string err = testing::internal::GetCapturedStderr();
        if (errors)
            *errors = err;
        return status;
    }
};

} // namespace

TEST_F(Pattern3DCommandsTest, Pattern3DCsvReproducesBothCutsOfTheRecord)
{
    const fs::path csv = dir / "tilted.csv", png = dir / "tilted.png";
    std::string errors;
    ASSERT_EQ(Run(Pattern3DCommand,
                  {"--part", "TILTED", "--csv", csv.string(), "--png", png.string(), "--size",
                   "300", "--view", "30,20"},
                  &errors),
              0)
        << errors;
    EXPECT_NE(errors.find("method summing"), std::string::npos);
    EXPECT_EQ(QImage(QString::fromStdString(png.string())).size(), QSize(300, 300));

    const std::vector<std::string> lines = Split(ReadText(csv), '\n');
    ASSERT_EQ(lines.size(), 1u + 360u * 181u);
    EXPECT_EQ(lines[0], "azimuth,elevation,level");
    std::map<std::pair<int, int>, double> levels;
    const auto level = [&](int a, int e) { return levels[{a, e}]; };
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto f = Split(lines[i], ',');
        ASSERT_EQ(f.size(), 3u) << lines[i];
        levels[{std::stoi(f[0]), std::stoi(f[1])}] = StrToFloat(f[2]);
    }

    TQuvFile record;
    record.LoadFromFile((catalogue / "TILTED.quv").string());
    const auto at = [](std::string_view text) { return StrToFloat(text); };
    // The cuts peak at 0 dB and so does the grid; a 0.01 dB step is the CSV's rounding.
    const double shift = at(record.ElevationAt(0)) - at(record.AzimuthAt(0));
    for (int a = 0; a < 360; ++a)
        ASSERT_NEAR(level(a, 0), at(record.AzimuthAt(a)) + shift, 0.011) << a;
    for (int e = -90; e <= 90; ++e)
        ASSERT_NEAR(level(0, e), at(record.ElevationAt(AccessorAngleFromElevation(e))), 0.011) << e;
    EXPECT_DOUBLE_EQ(level(0, -6), 0.0); // downtilted: the peak is below the horizon
}

TEST_F(Pattern3DCommandsTest, FootprintMaximumIsWhereTheLevelFormulaPutsIt)
{
    const fs::path csv = dir / "footprint.csv", png = dir / "footprint.png";
    std::string errors;
    ASSERT_EQ(Run(FootprintCommand,
                  {"--part", "TILTED", "--part", "ISO", "--height", "30", "--csv", csv.string(),
                   "--png", png.string()},
                  &errors),
              0)
        << errors;

    // Along boresight the level is the elevation cut at the depression minus the spreading.
    TQuvFile record;
    record.LoadFromFile((catalogue / "TILTED.quv").string());
    const auto cut = [&](double below) {
        const int lo = static_cast<int>(std::floor(below));
        const double f = below - lo;
        return (1 - f) * StrToFloat(record.ElevationAt(lo)) +
               f * StrToFloat(record.ElevationAt(lo + 1));
    };
    double best = 0, bestLevel = -1e9;
    for (double d = 10; d <= 20000; d *= 1.001) {
        const double level =
            cut(std::atan2(30.0, d) * 180 / std::numbers::pi) - 20 * std::log10(std::hypot(d, 30));
        if (level > bestLevel)
            bestLevel = level, best = d;
    }
    const auto pos = errors.find("TILTED: maximum at ");
    ASSERT_NE(pos, std::string::npos) << errors;
    const double reported =
        StrToFloat(errors.substr(pos + 19, errors.find(" m", pos + 19) - pos - 19));
    EXPECT_NEAR(reported, best, 0.02 * best);
    EXPECT_GT(best, 100.0); // a 6 degree beam from 30 m lands a good way out

    const std::vector<std::string> lines = Split(ReadText(csv), '\n');
    ASSERT_GT(lines.size(), 600u);
    EXPECT_EQ(lines[0], "distance,TILTED,ISO");
    // The isotropic column is the spreading alone, relative to the nearest point.
    const auto last = Split(lines.back(), ',');
    ASSERT_EQ(last.size(), 3u);
    EXPECT_NEAR(StrToFloat(last[2]), -20 * std::log10(std::hypot(20000, 30) / std::hypot(10, 30)),
                0.006);
    EXPECT_FALSE(QImage(QString::fromStdString(png.string())).isNull());

    // The installed program dispatches the command the same way.
    const auto run = test::RunShell(std::string(QUV_TOOL_PATH) + " footprint --catalogue " +
                                    catalogue.string() + " --part ISO --mechanical-tilt 4");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find("ISO: maximum at 10.0 m"), std::string::npos) << run.err;
}

TEST_F(Pattern3DCommandsTest, BadInputWritesNothingAndLeavesFilesAsTheyWere)
{
    const fs::path csv = dir / "out.csv", png = dir / "out.png";
    std::ofstream(csv) << "old";
    const std::string c = csv.string(), p = png.string();
    struct Case {
        int (*command)(const std::vector<std::string>&);
        std::vector<std::string> args;
        int status;
    };
    const std::vector<Case> cases{
        {FootprintCommand, {"--part", "ISO", "--height", "0", "--csv", c, "--png", p}, 2},
        {FootprintCommand, {"--part", "ISO", "--height", "-30", "--csv", c}, 2},
        {FootprintCommand, {"--part", "ISO", "--height", "tall", "--csv", c}, 2},
        {FootprintCommand, {"--part", "ISO", "--mechanical-tilt", "91", "--csv", c}, 2},
        {FootprintCommand, {"--part", "ISO", "--mechanical-tilt", "-90.5", "--csv", c}, 2},
        {FootprintCommand, {"--part", "ISO", "--azimuth", "nan", "--csv", c}, 2},
        {FootprintCommand, {"--height", "30", "--csv", c}, 2},
        {FootprintCommand, {"--part", "ISO", "--part", "NOSUCH", "--csv", c, "--png", p}, 1},
        {FootprintCommand, {"--part", "ISO", "--part", "BROKEN", "--csv", c}, 1},
        {FootprintCommand, {"--part", "ISO", "--slope", "-1", "--csv", c}, 2},
        {FootprintCommand, {"--part", "ISO", "--slope", "steep", "--csv", c}, 2},
        {FootprintCommand, {"--part", "ISO", "--method", "cubic", "--csv", c}, 2},
        {Pattern3DCommand, {"--part", "ISO", "--mechanical-tilt", "95", "--csv", c}, 2},
        {Pattern3DCommand, {"--part", "ISO", "--mechanical-tilt", "down", "--csv", c}, 2},
        {Pattern3DCommand, {"--part", "ISO", "--method", "cubic", "--csv", c}, 2},
        {Pattern3DCommand, {"--part", "ISO"}, 2},
        {Pattern3DCommand, {"--part", "ISO", "--view", "30", "--png", p}, 2},
        {Pattern3DCommand, {"--part", "ISO", "--part", "TILTED", "--csv", c}, 2},
        {Pattern3DCommand, {"--part", "NOSUCH", "--csv", c}, 1},
        {Pattern3DCommand, {"--part", "BROKEN", "--csv", c, "--png", p}, 1},
        // A target in a missing folder fails before the other file is replaced.
        {Pattern3DCommand, {"--part", "ISO", "--csv", c, "--png", (dir / "no/x.png").string()}, 1},
    };
    for (const Case& k : cases) {
        std::string errors;
        EXPECT_EQ(Run(k.command, k.args, &errors), k.status) << k.args[1] << " " << k.args[3];
        EXPECT_FALSE(errors.empty());
        EXPECT_EQ(ReadText(csv), "old");
        EXPECT_FALSE(fs::exists(png));
    }
    std::string errors;
    Run(Pattern3DCommand, {"--part", "BROKEN", "--csv", c}, &errors);
    EXPECT_NE(errors.find("'n/a' is not a valid floating point value"), std::string::npos);
}

TEST_F(Pattern3DCommandsTest, TiltMethodAndSlopeReachWhatTheCommandsWrite)
{
    // The 6-degree antenna turned down 4 more on the mast peaks 10 degrees below the horizon,
    // straight ahead; turned up 6 it peaks on the horizon.
    for (const auto& [tilt, peak] : {std::pair{"4", -10}, {"-6", 0}, {"0", -6}}) {
        const fs::path csv = dir / "mounted.csv";
        std::string errors;
        ASSERT_EQ(Run(Pattern3DCommand,
                      {"--part", "TILTED", "--mechanical-tilt", tilt, "--csv", csv.string()},
                      &errors),
                  0)
            << errors;
        std::string best;
        double bestLevel = -1e9;
        const std::vector<std::string> lines = Split(ReadText(csv), '\n');
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const auto f = Split(lines[i], ',');
            if (f.size() == 3 && StrToFloat(f[2]) > bestLevel)
                bestLevel = StrToFloat(f[2]), best = f[0] + "," + f[1];
        }
        EXPECT_EQ(best, "0," + std::to_string(peak)) << tilt;
        EXPECT_DOUBLE_EQ(bestLevel, 0.0);
    }

    // The footprint names its method and both far points; a steeper slope pulls them in, and
    // the method chosen is the one used.
    const auto report = [&](const std::vector<std::string>& extra) {
        std::vector<std::string> args{"--part", "TILTED"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::string errors;
        EXPECT_EQ(Run(FootprintCommand, args, &errors), 0) << errors;
        return errors;
    };
    const auto far = [](const std::string& errors, const std::string& which) {
        const auto pos = errors.find("far " + which + " dB at ");
        EXPECT_NE(pos, std::string::npos) << errors;
        const auto start = pos + which.size() + 11;
        return pos == std::string::npos
                   ? 0.0
                   : StrToFloat(errors.substr(start, errors.find(" m", start) - start));
    };
    const std::string free = report({});
    const std::string urban = report({"--slope", "37.5"});
    const std::string bilinear = report({"--method", "bilinear"});
    EXPECT_NE(free.find("(method summing)"), std::string::npos) << free;
    EXPECT_NE(bilinear.find("(method bilinear)"), std::string::npos) << bilinear;
    EXPECT_LT(far(free, "-3"), far(free, "-10"));
    EXPECT_LT(far(urban, "-10"), far(free, "-10"));
    EXPECT_LT(far(urban, "-3"), far(free, "-3"));
}
