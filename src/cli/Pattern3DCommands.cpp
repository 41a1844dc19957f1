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
    "usage: quvtool pattern3d [--catalogue DIR] --part P [--method auto|summing|bilinear|"
    "projection]\n"
    "                         [--csv FILE] [--png FILE] [--size PIXELS] [--view AZ,EL]\n";
constexpr const char* kFootprintUsage =
    "usage: quvtool footprint [--catalogue DIR] --part P [--part P ...] [--height H]\n"
    "                         [--mechanical-tilt M] [--azimuth A] [--radius R] [--csv FILE]\n"
    "                         [--png FILE]\n";

bool ParseNumber(const std::string& text, double low, double high, double& value)
{
    double v = 0;
    if (!TryStrToFloat(text, v) || !std::isfinite(v) || v < low || v > high)
        return false;
    value = v;
    return true;
}

// "--name value" pairs; every option takes a value.
bool TakeOptions(const std::vector<std::string>& args, const std::vector<std::string>& names,
                 std::vector<std::pair<std::string, std::string>>& options, std::string& error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (std::find(names.begin(), names.end(), args[i]) == names.end()) {
            error = "unexpected argument: " + args[i];
            return false;
        }
        if (i + 1 >= args.size()) {
            error = args[i] + " needs a value";
            return false;
        }
        options.emplace_back(args[i], args[i + 1]);
        ++i;
    }
    return true;
}

// The part's cuts as numbers, or a message naming the part and the first bad level.
std::optional<TPatternCuts> LoadCuts(const std::string& command, const std::string& part)
{
    const TQuvFile* record = FindPart(part);
    if (!record) {
        std::cerr << "quvtool " << command << ": unknown part number " << part << "\n";
        return std::nullopt;
    }
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

using TOutputs = std::vector<std::pair<std::string, std::string>>; // path, bytes

std::string PngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// All the files or none, and on disk before success is reported.
bool WriteAll(const std::string& command, const TOutputs& outputs)
{
    try {
        CommitFiles(outputs);
        FlushWrittenFiles();
        return true;
    } catch (const EQuvError& e) {
        std::cerr << "quvtool " << command << ": " << e.what() << "\n";
        return false;
    }
}

} // namespace

int Pattern3DCommand(const std::vector<std::string>& argsIn)
{
    std::vector<std::string> args = argsIn;
    std::string folder, error;
    std::vector<std::pair<std::string, std::string>> options;
    std::string part, csv, png;
    T3DMethod method = T3DMethod::Auto;
    double size = 600;
    TViewAngle view;
    bool ok = TakeCatalogueOption(args, folder, error) &&
              TakeOptions(args, {"--part", "--method", "--csv", "--png", "--size", "--view"},
                          options, error);
    for (const auto& [name, value] : options) {
        if (!ok)
            break;
        if (name == "--part") {
            if (!part.empty()) {
                error = "pattern3d takes one --part";
                ok = false;
            }
            part = value;
        } else if (name == "--method") {
            const auto m = MethodFromName(value);
            if (!m) {
                error = "--method must be auto, summing, bilinear or projection";
                ok = false;
            } else {
                method = *m;
            }
        } else if (name == "--csv") {
            csv = value;
        } else if (name == "--png") {
            png = value;
        } else if (name == "--size") {
            if (!ParseNumber(value, 64, 10000, size) || size != std::floor(size)) {
                error = "--size must be a whole number of pixels from 64 to 10000";
                ok = false;
            }
        } else {
            const auto comma = value.find(',');
            if (comma == std::string::npos ||
                !ParseNumber(value.substr(0, comma), -360, 360, view.azimuth) ||
                !ParseNumber(value.substr(comma + 1), -90, 90, view.elevation)) {
                error = "--view must be AZ,EL in degrees (azimuth -360..360, elevation -90..90)";
                ok = false;
            }
        }
    }
    if (ok && (part.empty() || (csv.empty() && png.empty()))) {
        error = "--part and at least one of --csv and --png are required";
        ok = false;
    }
    if (!ok) {
        std::cerr << error << "\n" << kPattern3DUsage;
        return 2;
    }

    LoadCatalogueFolder(folder);
    const auto cuts = LoadCuts("pattern3d", part);
    if (!cuts)
        return 1;
    const TPattern3D pattern = BuildPattern3D(*cuts, method);
    std::cerr << part << ": method " << MethodName(pattern.Method()) << "\n";

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
        const std::string title = part + "  (" + std::string(MethodName(pattern.Method())) + ")";
        outputs.emplace_back(png, PngBytes(Pattern3DImage(pattern, side, side, view, title)));
    }
    return WriteAll("pattern3d", outputs) ? 0 : 1;
}

