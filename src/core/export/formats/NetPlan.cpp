#include "export/formats/Formats.h"

#include "catalogue/NumberText.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"

namespace quv {

namespace {

// The seven header lines, then the 360 levels ten to a line, each "%6.2f" and joined by a blank.
template <typename LevelAt>
std::string NetPlanFile(const TQuvFile& record, std::string_view orientation, LevelAt levelAt)
{
    TTextBuilder text;
    text.Reserve(43 * 72 + 256);
    text.Line("# Tavrin " + record.PartNumber);
    text.Line("Name = " + RemoveDashes(record.PartNumber).substr(0, 10));
    text.Line("Number of Points = 360");
    text.Line("Start Ang. = 0.00");
    text.Line("Range = 40.00000");
    text.Line("Increment = 1.0");
    text.Line("Orientation = " + std::string(orientation));
    std::string line;
    for (int k = 0; k < 360; ++k) {
        if (k % 10 != 0)
            line += ' ';
        const std::size_t start = line.size();
        AppendSignedLevel(line, levelAt(k), 2);
        const std::size_t width = line.size() - start;
        if (width < 6)
            line.insert(start, 6 - width, ' ');
        if (k % 10 == 9) {
            text.Line(line);
            line.clear();
        }
    }
    return text.Take();
}

} // namespace

TNetPlanFiles BuildNetPlan(const std::string&, const TQuvFile& record)
{
    TNetPlanFiles files;
    // The horizontal file takes the stored azimuth list in its own order; the vertical one
    // starts at the back, 180 degrees.
    files.horizontal = NetPlanFile(
        record, "Horizontal", [&](int k) { return record.Azimuth[static_cast<std::size_t>(k)]; });
    files.vertical =
        NetPlanFile(record, "Vertical", [&](int k) { return record.ElevationAt((k + 180) % 360); });
    return files;
}

void ExportNetPlan(const std::string& path, const TQuvFile& record)
{
    TNetPlanFiles files = BuildNetPlan(path, record);
    CommitFiles({{ChangeFileExt(path, ".h"), std::move(files.horizontal)},
                 {ChangeFileExt(path, ".v"), std::move(files.vertical)}});
}

} // namespace quv
