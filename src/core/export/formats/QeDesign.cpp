#include "export/formats/QeDesign.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"
#include "reference/PatternConventions.h"
#include "reference/ReaderSupport.h"

#include <cmath>

namespace quv {

namespace {

// The vertical cut counts its angles up from the horizon.
constexpr TAngleConvention kAngles[] = {conventions::kSameAzimuth,
                                        conventions::kElevationAboveHorizon};

// The cut line only this layout writes; the gain line's unit tells the two names apart, and a
// file that names no unit is the dBd one's, as its reader takes such a gain in dBd.
int Score(const TFormatProbe& probe, bool wantDBi)
{
    bool pattern = false, dbi = false;
    for (std::string_view line : probe.textLines) {
        pattern = pattern || line.find("## Horizontal Radiation Pattern") != std::string_view::npos;
        dbi = dbi || line.find("## maximum antenna gain (dBi)") != std::string_view::npos;
    }
    if (!pattern)
        return 0;
    return 700 + (dbi == wantDBi ? 50 : 0) + (probe.ExtensionIn(".txt") ? kExtensionScore : 0);
}

int DetectQeDesign(const TFormatProbe& probe)
{
    return Score(probe, false);
}

int DetectCdma(const TFormatProbe& probe)
{
    return Score(probe, true);
}

void Read(TReaderBase& reader, TReaderBase*, TPatternFileData& data)
{
    TFilePattern pattern;
    pattern.azimuth.title = "Horizontal Radiation Pattern";
    pattern.elevation.title = "Vertical Radiation Pattern";
    TPatternCutPoints* open = nullptr;
    TAngleMap map = kAngles[0].toRecord;
    const auto& lines = reader.Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t lineNo = i + 1;
        const std::string_view line = TrimControl(lines[i]);
        if (line.empty())
            continue;
        const std::size_t hash = line.find("##");
        if (hash == std::string_view::npos) {
            if (!open)
                reader.FailAt(lineNo, "pattern data before a radiation pattern line");
            const std::vector<std::string_view> c = Columns(line);
            if (c.size() < 2)
                reader.FailAt(lineNo, "expected an angle and a level, found " + Quote(line));
            reader.AddPoint(*open, lineNo, c[0], c[1], map);
            continue;
        }
        const std::string comment = LowerCase(line.substr(hash));
        const std::string_view value = TrimControl(line.substr(0, hash));
        if (comment.find("horizontal radiation pattern") != std::string::npos) {
            open = &pattern.azimuth;
            open->headerLine = lineNo;
            map = kAngles[0].toRecord;
        } else if (comment.find("vertical radiation pattern") != std::string::npos) {
            open = &pattern.elevation;
            open->headerLine = lineNo;
            map = kAngles[1].toRecord;
        } else if (comment.find("manufacturer") != std::string::npos) {
            pattern.maker = std::string(value);
        } else if (comment.find("model") != std::string::npos) {
            pattern.name = std::string(value);
        } else if (comment.find("gain") != std::string::npos) {
            if (comment.find("dbi") != std::string::npos)
                pattern.gainDBi = StatedValue(value);
            else
                SetGainDBd(pattern, StatedValue(value));
        } else if (comment.find("horizontal beamwidth") != std::string::npos) {
            pattern.azimuthBeamwidth = StatedValue(value);
        } else if (comment.find("vertical beamwidth") != std::string::npos) {
            pattern.elevationBeamwidth = StatedValue(value);
        } else if (comment.find("front-to-back") != std::string::npos) {
            pattern.frontToBack = StatedValue(value);
        } else if (comment.find("minimum operating frequency") != std::string::npos) {
            pattern.lowMHz = StatedValue(value);
        } else if (comment.find("maximum operating frequency") != std::string::npos) {
            pattern.highMHz = StatedValue(value);
        } else if (comment.find("polarization") != std::string::npos) {
            pattern.polarisation = std::string(value);
        } else if (comment.find("downtilt") != std::string::npos) {
            pattern.tilt = StatedValue(value);
        } else if (comment.find("maximum input power") != std::string::npos) {
            KeepText(pattern, "Max Input Power, watts", value);
        } else if (comment.find("input impedance") != std::string::npos) {
            KeepText(pattern, "Impedance, ohms", value);
        } else if (comment.find("voltage standing wave ratio") != std::string::npos) {
            // "1.30:1" is the ratio the return loss text carries in brackets.
            if (!value.empty())
                KeepText(pattern, "Return Loss, dB (VSWR)",
                         "(<" + std::string(value.substr(0, value.find(':'))) + ")");
        } else if (comment.find("weight (kg)") != std::string::npos) {
            KeepText(pattern, "Antenna Weight, kg (lb)", value, " ");
        } else if (comment.find("wind area") != std::string::npos) {
            KeepText(pattern, "Flat Plate Area, sq.m (sq.ft)", value, " ");
        } else if (comment.find("max wind speed") != std::string::npos) {
            KeepText(pattern, "Survival Wind Speed, km/h (mph)", value, " ");
        } else if (comment.find("lightning protection") != std::string::npos) {
            KeepText(pattern, "Lightning Protection", value);
        } else if (comment.find("connector type") != std::string::npos) {
            KeepText(pattern, "Connector Type", value);
        } else if (comment.find("radome type") != std::string::npos) {
            KeepText(pattern, "Radome Material", value);
        } else if (comment.find("height (cm)") != std::string::npos) {
            if (const TStated cm = StatedValue(value))
                pattern.lengthMetres = FloatToStrGeneral(*cm / 100);
        }
    }
    if (!pattern.azimuth.headerLine && !pattern.elevation.headerLine)
        reader.Fail("no pattern data found");
    if (!pattern.azimuth.headerLine)
        reader.Fail("no horizontal radiation pattern found");
    if (!pattern.elevation.headerLine)
        reader.Fail("no vertical radiation pattern found");
    reader.CloseCut(pattern.azimuth, -1);
    reader.CloseCut(pattern.elevation, -1);
    reader.NameFromFile(pattern);
    data.patterns.push_back(std::move(pattern));
}

// "12.5 (27.6)" gives "12.5 ": the metric value with the blank that ends it; nothing without one.
std::string UpToFirstBlank(const std::string& text)
{
    const auto blank = text.find(' ');
    return blank == std::string::npos ? std::string() : text.substr(0, blank + 1);
}

std::string WindAreaText(const std::string& flatPlateArea)
{
    const std::string cut = UpToFirstBlank(flatPlateArea);
    double area = 0;
    if (!TryStrToFloat(cut, area))
        return cut;
    return Format("%1.2f", {area});
}

void AddSpec(TTextBuilder& text, std::string_view value, std::string_view comment)
{
    std::string line(value);
    line += '\t';
    line += comment;
    text.Line(line);
}

// The QEDesign file; CDMA writes the same file with its gain in dBi.
std::string QeDesignFile(const TQuvFile& record, std::string_view gain,
                         std::string_view gainComment)
{
    TTextBuilder text;
    text.Reserve(746 * 14 + 1024);
    AddSpec(text, kMakerName, "## manufacturer (REQ)");
    AddSpec(text, record.PartNumber, "## model (REQ)");
    AddSpec(text, gain, gainComment);
    AddSpec(text, record.AzimuthBeamwidth, "## horizontal beamwidth (deg) (REQ)");
    AddSpec(text, record.ElevationBeamwidth, "## vertical beamwidth (deg) (REQ)");
    AddSpec(text, Format("%.2f", {std::fabs(record.FrontToBackValue())}),
            "## front-to-back ratio (dB) (OPT)");
    AddSpec(text, record.BeginSubFrequency, "## minimum operating frequency (MHz) (REQ)");
    AddSpec(text, record.EndSubFrequency, "## maximum operating frequency (MHz) (REQ)");
    AddSpec(text, record.MaxInputPower, "## maximum input power (W) (OPT)");
    AddSpec(text, record.Impedance, "## input impedance (Ohms) (OPT)");
    AddSpec(text, VswrRatio(record, "%4.2f:1"), "## voltage standing wave ratio (OPT)");
    AddSpec(text, UpToFirstBlank(record.AntennaWeight), "## weight (kg) (OPT)");
    AddSpec(text, WindAreaText(record.FlatPlateArea), "## wind area (sq m) (OPT)");
    AddSpec(text, UpToFirstBlank(record.SurvivalWindSpeed), "## max wind speed (kph) (OPT)");
    AddSpec(text, record.PolarizationType, "## polarization (OPT)");
    AddSpec(text, IsNumber(record.ElectricalDowntilt) ? record.ElectricalDowntilt : std::string(),
            "## downtilt (OPT)");
    AddSpec(text, record.LightningProtection, "## lightning protection (OPT)");
    AddSpec(text, record.ConnectorType, "## connector type (OPT)");
    AddSpec(text, FloatToStrGeneral(record.LengthValue() * 0.1), "## height (cm) (OPT)");
    AddSpec(text, "", "## width (cm) (OPT)");
    AddSpec(text, "", "## depth (cm) (OPT)");
    AddSpec(text, record.RadomeMaterial, "## radome type (OPT)");

    text.Line("");
    text.Line("## Horizontal Radiation Pattern ##");
    std::string line;
    for (int a = 0; a < 360; ++a)
        AddAnglePoint(text, line, a, ".00\t", conventions::AzimuthLevel(record, kAngles[0], a), 2);
    text.Line("");
    // -179 up to 180, each angle carrying the level the data file holds for it.
    text.Line("## Vertical Radiation Pattern ##");
    for (int x = -179; x <= 180; ++x)
        AddAnglePoint(text, line, x, ".00\t", conventions::ElevationLevel(record, kAngles[1], x),
                      2);
    return text.Take();
}

} // namespace