int FootprintCommand(const std::vector<std::string>& argsIn)
{
    std::vector<std::string> args = argsIn;
    std::string folder, error;
    std::vector<std::pair<std::string, std::string>> options;
    std::vector<std::string> parts;
    std::string csv, png;
    TFootprintGeometry geometry;
    double azimuth = 0, radius = 2000;
    bool ok = TakeCatalogueOption(args, folder, error) &&
              TakeOptions(args,
                          {"--part", "--height", "--mechanical-tilt", "--azimuth", "--radius",
                           "--csv", "--png"},
                          options, error);
    for (const auto& [name, value] : options) {
        if (!ok)
            break;
        if (name == "--part") {
            parts.push_back(value);
        } else if (name == "--height") {
            if (!ParseNumber(value, 0, 100000, geometry.height) || geometry.height <= 0) {
                error = "--height must be a number of metres above zero";
                ok = false;
            }
        } else if (name == "--mechanical-tilt") {
            if (!ParseNumber(value, -90, 90, geometry.mechanicalTilt)) {
                error = "--mechanical-tilt must be a number of degrees from -90 to 90";
                ok = false;
            }
        } else if (name == "--azimuth") {
            if (!ParseNumber(value, -360, 360, azimuth)) {
                error = "--azimuth must be a number of degrees from -360 to 360";
                ok = false;
            }
        } else if (name == "--radius") {
            if (!ParseNumber(value, 0, 100000, radius) || radius <= 0) {
                error = "--radius must be a number of metres above zero";
                ok = false;
            }
        } else if (name == "--csv") {
            csv = value;
        } else {
            png = value;
        }
    }
    if (ok && parts.empty()) {
        error = "--part is required";
        ok = false;
    }
    if (ok && parts.size() > static_cast<std::size_t>(kMaxPlotTraces)) {
        error = "at most four --part options";
        ok = false;
    }
    if (!ok) {
        std::cerr << error << "\n" << kFootprintUsage;
        return 2;
    }

    LoadCatalogueFolder(folder);
    std::vector<TFootprintTrace> traces;
    std::optional<TPattern3D> first;
    const double bearing = azimuth < 0 ? azimuth + 360 : azimuth;
    for (const std::string& part : parts) {
        const auto cuts = LoadCuts("footprint", part);
        if (!cuts)
            return 1;
        TPattern3D pattern = BuildPattern3D(*cuts, T3DMethod::Auto);
        traces.push_back({part, FootprintAlong(pattern, geometry, bearing)});
        if (!first)
            first = std::move(pattern);
    }
    for (const TFootprintTrace& t : traces)
        std::cerr << t.name << ": maximum at " << Format("%.1f", {t.line.maximumDistance})
                  << " m\n";

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
        const std::string title = "Height " + FloatToStrGeneral(geometry.height) +
                                  " m, mechanical tilt " +
                                  FloatToStrGeneral(geometry.mechanicalTilt) + " deg";
        outputs.emplace_back(
            png, PngBytes(FootprintImage(traces, map, parts.front(), title, 1000, 560)));
    }
    if (outputs.empty())
        return 0;
    return WriteAll("footprint", outputs) ? 0 : 1;
}

} // namespace quv
