#include "export/formats/Granet.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"
#include "reference/PatternConventions.h"
#include "reference/ReaderSupport.h"

#include <cmath>
#include <string>
#include <vector>

namespace quv {

namespace {

// The vertical cut is turned by 90 degrees: its angle -90 is the front horizon.
double Vertical(double x)
{
    return 270 - x;
}

// Azimuth counted the other way round from the record's.
constexpr TAngleConvention kAngles[] = {conventions::kStoredAzimuth,
                                        {"elevation", Vertical, Vertical}};

int Detect(const TFormatProbe& probe)
{
    for (std::string_view line : probe.textLines) {
        const std::string lower = LowerCase(line.substr(0, 24));
        if (lower.starts_with("model_number") || lower.starts_with("unequal unsymmetrical"))
            return 600 + (probe.ExtensionIn(".pat") ? kExtensionScore : 0);
    }
    return 0;
}

void Read(TReaderBase& reader, TReaderBase*, TPatternFileData& data)
{
    TFilePattern pattern;
    pattern.azimuth.title = "horizontal cut";
    pattern.elevation.title = "vertical cut";
    TPatternCutPoints* open = nullptr;
    TAngleMap map = kAngles[0].toRecord;
    const auto& lines = reader.Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t lineNo = i + 1;
        const std::vector<std::string_view> words = Words(lines[i]);
        if (words.empty())
            continue;
        double number = 0;
        if (TryStrToFloat(words[0], number)) {
            if (!open)
                reader.FailAt(lineNo, "pattern data before the horizontal or vertical line");
            if (words.size() < 2)
                reader.FailAt(lineNo, "expected an angle and a level, found " + Quote(lines[i]));
            reader.AddPoint(*open, lineNo, words[0], words[1], map);
            continue;
        }
        const std::string key = LowerCase(words[0]);
        const std::string_view value = RestAfterWord(lines[i], words[0]);
        if (key == "horizontal" || key == "vertical") {
            open = key == "horizontal" ? &pattern.azimuth : &pattern.elevation;
            open->headerLine = lineNo;
            map = key == "horizontal" ? kAngles[0].toRecord : kAngles[1].toRecord;
        } else if (key == "model_number") {
            pattern.name = std::string(value);
        } else if (key == "manufacturer") {
            pattern.maker = std::string(value);
        } else if (key == "gain") {
            ReadStatedGain(reader, pattern, lineNo, value, TGainUnit::DBd);
        } else if (key == "h_beamwidth") {
            pattern.azimuthBeamwidth = StatedValue(value);
        } else if (key == "v_beamwidth") {
            pattern.elevationBeamwidth = StatedValue(value);
        } else if (key == "front_to_back") {
            pattern.frontToBack = StatedValue(value);
        } else if (key == "lobe_tilt") {
            pattern.tilt = StatedValue(value);
        } else if (key == "meas_freq") {
            pattern.measuredMHz = StatedValue(value);
        } else if (key == "description") {
            pattern.description = std::string(value);
        } else if (key == "polarization") {
            pattern.polarisation = std::string(value);
        } else if (key == "length") {
            pattern.lengthMetres = StatedValue(value).text;
        } else if (key == "wind_area") {
            const std::vector<std::string_view> w = Words(value);
            if (!w.empty())
                KeepText(pattern, "Flat Plate Area, sq.m (sq.ft)", w.front(), " ");
        }
    }
    if (pattern.azimuth.headerLine == 0 && pattern.elevation.headerLine == 0)
        reader.Fail("no pattern data found");
    if (pattern.azimuth.headerLine == 0)
        reader.Fail("no horizontal cut found");
    if (pattern.elevation.headerLine == 0)
        reader.Fail("no vertical cut found");
    reader.CloseCut(pattern.azimuth, -1);
    reader.CloseCut(pattern.elevation, -1);
    RemoveGain(pattern, pattern.gainDBd ? pattern.gainDBd : pattern.gainDBi);
    reader.NameFromFile(pattern);
    data.patterns.push_back(std::move(pattern));
}

std::string LobeTilt(const TQuvFile& record)
{
    double tilt = 0;
    if (!TryStrToFloat(record.ElectricalDowntilt, tilt))
        return {};
    return Format("%1.1f", {tilt}) + " degrees";
}

// The square metres before the first blank of "m2 (ft2)"; a value without a blank gives no number.
std::string WindArea(const TQuvFile& record)
{
    const std::string& area = record.FlatPlateArea;
    if (area.empty())
        return {};
    const auto blank = area.find(' ');
    return (blank == std::string::npos ? std::string() : area.substr(0, blank)) + " square meters";
}

// One cut from -180 to 179 degrees; `at` maps the angle to the record's level text.
template <typename LevelAt>
void AddGranetCut(TTextBuilder& text, std::string_view title, const TLevelBase& gain, LevelAt at)
{
    text.Line(title);
    text.Line("unequal unsymmetrical");
    static const std::vector<std::string> angles = [] {
        std::vector<std::string> texts;
        for (int t = -180; t < 180; ++t)
            texts.push_back(Format("%d ", {t}));
        return texts;
    }();
    std::string line;
    for (int t = -180; t < 180; ++t) {
        line = angles[static_cast<std::size_t>(t + 180)];
        AppendLevelSum(line, gain, at(t), 3);
        text.Line(line);
    }
}

} // namespace

