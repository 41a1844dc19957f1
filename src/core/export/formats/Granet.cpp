#include "export/formats/Formats.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"

#include <cmath>
#include <string>
#include <vector>

namespace quv {

namespace {

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
    // Angles count the other way round from the record's accessors: t reads AzimuthAt(-t).
    AddGranetCut(text, "horizontal", gain,
                 [&](int t) { return record.AzimuthAt(t <= 0 ? -t : 360 - t); });
    text.Line("");
    // The vertical cut is turned by 90 degrees: t = -90 holds the level at the horizon.
    AddGranetCut(text, "vertical", gain,
                 [&](int t) { return record.ElevationAt((270 - t) % 360); });
    return text.Take();
}

void ExportGranet(const std::string& path, const TQuvFile& record)
{
    CommitFile(ChangeFileExt(path, ".pat"), BuildGranet(path, record, ExportToday()));
}

} // namespace quv
