#include "export/formats/Wizard.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"
#include "export/formats/PipeTables.h"

#include <string>

namespace quv {

namespace {

// Every " degree" (any letter case) becomes the degree sign; then at most 70 characters.
std::string WizardDescription(std::string_view description)
{
    constexpr std::string_view word = " degree";
    std::string out;
    std::size_t i = 0;
    while (i < description.size()) {
        if (description.size() - i >= word.size() &&
            LowerCase(description.substr(i, word.size())) == word) {
            out += '\xB0';
            i += word.size();
        } else {
            out += description[i++];
        }
    }
    if (out.size() > 70)
        out.resize(70);
    return out;
}

// The layout's tables and a gain line of its own.
int Detect(const TFormatProbe& probe)
{
    const TPipeSigns signs = PipeSigns(probe);
    if (!signs.tables)
        return 0;
    return kPipeScore + (signs.maxGain ? 50 : 0) +
           (probe.ExtensionIn(".apf") ? kExtensionScore : 0);
}

} // namespace

std::string BuildWizard(const std::string& path, const TQuvFile& record, const TExportDate& today)
{
    const std::string date = FormatExportDate(today, "yyyy-mm-dd");
    TTextBuilder text;
    text.Reserve(454 * 14 + 512);
    text.Line("A|TECC|NONTECC|1.00|" + date + "|APF|1.00|Tavrin|");
    text.Line("|MFR|Tavrin Corporation|");
    text.Line("|MODEL|" + record.PartNumber + "|");
    text.Line("|FILE|" + TargetBaseName(path) + "|");
    text.Line("|DESC|" + WizardDescription(record.Description) + "|");
    text.Line("|FCC ID|none|");
    // Millimetres to feet.
    text.Line("|LENGTH|" + Format("%1.1f", {record.LengthValue() * 0.03937 / 12}) + "|");
    text.Line("|DATE|" + date + "|");
    text.Line("|MFR ID|none|");
    text.Line("|FREQ|" + record.MeasuredFrequency + " MHz|");
    const bool horizontal = LowerCase(record.PolarizationType).find("hor") != std::string::npos;
    text.Line(horizontal ? "|POLARIZATION|Horizontal|" : "|POLARIZATION|Vertical|");
    text.Line("|HBEAM|" + record.AzimuthBeamwidth + "|");
    text.Line("|VBEAM|" + record.ElevationBeamwidth + "|");
    text.Line("|MAXGAIN|" + record.GainDBd + "|");
    text.Line("|MINGAIN||");
    const TLevelBase gain = LevelBase(record.GainDBd);
    // The azimuth cut is taken at the horizon, so it carries the elevation level there.
    const TLevelBase horizonGain = AddLevel(gain, record.ElevationAt(0));
    AddPipeLevelTables(text, record, horizonGain, gain, true);
    return text.Take();
}

void ExportWizard(const std::string& path, const TQuvFile& record, TExportRun& run)
{
    run.Commit({{ChangeFileExt(path, ".apf"), BuildWizard(path, record, run.today)}});
}

const TFileFormat kWizardFormat{{"<b>WIZARD</b> format - Agilent", "Wizard", ".apf", &ExportWizard},
                                ".apf",
                                "pipe",
                                &Detect,
                                &ReadPipeTables,
                                kPipeAngles,
                                TLevelConvention::GainPlusLevel};

} // namespace quv