std::string BuildQeDesign(const std::string&, const TQuvFile& record)
{
    return QeDesignFile(record, record.GainDBd, "## maximum antenna gain (dBd) (REQ)");
}

void ExportQeDesign(const std::string& path, const TQuvFile& record, TExportRun& run)
{
    run.Commit({{ChangeFileExt(path, ".txt"), BuildQeDesign(path, record)}});
}

std::string BuildCdma(const std::string&, const TQuvFile& record)
{
    return QeDesignFile(record, record.GainDBi, "## maximum antenna gain (dBi) (REQ)");
}

void ExportCdma(const std::string& path, const TQuvFile& record, TExportRun& run)
{
    run.Commit({{ChangeFileExt(path, ".txt"), BuildCdma(path, record)}});
}

const TFileFormat kQeDesignFormat{{"<b>QEDesign</b> format", "QEDesign", ".txt", &ExportQeDesign},
                                  ".txt",
                                  "qedesign",
                                  &DetectQeDesign,
                                  &Read,
                                  kAngles,
                                  TLevelConvention::RelativeLevel};

const TFileFormat kCdmaFormat{{"<b>CDMA</b> format", "CDMA", ".txt", &ExportCdma},
                              ".txt",
                              "qedesign",
                              &DetectCdma,
                              &Read,
                              kAngles,
                              TLevelConvention::RelativeLevel};

} // namespace quv
