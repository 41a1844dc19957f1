#include "PlotCommand.h"

#include "CliCommon.h"
#include "catalogue/Errors.h"
#include "catalogue/NumberText.h"
#include "catalogue/QuvLib.h"
#include "plot/PolarPlotLib.h"
#include "reference/PatternFile.h"

#include <QSaveFile>
#include <QString>

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <optional>

namespace quv {

namespace {

constexpr const char* kUsage =
    "usage: quvtool plot [--catalogue DIR] --part P [--part P ...] --cut azimuth|elevation\n"
    "                    [--file NAME ...] [--field] [--size PIXELS] [--rotate A1,A2,...]\n"
    "                    [--reference FILE] --out FILE.png\n"
    "  P: a part number, or the list's text of a record that shares one;\n"
    "  NAME: a data file's name in the catalogue folder, for one record of a shared part number\n";

struct TPlotOptions {
    std::vector<std::pair<bool, std::string>> parts; // (a file name?, the text), in order
    TPatternCutKind cut = TPatternCutKind::Azimuth;
    bool cutGiven = false;
    bool field = false;
    int size = 400;
    TRotationAngles rotation = kNoRotation;
    std::string out;
    std::string reference; // another maker's pattern file drawn over the antennas
};

bool ParseInteger(const std::string& text, int low, int high, int& value)
{
    double v = 0;
    if (!TryStrToFloat(text, v) || v != std::floor(v) || v < low || v > high)
        return false;
    value = static_cast<int>(v);
    return true;
}

bool ParseRotation(const std::string& text, TRotationAngles& rotation, std::string& error)
{
    std::size_t start = 0;
    std::size_t k = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string item =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (k >= rotation.size()) {
            error = "--rotate takes at most four angles";
            return false;
        }
        if (!ParseInteger(item, -360, 360, rotation[k])) {
            error = "--rotate: '" + item + "' is not a whole number of degrees from -360 to 360";
            return false;
        }
        ++k;
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}

bool ReadOptions(const TCommandOptions& options, TPlotOptions& o, std::string& error)
{
    o.field = options.IsSet("field");
    for (const auto& given : options.Given()) {
        if (given.values.empty())
            continue;
        const std::string& v = given.values.front();
        const std::string& a = given.name;
        if (a == "part" || a == "file") {
            o.parts.emplace_back(a == "file", v);
        } else if (a == "cut") {
            if (v == "azimuth")
                o.cut = TPatternCutKind::Azimuth;
            else if (v == "elevation")
                o.cut = TPatternCutKind::Elevation;
            else {
                error = "--cut must be azimuth or elevation";
                return false;
            }
            o.cutGiven = true;
        } else if (a == "size") {
            if (!ParseInteger(v, 16, 10000, o.size)) {
                error = "--size must be a whole number of pixels from 16 to 10000";
                return false;
            }
        } else if (a == "rotate") {
            if (!ParseRotation(v, o.rotation, error))
                return false;
        } else if (a == "reference") {
            o.reference = v;
        } else if (a == "out") {
            o.out = v;
        }
    }
    if ((o.parts.empty() && o.reference.empty()) || !o.cutGiven || o.out.empty()) {
        error = "--part (or --reference), --cut and --out are required";
        return false;
    }
    if (o.parts.size() > static_cast<std::size_t>(kMaxPlotTraces)) {
        error = "at most four --part options";
        return false;
    }
    return true;
}

} // namespace

int PlotCommand(const std::vector<std::string>& args)
{
    const std::vector<TOptionSpec> specs = JoinSpecs(
        {{CatalogueOptionSpec()},
         PartOptionSpecs("to draw; up to four in all, drawn blue, red, green and fuchsia in the "
                         "order given"),
         {{"cut", 1, "azimuth|elevation", "the pattern cut drawn"},
          {"field", 0, "", "draw relative field; without it, relative power in dB"},
          {"size", 1, "PIXELS", "side of the square picture in pixels, 16 to 10000 (default 400)"},
          {"rotate", 1, "A1,A2,...",
           "turn each antenna's azimuth trace by a whole number of degrees, -360 to 360, in the "
           "order of the antennas (default 0)"},
          {"reference", 1, "FILE",
           "another maker's pattern file (as xref reads it) drawn over the antennas as a dashed "
           "dark-grey trace"},
          {"out", 1, "FILE.png", "the PNG file written"}}});
    TCommandOptions parsed(
        "plot", kUsage, specs,
        "quvtool plot --part TD1965-17 --part TO19-8 --cut azimuth --out az.png");
    if (const auto exit = parsed.Parse(args))
        return *exit;
    const std::string folder = CatalogueFolder(parsed);
    std::string error;
    TPlotOptions options;
    if (!ReadOptions(parsed, options, error))
        return parsed.Fail(error);

    std::optional<TReferencePattern> reference;
    if (!options.reference.empty()) {
        try {
            reference = ReadPatternFile(options.reference);
        } catch (const EQuvError& e) {
            std::cerr << "quvtool plot: " << e.what() << "\n";
            return 1;
        }
    }

    TCatalogue catalogue;
    catalogue.LoadFolder(folder);
    TQuvFileList antennas;
    for (const auto& [isFile, text] : options.parts) {
        const TPartPick pick =
            isFile ? TPartPick{PickFile(catalogue, text), {}} : PickPart(catalogue, text);
        TQuvFile* record = pick.record;
        if (!record) {
            std::cerr << "quvtool plot: " << (isFile ? "no data file " : "unknown part number ")
                      << text << (isFile ? " in the catalogue" : "") << "\n";
            return 1;
        }
        if (!pick.note.empty())
            std::cerr << "quvtool plot: " << pick.note << "\n";
        const std::string& part = record->PartNumber;
        const TPatternCut& cut =
            options.cut == TPatternCutKind::Azimuth ? record->Azimuth : record->Elevation;
        for (std::size_t i = 0; i < cut.size(); ++i) {
            if (!IsNumber(cut[i])) {
                std::cerr << "quvtool plot: part number " << part << ": "
                          << EConvertError::NotAFloat(cut[i]).what() << "\n";
                return 1;
            }
        }
        antennas.Add(part, record);
    }

    EnsureGuiApplication();
    const QImage image =
        PlotBoxImage(options.size, options.size, antennas,
                     options.field ? TPlotType::RelativeField : TPlotType::RelativePower,
                     options.cut, options.rotation, reference ? &*reference : nullptr);
    // Written whole or not at all: an existing file survives a failed write.
    QSaveFile file(QString::fromLocal8Bit(options.out.c_str()));
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        std::cerr << "quvtool plot: cannot write " << options.out << "\n";
        return 1;
    }
    return 0;
}

} // namespace quv
