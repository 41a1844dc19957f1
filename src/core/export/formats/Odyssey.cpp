#include "export/formats/Odyssey.h"

#include "catalogue/SharedLib.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"
#include "export/formats/MsiLayout.h"
#include "reference/PatternConventions.h"

namespace quv {

namespace {

constexpr TAngleConvention kAngles[] = {conventions::kStoredAzimuth, conventions::kSameElevation};

// The layout's keywords, but points numbered 1 to 360: a file numbered so is this format, and
// the azimuth it reads is counted the other way round.
int Detect(const TFormatProbe& probe)
{
    const TMsiSigns signs = MsiSigns(probe);
    if (signs.Base() == 0 || !signs.firstAzimuthAngle || *signs.firstAzimuthAngle != 1)
        return 0;
    return signs.Base() + kMsiNumberedFromOneScore + (signs.beamWidth ? 5 : 0) +
           (probe.ExtensionIn(".txt") ? kExtensionScore : 0);
}

void Read(TReaderBase& file, TReaderBase*, TPatternFileData& data)
{
    ReadMsiLayout(file, data, {kAngles[0], kAngles[1]});
}

} // namespace

std::string BuildOdyssey(const std::string&, const TQuvFile& record)
{
    TTextBuilder text;
    text.Reserve(727 * 11 + 256);
    text.Line("NAME\t" + record.PartNumber);
    text.Line("FREQUENCY\t" + record.MeasuredFrequency);
    text.Line("BEAM_WIDTH\t" + record.AzimuthBeamwidth);
    text.Line("GAIN\t" + record.GainDBi + " dBi");
    text.Line(IsMechanicalTilt(record) ? "TILT\tMECHANICAL" : "TILT\tELECTRICAL");
    // Points 1 to 360 as attenuation; the horizontal cut counts the other way round from the
    // vertical one.
    std::string line;
    for (int cut = 0; cut < 2; ++cut) {
        text.Line(cut == 0 ? "HORIZONTAL\t360" : "VERTICAL\t360");
        for (int i = 1; i <= 360; ++i) {
            line.clear();
            AppendInt(line, i);
            line += '\t';
            AppendAbsLevel(line,
                           cut == 0 ? conventions::AzimuthLevel(record, kAngles[0], i)
                                    : conventions::ElevationLevel(record, kAngles[1], i),
                           3);
            text.Line(line);
        }
    }
    return text.Take();
}

void ExportOdyssey(const std::string& path, const TQuvFile& record, TExportRun& run)
{
    run.Commit({{ChangeFileExt(path, ".txt"), BuildOdyssey(path, record)}});
}

const TFileFormat kOdysseyFormat{{"<b>Odyssey</b> format", "Odyssey", ".txt", &ExportOdyssey},
                                 ".txt",
                                 "msi",
                                 &Detect,
                                 &Read,
                                 kAngles,
                                 TLevelConvention::Attenuation};

} // namespace quv
