#include "export/Summary.h"

#include "catalogue/NumberText.h"
#include "catalogue/TextFile.h"

#include <initializer_list>
#include <string_view>

namespace quv {

namespace {

// The header texts are kept exactly as the files have always carried them, odd blanks included:
// readers of these files match columns by these names.
constexpr std::string_view kQuvShortHeader =
    "BegFreq|EndFreq|PartNum|PatFile|Gain_dBd|Gain_dBi|Az_BW|El_BW|Polarization|Intermodulation|"
    "Downtilt_Deg|Impedance|RL_VSWR|FtoB|InputPower|LightningProtection|Connector|Dimensions|"
    "FP_Area|Weight|RadomeMat|RadomeColor|WindSpeed|WindLoadFront|OmniWindLoad|WindLoadLateral|"
    "WindLoadBack|BendMoment|TempRange|Humidity|TiltMount|WallMount|OmniMount|FreqRange|"
    "Description|AntennaType";

constexpr std::string_view kQuvLongHeader =
    "Beginning Frequency (MHz)|Ending Frequency (MHz)|Part Number|Pattern File|Gain (dBd)|"
    "Gain (dBi)|Azimuth Beamwidth (deg)|Elevation Beamwidth (deg)|Polarization Type|"
    "Intermodulation|Downtilt (deg)|Impedance (ohms)|Return Loss, dB (VSWR)|"
    "Front to Back Ratio (dB)|Maximum Input Power (watts)|Lightning Protection|"
    "Input Connector Type|Dimensions, L x W x D,  mm (in)|Flat Plate Area, sq.m (sq.ft)|"
    "Weight, kg (lb)|Radome Material|Radome Color|Survival Wind Speed, km/h (mph)|"
    "Wind Load, Frontal, N (lbf)|Omni Wind Load, N (lbf)|Wind Load, Lateral, N (lbf)|"
    "Wind Load, Back, N (lbf) |Bending Moment, Nm (ft-lb)|Temperature Range, C|Humidity, %|"
    "Tilt Mount P/N|Wall Mount P/N|Omni Mount P/N|Frequency Range|Description|Antenna Type";

constexpr std::string_view kAntennaHeader =
    "Beginning Frequency (MHz)|Ending Frequency (MHz)|Part Number|Graphic File|"
    "Short Description|Azimuth Pattern File|Elevation Pattern File|Gain (dBi)|Gain (dBd)|"
    "Azimuth Beamwidth (deg)|Polarization Type|Intermodulation|Downtilt (deg)|Impedance (ohms)|"
    "Return Loss, dB (VSWR)|Front to Back Ratio (dB)|Maximum Input Power (watts)|"
    "Lightning Protection|Input Connector Type|Dimensions, L x W x D, mm (in)|Weight, kg (lb)|"
    "Radome Material|Radome Color|Survival Wind Speed, km/h (mph)|Wind Load, Frontal, N (lbf)|"
    "Wind Load, Lateral, N (lbf)|Wind Load, Back, N (lbf)|Temperature Range, C|Humidity|"
    "Traditional Weatherproofing Kit|Cold Shrink Weatherproofing Kit 3/8 & 1/2|"
    "Cold Shrink Weatherproofing Kit 5/8|Cold Shrink Weatherproofing Kit 7/8|"
    "Tilt Mount Part Number|Wall Mount Part Number|Omni Mount Part Number|Microsite Mount|"
    "Connector type|Pattern Type|Polarization";

// The weatherproofing kit that goes with every antenna.
constexpr std::string_view kWeatherproofingKit = "508347";

std::string Join(std::initializer_list<std::string_view> fields)
{
    std::string row;
    bool first = true;
    for (std::string_view f : fields) {
        if (!first)
            row += '|';
        row.append(f);
        first = false;
    }
    return row;
}

std::string QuvRow(const TQuvFile& r)
{
    const std::string patternFile = r.PartNumber + "_" + r.PatternFileName;
    const std::string range = r.BeginFrequency + "-" + r.EndFrequency;
    return Join({r.BeginFrequency,
                 r.EndFrequency,
                 r.PartNumber,
                 patternFile,
                 r.GainDBd,
                 r.GainDBi,
                 r.AzimuthBeamwidth,
                 r.ElevationBeamwidth,
                 r.PolarizationType,
                 r.Intermodulation,
                 r.ElectricalDowntilt,
                 r.Impedance,
                 r.ReturnLoss,
                 r.FrontToBackRatio,
                 r.MaxInputPower,
                 r.LightningProtection,
                 r.ConnectorType,
                 r.Dimensions,
                 r.FlatPlateArea,
                 r.AntennaWeight,
                 r.RadomeMaterial,
                 r.RadomeColor,
                 r.SurvivalWindSpeed,
                 r.WindLoadFrontal,
                 "",
                 r.WindLoadLateral,
                 r.WindLoadRear,
                 "",
                 r.TemperatureRange,
                 r.Humidity,
                 "",
                 "",
                 "",
                 range,
                 r.Description,
                 r.AntennaType});
}

std::string AntennaRow(const TQuvFile& r)
{
    const bool omni = IsOmni(r.AntennaType);
    const std::string_view none;
    return Join({r.BeginFrequency,
                 r.EndFrequency,
                 r.PartNumber,
                 none,
                 r.Description,
                 none,
                 none,
                 r.GainDBi,
                 r.GainDBd,
                 r.AzimuthBeamwidth,
                 r.PolarizationType,
                 r.Intermodulation,
                 r.ElectricalDowntilt,
                 r.Impedance,
                 r.ReturnLoss,
                 r.FrontToBackRatio,
                 r.MaxInputPower,
                 r.LightningProtection,
                 r.ConnectorType,
                 r.Dimensions,
                 r.AntennaWeight,
                 r.RadomeMaterial,
                 r.RadomeColor,
                 r.SurvivalWindSpeed,
                 r.WindLoadFrontal,
                 r.WindLoadLateral,
                 r.WindLoadRear,
                 r.TemperatureRange,
                 r.Humidity,
                 kWeatherproofingKit,
                 none,
                 none,
                 none,
                 omni ? none : std::string_view(r.MountPartNumber),
                 none,
                 omni ? std::string_view(r.MountPartNumber) : none,
                 none,
                 TextContains("DIN", r.ConnectorType) ? "1" : "0",
                 omni ? "0" : "1",
                 TextContains("SLANT", r.PolarizationType) ? "1" : "0"});
}

} // namespace

std::string BuildSummary(TSummaryLayout layout, const TQuvFileList& records)
{
    TTextBuilder text;
    text.Reserve(static_cast<std::size_t>(records.Count() + 2) * 512);
    if (layout == TSummaryLayout::QuvDat) {
        text.Line(kQuvShortHeader);
        text.Line(kQuvLongHeader);
    } else {
        text.Line(kAntennaHeader);
    }
    for (const auto& item : records) {
        if (!item.object)
            continue;
        text.Line(layout == TSummaryLayout::QuvDat ? QuvRow(*item.object)
                                                   : AntennaRow(*item.object));
    }
    return text.Take();
}

void CreateSummaryFile(TSummaryLayout layout, const TQuvFileList& records, const std::string& path)
{
    CommitFileDurably(path, BuildSummary(layout, records));
}

} // namespace quv
