#include "Pattern3DCommands.h"

#include "CliCommon.h"
#include "catalogue/Errors.h"
#include "catalogue/Footprint.h"
#include "catalogue/NumberText.h"
#include "catalogue/Pattern3D.h"
#include "catalogue/QuvLib.h"
#include "catalogue/TextFile.h"
#include "plot/FootprintView.h"
#include "plot/Pattern3DView.h"

#include <QBuffer>
#include <QString>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <optional>

namespace quv {

namespace {

constexpr const char* kPattern3DUsage =
    "usage: quvtool pattern3d [--catalogue DIR] --part P | --file NAME\n"
    "                         [--method auto|summing|bilinear|"
    "projection]\n"
    "                         [--mechanical-tilt M] [--csv FILE] [--png FILE]\n"
    "                         [--size PIXELS] [--view AZ,EL]\n";
constexpr const char* kFootprintUsage =
    "usage: quvtool footprint [--catalogue DIR] --part P [--part P ...] [--file NAME ...]\n"
    "                         [--method auto|summing|bilinear|projection]\n"
    "                         [--height H] [--mechanical-tilt M] [--azimuth A] [--radius R]\n"
    "                         [--slope DB_PER_DECADE] [--csv FILE] [--png FILE]\n";

bool ParseNumber(const std::string& text, double low, double high, double& value)
{
    double v = 0;
    if (!TryStrToFloat(text, v) || !std::isfinite(v) || v < low || v > high)
        return false;
    value = v;
    return true;
}

// The records that the "--part" and "--file" options name, in the order given; a message and
// nothing when one names no record.
std::optional<std::vector<const TQuvFile*>>
PickRecords(const TCatalogue& catalogue, const std::string& command, const TCommandOptions& options)
{
    std::vector<const TQuvFile*> records;
    for (const auto& given : options.Given()) {
        if ((given.name != "part" && given.name != "file") || given.values.empty())
            continue;
        const std::string& text = given.values.front();
        const bool isFile = given.name == "file";
        const TPartPick pick =
            isFile ? TPartPick{PickFile(catalogue, text), {}} : PickPart(catalogue, text);
        if (!pick.record) {
            std::cerr << "quvtool " << command << ": "
                      << (isFile ? "no data file " : "unknown part number ") << text
                      << (isFile ? " in the catalogue" : "") << "\n";
            return std::nullopt;
        }
        if (!pick.note.empty())
            std::cerr << "quvtool " << command << ": " << pick.note << "\n";
        records.push_back(pick.record);
    }
    return records;
}

// The part's cuts as numbers, or a message naming the part and the first bad level.
std::optional<TPatternCuts> LoadCuts(const std::string& command, const TQuvFile* record)
{
    const std::string& part = record->PartNumber;
    for (const TPatternCut* cut : {&record->Azimuth, &record->Elevation}) {
        if (cut->size() < 361) {
            std::cerr << "quvtool " << command << ": part number " << part
                      << ": a pattern cut is incomplete\n";
            return std::nullopt;
        }
        for (std::size_t i = 0; i < cut->size(); ++i) {
            double v = 0;
            if (!TryStrToFloat((*cut)[i], v) || !std::isfinite(v)) {
                std::cerr << "quvtool " << command << ": part number " << part << ": "
                          << EConvertError::NotAFloat((*cut)[i]).what() << "\n";
                return std::nullopt;
            }
        }
    }
    return CutsOf(*record);
}

// The "--method" option; nullopt after the message when it names no method.
std::optional<T3DMethod> MethodOption(TCommandOptions& options, int& exit)
{
    if (!options.IsSet("method"))
        return T3DMethod::Auto;
    const auto m = MethodFromName(options.Value("method"));
    if (!m)
        exit = options.Fail("--method must be auto, summing, bilinear or projection");
    return m;
}

// The "--mechanical-tilt" option into `tilt`; false after the message when it is not a number of
// degrees.
bool TiltOption(TCommandOptions& options, double& tilt, int& exit)
{
    if (options.IsSet("mechanical-tilt") &&
        !ParseNumber(options.Value("mechanical-tilt"), -90, 90, tilt)) {
        exit = options.Fail("--mechanical-tilt must be a number of degrees from -90 to 90");
        return false;
    }
    return true;
}

using TOutputs = std::vector<std::pair<std::string, std::string>>; // path, bytes

std::string PngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    // An image the encoder could not write must not be committed as a picture: empty then.
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return {};
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

int NoPicture(const std::string& command)
{
    std::cerr << "quvtool " << command << ": the PNG encoder could not write the picture\n";
    return 1;
}

// All the files or none, and on disk before success is reported.
bool WriteAll(const std::string& command, const TOutputs& outputs)
{
    try {
        TWrittenFiles written;
        CommitFiles(outputs, written);
        written.Flush();
        return true;
    } catch (const EQuvError& e) {
        std::cerr << "quvtool " << command << ": " << e.what() << "\n";
        return false;
    }
}

} // namespace

int Pattern3DCommand(const std::vector<std::string>& args)
{
    const TViewAngle defaultView;
    const std::vector<TOptionSpec> specs = JoinSpecs(
        {{CatalogueOptionSpec()},
         PartOptionSpecs("to rebuild; exactly one of the two"),
         Pattern3DOptionSpecs(),
         {{"csv", 1, "FILE",
           "every direction on a 1-degree grid: azimuth 0 to 359 and elevation -90 to 90 in "
           "degrees, level in dB relative to the peak"},
          {"png", 1, "FILE", "the shaded 3D view as a PNG picture"},
          {"size", 1, "PIXELS", "side of the square picture in pixels, 64 to 10000 (default 600)"},
          {"view", 1, "AZ,EL",
           "where the picture is seen from, in degrees: azimuth -360 to 360, elevation -90 to 90 "
           "(default " +
               FloatToStrGeneral(defaultView.azimuth) + "," +
               FloatToStrGeneral(defaultView.elevation) + ")"}}});
    TCommandOptions options("pattern3d", kPattern3DUsage, specs,
                            "quvtool pattern3d --part TD1965-17 --mechanical-tilt 4 --png 3d.png");
    if (const auto exit = options.Parse(args))
        return *exit;
    double size = 600, tilt = 0;
    int exit = 0;
    TViewAngle view;
    const std::string csv = options.Value("csv"), png = options.Value("png");
    if (options.Values("part").size() + options.Values("file").size() != 1)
        return options.Fail("pattern3d takes one --part or --file");
    const auto method = MethodOption(options, exit);
    if (!method)
        return exit;
    if (!TiltOption(options, tilt, exit))
        return exit;
    if (options.IsSet("size") &&
        (!ParseNumber(options.Value("size"), 64, 10000, size) || size != std::floor(size)))
        return options.Fail("--size must be a whole number of pixels from 64 to 10000");
    if (options.IsSet("view")) {
        const std::string value = options.Value("view");
        const auto comma = value.find(',');
        if (comma == std::string::npos ||
            !ParseNumber(value.substr(0, comma), -360, 360, view.azimuth) ||
            !ParseNumber(value.substr(comma + 1), -90, 90, view.elevation))
            return options.Fail(
                "--view must be AZ,EL in degrees (azimuth -360..360, elevation -90..90)");
    }
    if (csv.empty() && png.empty())
        return options.Fail("at least one of --csv and --png is required");

    TCatalogue catalogue;
    catalogue.LoadFolder(CatalogueFolder(options));
    const auto records = PickRecords(catalogue, "pattern3d", options);
    if (!records)
        return 1;
    const std::string part = records->front()->PartNumber;
    const auto cuts = LoadCuts("pattern3d", records->front());
    if (!cuts)
        return 1;
    // As mounted: the mechanical tilt turns the whole rebuilt pattern down.
    const TPattern3D pattern = BuildPattern3D(*cuts, *method).Tilted(tilt);
    std::cerr << part << ": method " << MethodName(pattern.Method());
    if (tilt != 0)
        std::cerr << ", mechanical tilt " << FloatToStrGeneral(tilt) << " deg";
    std::cerr << "\n";

    TOutputs outputs;
    if (!csv.empty()) {
        std::string text = "azimuth,elevation,level\r\n";
        text.reserve(360 * 181 * 16);
        for (int a = 0; a < 360; ++a)
            for (int e = -90; e <= 90; ++e)
                text += std::to_string(a) + "," + std::to_string(e) + "," +
                        Format("%.2f", {pattern.At(a, e)}) + "\r\n";
        outputs.emplace_back(csv, std::move(text));
    }
    if (!png.empty()) {
        EnsureGuiApplication();
        const int side = static_cast<int>(size);
        std::string title = part + "  (" + std::string(MethodName(pattern.Method()));
        if (tilt != 0)
            title += ", tilted " + FloatToStrGeneral(tilt) + " deg";
        title += ")";
        outputs.emplace_back(png, PngBytes(Pattern3DImage(pattern, side, side, view, title)));
        if (outputs.back().second.empty())
            return NoPicture("pattern3d");
    }
    return WriteAll("pattern3d", outputs) ? 0 : 1;
}

int FootprintCommand(const std::vector<std::string>& args)
{
    const std::vector<TOptionSpec> specs =
        JoinSpecs({{CatalogueOptionSpec()},
                   PartOptionSpecs("to place on the mast; up to four in all"),
                   Pattern3DOptionSpecs(),
                   FootprintOptionSpecs(),
                   {{"azimuth", 1, "A",
                     "the ground line's bearing in degrees clockwise from boresight, -360 to 360 "
                     "(default 0)"},
                    {"csv", 1, "FILE",
                     "the distance in m (10 m to 20 km) and one level column in dB per antenna"},
                    {"png", 1, "FILE",
                     "the lines and the first antenna's map in 3 dB colour steps as a PNG "
                     "picture"}}});
    TCommandOptions options("footprint", kFootprintUsage, specs,
                            "quvtool footprint --part TD0765-14 --height 30 --png fp.png");
    if (const auto exit = options.Parse(args))
        return *exit;
    TFootprintGeometry geometry;
    double azimuth = 0, radius = 2000;
    int exit = 0;
    const std::string csv = options.Value("csv"), png = options.Value("png");
    if (options.IsSet("height") &&
        (!ParseNumber(options.Value("height"), 0, 100000, geometry.height) || geometry.height <= 0))
        return options.Fail("--height must be a number of metres above zero");
    if (!TiltOption(options, geometry.mechanicalTilt, exit))
        return exit;
    const auto method = MethodOption(options, exit);
    if (!method)
        return exit;
    if (options.IsSet("slope") && !ParseNumber(options.Value("slope"), 0, 100, geometry.slope))
        return options.Fail("--slope must be a number of dB per decade from 0 to 100");
    if (options.IsSet("azimuth") && !ParseNumber(options.Value("azimuth"), -360, 360, azimuth))
        return options.Fail("--azimuth must be a number of degrees from -360 to 360");
    if (options.IsSet("radius") &&
        (!ParseNumber(options.Value("radius"), 0, 100000, radius) || radius <= 0))
        return options.Fail("--radius must be a number of metres above zero");
    const std::size_t count = options.Values("part").size() + options.Values("file").size();
    if (count == 0)
        return options.Fail("--part or --file is required");
    if (count > static_cast<std::size_t>(kMaxPlotTraces))
        return options.Fail("at most four --part and --file options");

    TCatalogue catalogue;
    catalogue.LoadFolder(CatalogueFolder(options));
    const auto records = PickRecords(catalogue, "footprint", options);
    if (!records)
        return 1;
    std::vector<std::string> parts;
    for (const TQuvFile* record : *records)
        parts.push_back(record->PartNumber);
    std::vector<TFootprintTrace> traces;
    std::vector<T3DMethod> methods;
    std::optional<TPattern3D> first;
    const double bearing = azimuth < 0 ? azimuth + 360 : azimuth;
    for (const TQuvFile* record : *records) {
        const auto cuts = LoadCuts("footprint", record);
        if (!cuts)
            return 1;
        TPattern3D pattern = BuildPattern3D(*cuts, *method);
        traces.push_back({record->PartNumber, FootprintAlong(pattern, geometry, bearing)});
        methods.push_back(pattern.Method());
        if (!first)
            first = std::move(pattern);
    }
    const auto distance = [](const std::optional<double>& d) {
        return d ? Format("%.1f", {*d}) + " m"
                 : "beyond " + FloatToStrGeneral(kFootprintFarthest) + " m";
    };
    for (std::size_t k = 0; k < traces.size(); ++k) {
        const TFootprintLine& line = traces[k].line;
        std::cerr << traces[k].name << ": maximum at " << Format("%.1f", {line.maximumDistance})
                  << " m, far -3 dB at " << distance(line.far3dB) << ", far -10 dB at "
                  << distance(line.far10dB) << " (method " << MethodName(methods[k]) << ")\n";
    }

    TOutputs outputs;
    if (!csv.empty()) {
        std::string text = "distance";
        for (const std::string& part : parts)
            text += "," + part;
        text += "\r\n";
        const std::vector<double>& distances = traces.front().line.distances;
        for (std::size_t i = 0; i < distances.size(); ++i) {
            text += Format("%.1f", {distances[i]});
            for (const TFootprintTrace& t : traces)
                text += "," + Format("%.2f", {t.line.levels[i]});
            text += "\r\n";
        }
        outputs.emplace_back(csv, std::move(text));
    }
    if (!png.empty()) {
        EnsureGuiApplication();
        const TFootprintMap map = FootprintMap(*first, geometry, radius, 400);
        const std::string title = FootprintTitle(geometry, azimuth);
        outputs.emplace_back(
            png, PngBytes(FootprintImage(traces, map, parts.front(), title, 1000, 560)));
        if (outputs.back().second.empty())
            return NoPicture("footprint");
    }
    if (outputs.empty())
        return 0;
    return WriteAll("footprint", outputs) ? 0 : 1;
}

} // namespace quv
