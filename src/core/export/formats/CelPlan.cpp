#include "export/formats/CelPlan.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"
#include "reference/PatternConventions.h"
#include "reference/ReaderSupport.h"

#include <string>
#include <vector>

namespace quv {

namespace {

constexpr TAngleConvention kAngles[] = {conventions::kSameAzimuth, conventions::kSameElevation};

// The head line only this format writes.
int Detect(const TFormatProbe& probe)
{
    std::string_view words[2];
    if (probe.head == "[CelPlan DT ANT]" ||
        (FirstWords(probe.head, words) && SameTextIgnoringCase(words[0], "[CelPlan")))
        return kHeadScore;
    return 0;
}

void Read(TReaderBase& reader, TReaderBase*, TPatternFileData& data)
{
    TFilePattern pattern;
    pattern.azimuth.title = "Azm table";
    pattern.elevation.title = "Elv table";
    TPatternCutPoints* open = nullptr;
    const auto& lines = reader.Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t lineNo = i + 1;
        const std::vector<std::string_view> words = Words(lines[i]);
        if (words.empty())
            continue;
        double number = 0;
        if (TryStrToFloat(words[0], number)) {
            if (!open)
                reader.FailAt(lineNo, "pattern data before the Azm or Elv line");
            if (words.size() < 2)
                reader.FailAt(lineNo, "expected an angle and a level, found " + Quote(lines[i]));
            reader.AddPoint(*open, lineNo, words[0], words[1],
                            open == &pattern.azimuth ? kAngles[0].toRecord : kAngles[1].toRecord);
            continue;
        }
        const std::string key = LowerCase(words[0]);
        const std::string_view value = RestAfterWord(lines[i], words[0]);
        if (key == "azm" || key == "elv") {
            open = key == "azm" ? &pattern.azimuth : &pattern.elevation;
            open->headerLine = lineNo;
        } else if (key == "mod:") {
            pattern.name = std::string(value);
        } else if (key == "man:") {
            pattern.maker = std::string(value);
        } else if (key == "dsc:") {
            pattern.description = std::string(value);
        } else if (key == "ngn:") {
            ReadStatedGain(reader, pattern, lineNo, value, TGainUnit::DBd);
        } else if (key == "hbw:") {
            pattern.azimuthBeamwidth = StatedValue(value);
        } else if (key == "vbw:") {
            pattern.elevationBeamwidth = StatedValue(value);
        } else if (key == "mnf:") {
            pattern.lowMHz = StatedValue(value);
        } else if (key == "mxf:") {
            pattern.highMHz = StatedValue(value);
        } else if (key == "siz:") {
            pattern.lengthMetres = StatedValue(value).text;
        }
    }
    if (!pattern.azimuth.headerLine && !pattern.elevation.headerLine)
        reader.Fail("no pattern data found");
    if (!pattern.azimuth.headerLine)
        reader.Fail("no Azm table found");
    if (!pattern.elevation.headerLine)
        reader.Fail("no Elv table found");
    reader.CloseCut(pattern.azimuth, -1);
    reader.CloseCut(pattern.elevation, -1);
    RemoveGain(pattern, pattern.gainDBd ? pattern.gainDBd : pattern.gainDBi);
    reader.NameFromFile(pattern);
    data.patterns.push_back(std::move(pattern));
}

} // namespace

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
            AppendLevelSum(line, gain,
                           cut == 0 ? conventions::AzimuthLevel(record, kAngles[0], a)
                                    : conventions::ElevationLevel(record, kAngles[1], a),
                           2);
            text.Line(line);
        }
    }
    return text.Take();
}

void ExportCelPlan(const std::string& path, const TQuvFile& record, TExportRun& run)
{
    run.Commit({{ChangeFileExt(path, ".ant"), BuildCelPlan(path, record)}});
}

const TFileFormat kCelPlanFormat{{"<b>CelPlan</b> format", "CelPlan", ".ant", &ExportCelPlan},
                                 ".ant",
                                 "celplan",
                                 &Detect,
                                 &Read,
                                 kAngles,
                                 TLevelConvention::GainPlusLevel};

} // namespace quv
