#include "export/formats/Formats.h"

#include "catalogue/NumberText.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"

#include <cmath>

namespace quv {

namespace {

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
    AddSpec(text, nsma::Vswr(record, "%4.2f:1"), "## voltage standing wave ratio (OPT)");
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
        AddAnglePoint(text, line, a, ".00\t", record.AzimuthAt(a), 2);
    text.Line("");
    // -179 up to 180, each angle carrying the level the data file holds for it.
    text.Line("## Vertical Radiation Pattern ##");
    for (int n = 179; n >= 0; --n)
        AddAnglePoint(text, line, -n, ".00\t", record.ElevationAt(n), 2);
    for (int n = 359; n >= 180; --n)
        AddAnglePoint(text, line, 360 - n, ".00\t", record.ElevationAt(n), 2);
    return text.Take();
}

} // namespace

std::string BuildQeDesign(const std::string&, const TQuvFile& record)
{
    return QeDesignFile(record, record.GainDBd, "## maximum antenna gain (dBd) (REQ)");
}

void ExportQeDesign(const std::string& path, const TQuvFile& record)
{
    CommitFile(ChangeFileExt(path, ".txt"), BuildQeDesign(path, record));
}

std::string BuildCdma(const std::string&, const TQuvFile& record)
{
    return QeDesignFile(record, record.GainDBi, "## maximum antenna gain (dBi) (REQ)");
}

void ExportCdma(const std::string& path, const TQuvFile& record)
{
    CommitFile(ChangeFileExt(path, ".txt"), BuildCdma(path, record));
}

} // namespace quv
