#include "export/formats/Ce4.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"
#include "export/formats/PipeTables.h"

#include <string>

namespace quv {

std::string BuildCe4(const std::string& path, const TQuvFile& record, const TExportDate& today)
{
    TTextBuilder text;
    text.Reserve(451 * 14 + 512);
    text.Line("|MANUF|" + record.Make + "|");
    text.Line("|MODEL|" + record.PartNumber + "|");
    // The name has no extension, so the CE4 and PDF files of one target are the same bytes.
    text.Line("|FILE|" + TargetBaseName(path) + "|");
    text.Line("|DESCR|" + record.Description + "|");
    text.Line("|FCC ID|Null|");
    text.Line("|REVERSE ID|Null|");
    text.Line("|DATE|" + FormatExportDate(today, "yyyy-mm-dd") + "|");
    text.Line("|MFR ID|Null|");
    text.Line("|FREQ|" + record.BeginSubFrequency + "-" + record.EndSubFrequency + " MHz|");
    text.Line("|DBD/DBI Flag|dBd|");
    text.Line("|POLARIZATION|" + record.PolarizationType + "|");
    text.Line("|HORIZ BEAM WIDTH|" + record.AzimuthBeamwidth + "|");
    text.Line("|VERT BEAM WIDTH|" + record.ElevationBeamwidth + "|");
    const std::string& tilt = record.ElectricalDowntilt;
    text.Line("|HORIZ OFFSET|" + (IsNumber(tilt) ? tilt : std::string()) + "|");
    const TLevelBase gain = LevelBase(record.GainDBd);
    AddPipeLevelTables(text, record, gain, gain, false);
    return text.Take();
}

namespace {

// The layout's tables without a gain line of their own; the extension tells the two names apart.
int Score(const TFormatProbe& probe, std::string_view extension)
{
    const TPipeSigns signs = PipeSigns(probe);
    if (!signs.tables)
        return 0;
    return kPipeScore + (signs.maxGain ? 0 : 20) +
           (probe.ExtensionIn(extension) ? kExtensionScore : 0);
}

int DetectCe4(const TFormatProbe& probe)
{
    return Score(probe, ".ce4");
}

int DetectPdf(const TFormatProbe& probe)
{
    return Score(probe, ".pdf");
}

void CommitCe4(const std::string& path, const TQuvFile& record, std::string_view extension,
               TExportRun& run)
{
    run.Commit({{ChangeFileExt(path, extension), BuildCe4(path, record, run.today)}});
}

} // namespace

void ExportCe4(const std::string& path, const TQuvFile& record, TExportRun& run)
{
    CommitCe4(path, record, ".ce4", run);
}

void ExportPdf(const std::string& path, const TQuvFile& record, TExportRun& run)
{
    CommitCe4(path, record, ".pdf", run);
}

const TFileFormat kCe4Format{{"<b>CE4</b> format - Lucent RF Tools", "CE4", ".ce4", &ExportCe4},
                             ".ce4",
                             "pipe",
                             &DetectCe4,
                             &ReadPipeTables,
                             kPipeAngles,
                             TLevelConvention::GainPlusLevel};

const TFileFormat kPdfFormat{{"<b>PDF</b> format - Lucent RF Tools", "PDF", ".pdf", &ExportPdf},
                             ".pdf",
                             "pipe",
                             &DetectPdf,
                             &ReadPipeTables,
                             kPipeAngles,
                             TLevelConvention::GainPlusLevel};

} // namespace quv
