#include "export/formats/Formats.h"

#include "catalogue/NumberText.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"

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

void CommitCe4(const std::string& path, const TQuvFile& record, std::string_view extension)
{
    CommitFile(ChangeFileExt(path, extension), BuildCe4(path, record, ExportToday()));
}

} // namespace

void ExportCe4(const std::string& path, const TQuvFile& record)
{
    CommitCe4(path, record, ".ce4");
}

void ExportPdf(const std::string& path, const TQuvFile& record)
{
    CommitCe4(path, record, ".pdf");
}

} // namespace quv
