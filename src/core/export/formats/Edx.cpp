#include "export/formats/Formats.h"

#include "catalogue/TextFile.h"
#include "export/ExportLib.h"

namespace quv {

std::string BuildEdx(const std::string&, const TQuvFile& record)
{
    TTextBuilder text;
    text.Reserve(727 * 12 + 256);
    std::string quoted = "'";
    for (char c : record.PartNumber) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    quoted += '\'';
    // "2": the levels are relative dB ("1" would declare relative field strength).
    text.Line(quoted + "," + record.GainDBi + ",2");
    std::string line;
    for (int a = 0; a < 360; ++a)
        AddAnglePoint(text, line, a, ",", record.AzimuthAt(a), 3);
    text.Line("999");
    text.Line("2,181");
    // Front cut: from 90 degrees up through the horizon in front down to -90.
    text.Line("0");
    for (int k = 270; k <= 360; ++k)
        AddAnglePoint(text, line, 360 - k, ",", record.ElevationAt(k), 3);
    for (int k = 1; k <= 90; ++k)
        AddAnglePoint(text, line, -k, ",", record.ElevationAt(k), 3);
    // Back cut: the other half of the elevation circle, 90 over the back down to -90.
    text.Line("181");
    for (int k = 270; k >= 90; --k)
        AddAnglePoint(text, line, k - 180, ",", record.ElevationAt(k), 3);
    return text.Take();
}

void ExportEdx(const std::string& path, const TQuvFile& record)
{
    CommitFile(ChangeFileExt(path, ".edx"), BuildEdx(path, record));
}

} // namespace quv