std::string BuildGranet(const std::string&, const TQuvFile& record, const TExportDate& today)
{
    TTextBuilder text;
    text.Reserve(741 * 12 + 512 + record.Description.size());
    text.Line("model_number " + record.PartNumber);
    text.Line("manufacturer Tavrin Corporation");
    const TLevelBase gain = LevelBase(record.GainDBd);
    text.Line("gain " + Format("%1.1f", {gain.value}) + " dBd");
    text.Line("h_beamwidth " + Format("%1.1f", {StrToFloat(record.AzimuthBeamwidth)}) + " degrees");
    text.Line("v_beamwidth " + Format("%1.1f", {StrToFloat(record.ElevationBeamwidth)}) +
              " degrees");
    text.Line("front_to_back " + Format("%.2f", {std::fabs(record.FrontToBackValue())}) + " dB");
    text.Line("length " + Format("%1.2f", {record.LengthValue() * 0.001}) + " meters");
    text.Line("lobe_tilt " + LobeTilt(record));
    text.Line("wind_area " + WindArea(record));
    text.Line("source 1");
    text.Line("date " + FormatExportDate(today, "mm/dd/yyyy"));
    text.Line("meas_freq " + Format("%1.2f", {StrToFloat(record.MeasuredFrequency)}) + " MHz");
    text.Line("description " + record.Description);
    text.Line("polarization " + record.PolarizationType);
    const bool omni = LowerCase(TrimControl(record.AntennaType)) == "omni";
    text.Line(omni ? "omnidirectional" : "sectored");
    text.Line("");
    AddGranetCut(text, "horizontal", gain,
                 [&](int t) { return conventions::AzimuthLevel(record, kAngles[0], t); });
    text.Line("");
    AddGranetCut(text, "vertical", gain,
                 [&](int t) { return conventions::ElevationLevel(record, kAngles[1], t); });
    return text.Take();
}

void ExportGranet(const std::string& path, const TQuvFile& record, TExportRun& run)
{
    run.Commit({{ChangeFileExt(path, ".pat"), BuildGranet(path, record, run.today)}});
}

const TFileFormat kGranetFormat{
    {"<b>GRANET</b> format - GTE Laboratories, Inc.", "Granet", ".pat", &ExportGranet},
    ".pat",
    "granet",
    &Detect,
    &Read,
    kAngles,
    TLevelConvention::GainPlusLevel};

} // namespace quv
