#include "export/formats/PathPro.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"
#include "reference/PatternConventions.h"
#include "reference/ReaderSupport.h"

#include <algorithm>

#include <cmath>

namespace quv {

namespace {

// The vertical cut counts its angles up from the horizon.
constexpr TAngleConvention kAngles[] = {conventions::kSameAzimuth,
                                        conventions::kElevationAboveHorizon};

// The block lines only this format writes.
int Detect(const TFormatProbe& probe)
{
    for (std::string_view line : probe.textLines)
        if (line.starts_with("::HEADER") || line.starts_with("::HORIZONTAL"))
            return 900 + (probe.ExtensionIn(".ant") ? kExtensionScore : 0);
    return 0;
}

void Read(TReaderBase& reader, TReaderBase*, TPatternFileData& data)
{
    TFilePattern pattern;
    pattern.azimuth.title = "::HORIZONTAL block";
    pattern.elevation.title = "::VERTICAL block";
    TPatternCutPoints* open = nullptr;
    TAngleMap map = kAngles[0].toRecord;
    std::vector<std::string_view> header;
    bool inHeader = false;
    std::vector<long> announced(2, -1);
    const auto& lines = reader.Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t lineNo = i + 1;
        const std::string_view line = TrimControl(lines[i]);
        if (line.starts_with("::")) {
            const std::vector<std::string_view> w = Words(line);
            const std::string key = UpperCase(w.front());
            inHeader = key == "::HEADER";
            open = nullptr;
            if (key == "::HORIZONTAL" || key == "::VERTICAL") {
                const bool az = key == "::HORIZONTAL";
                open = az ? &pattern.azimuth : &pattern.elevation;
                open->headerLine = lineNo;
                map = az ? kAngles[0].toRecord : kAngles[1].toRecord;
                if (w.size() > 1)
                    announced[az ? 0 : 1] = reader.Count(lineNo, w[1]);
            }
            continue;
        }
        if (inHeader) {
            header.push_back(line);
            continue;
        }
        if (line.empty())
            continue;
        if (!open)
            reader.FailAt(lineNo, "pattern data outside a ::HORIZONTAL or ::VERTICAL block");
        const std::vector<std::string_view> c = Columns(line);
        if (c.size() < 2)
            reader.FailAt(lineNo, "expected an angle and a level, found " + Quote(line));
        reader.AddPoint(*open, lineNo, c[0], c[1], map);
    }
    if (!pattern.azimuth.headerLine && !pattern.elevation.headerLine)
        reader.Fail("no pattern data found");
    if (!pattern.azimuth.headerLine)
        reader.Fail("no ::HORIZONTAL block found");
    if (!pattern.elevation.headerLine)
        reader.Fail("no ::VERTICAL block found");
    reader.CloseCut(pattern.azimuth, announced[0]);
    reader.CloseCut(pattern.elevation, announced[1]);
    // The header's values in their fixed order: units, tilt, front-to-back, beamwidths, upper
    // and lower frequency, gain, model, maker, length in metres.
    header.resize(std::max<std::size_t>(header.size(), 11));
    const bool dbi = UpperCase(header[0]) == "DBI";
    pattern.tilt = StatedValue(header[1]);
    pattern.frontToBack = StatedValue(header[2]);
    pattern.azimuthBeamwidth = StatedValue(header[3]);
    pattern.elevationBeamwidth = StatedValue(header[4]);
    pattern.highMHz = StatedValue(header[5]);
    pattern.lowMHz = StatedValue(header[6]);
    if (dbi)
        pattern.gainDBi = StatedValue(header[7]);
    else
        SetGainDBd(pattern, StatedValue(header[7]));
    pattern.name = std::string(header[8]);
    pattern.maker = std::string(header[9]);
    pattern.lengthMetres = std::string(header[10]);
    reader.NameFromFile(pattern);
    data.patterns.push_back(std::move(pattern));
}

} // namespace

std::string BuildPathPro(const std::string&, const TQuvFile& record)
{
    TTextBuilder text;
    text.Reserve(735 * 10 + 512);
    text.Line("::ANTENNA");
    text.Line("::HEADER");
    text.Line("dBd");
    text.Line(IsNumber(record.ElectricalDowntilt) ? record.ElectricalDowntilt : std::string());
    text.Line(Format("%.2f", {std::fabs(record.FrontToBackValue())}));
    text.Line(record.AzimuthBeamwidth);
    text.Line(record.ElevationBeamwidth);
    // The header's order puts the upper frequency first.
    text.Line(record.EndSubFrequency);
    text.Line(record.BeginSubFrequency);
    text.Line(record.GainDBd);
    text.Line(record.PartNumber);
    text.Line(kMakerName);
    text.Line(Format("%1.2f", {record.LengthValue() * 0.001}));

    std::string line;
    text.Line("::HORIZONTAL\t360");
    for (int a = 0; a < 360; ++a)
        AddAnglePoint(text, line, a, "\t", conventions::AzimuthLevel(record, kAngles[0], a), 2);
    // The vertical cut from -180 (over the back) up to 179.
    text.Line("::VERTICAL\t360");
    for (int x = -180; x <= 179; ++x)
        AddAnglePoint(text, line, x, "\t", conventions::ElevationLevel(record, kAngles[1], x), 2);
    return text.Take();
}

void ExportPathPro(const std::string& path, const TQuvFile& record, TExportRun& run)
{
    run.Commit({{ChangeFileExt(path, ".ant"), BuildPathPro(path, record)}});
}

const TFileFormat kPathProFormat{{"<b>PathPro</b> format", "PathPro", ".ant", &ExportPathPro},
                                 ".ant",
                                 "pathpro",
                                 &Detect,
                                 &Read,
                                 kAngles,
                                 TLevelConvention::RelativeLevel};

} // namespace quv
