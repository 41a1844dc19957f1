#include "export/formats/Formats.h"

#include "catalogue/NumberText.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"

#include <string>
#include <vector>

namespace quv {

std::string BuildCelPlan(const std::string&, const TQuvFile& record)
{
    TTextBuilder text;
    text.Reserve(734 * 12 + 512 + record.Description.size());
    text.Line("[CelPlan DT ANT]");
    text.Line("Mod:\t" + record.PartNumber);
    text.Line("Man:\tTavrin Corporation");
    text.Line("Dig:\tCelPlan");
    text.Line("Dsc:\t" + record.Description);
    // The level lines add the gain as given; only this line rounds it.
    const TLevelBase gain = LevelBase(record.GainDBd);
    text.Line("Ngn:\t" + Format("%1.1f", {gain.value}) + " dBd");
    text.Line("Hbw:\t" + Format("%1.1f", {StrToFloat(record.AzimuthBeamwidth)}) + "\xB0");
    text.Line("Vbw:\t" + Format("%1.1f", {StrToFloat(record.ElevationBeamwidth)}) + "\xB0");
    text.Line("Mnf:\t" + Format("%1.1f", {StrToFloat(record.BeginSubFrequency)}) + " MHz");
    text.Line("Mxf:\t" + Format("%1.1f", {StrToFloat(record.EndSubFrequency)}) + " MHz");
    text.Line("Siz:\t" + Format("%1.2f", {record.LengthValue() * 0.001}) + " m");
    text.Line("Inc:\t1.0\xB0");
    static const std::vector<std::string> angles = [] {
        std::vector<std::string> texts;
        for (int a = 0; a < 360; ++a)
            texts.push_back(Format("%3d\t", {a}));
        return texts;
    }();
    std::string line;
    for (int cut = 0; cut < 2; ++cut) {
        text.Line(cut == 0 ? "Azm\tGain" : "Elv\tGain");
        for (int a = 0; a < 360; ++a) {
            line = angles[static_cast<std::size_t>(a)];
            AppendLevelSum(line, gain, cut == 0 ? record.AzimuthAt(a) : record.ElevationAt(a), 2);
            text.Line(line);
        }
    }
    return text.Take();
}

void ExportCelPlan(const std::string& path, const TQuvFile& record)
{
    CommitFile(ChangeFileExt(path, ".ant"), BuildCelPlan(path, record));
}

} // namespace quv
