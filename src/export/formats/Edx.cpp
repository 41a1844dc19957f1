#include "export/formats/Formats.h"

#include "catalogue/TextFile.h"
#include "export/ExportLib.h"

namespace quv
{

namespace
{

void AddPoint(TTextBuilder &text, std::string &line, int angle, std::string_view level)
{
    line.clear();
    if (angle < 0) {
        line += '-';
        angle = -angle;
    }
    AppendInt(line, angle);
    line += ',';
    AppendSignedLevel(line, level, 3);
    text.Line(line);
}

} // namespace

std::string BuildEdx(const std::string &, const TQuvFile &record)
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
    text.Line(quoted + "," + record.GainDBi + ",1");
    std::string line;
    for (int a = 0; a < 360; ++a)
        AddPoint(text, line, a, record.AzimuthAt(a));
    text.Line("999");
    text.Line("2,181");
    // Front cut: from 90 degrees up through the horizon in front down to -90.
    text.Line("0");
    for (int k = 270; k <= 360; ++k)
        AddPoint(text, line, 360 - k, record.ElevationAt(k));
    for (int k = 1; k <= 90; ++k)
        AddPoint(text, line, -k, record.ElevationAt(k));
    // Back cut: the other half of the elevation circle, 90 over the back down to -90.
    text.Line("181");
    for (int k = 270; k >= 90; --k)
        AddPoint(text, line, k - 180, record.ElevationAt(k));
    return text.Take();
}

void ExportEdx(const std::string &path, const TQuvFile &record)
{
    CommitFile(ChangeFileExt(path, ".edx"), BuildEdx(path, record));
}

} // namespace quv
