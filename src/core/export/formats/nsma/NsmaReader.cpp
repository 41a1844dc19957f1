#include "export/formats/nsma/NsmaLayout.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "reference/PatternConventions.h"
#include "reference/ReaderSupport.h"

#include <algorithm>

namespace quv {

namespace {

// "PATCUT:" and "PATCUT" alike, in upper case.
std::string NsmaKeyword(std::string_view field)
{
    std::string word = UpperCase(TrimControl(field));
    if (!word.empty() && word.back() == ':')
        word.pop_back();
    return word;
}

std::string_view RestAfterComma(std::string_view line)
{
    const std::size_t comma = line.find(',');
    return comma == std::string_view::npos ? std::string_view()
                                           : TrimControl(line.substr(comma + 1));
}

std::string_view FirstHalf(std::string_view polarisation)
{
    return TrimControl(polarisation.substr(0, polarisation.find('/')));
}

// "V/V", "H/H", "SLR/SLR" or no polarisation at all: the cut a planning tool uses.
bool IsCoPolar(std::string_view polarisation)
{
    const std::size_t slash = polarisation.find('/');
    if (slash == std::string_view::npos)
        return true;
    return UpperCase(FirstHalf(polarisation)) ==
           UpperCase(TrimControl(polarisation.substr(slash + 1)));
}

struct TNsmaCut {
    TPatternCutPoints cut;
    long announced = -1;
    bool azimuth = true;
    std::string polarisation;
};

// The cuts of one plane that a pattern may use: the co-polar ones, or the first when none is.
std::vector<const TNsmaCut*> Usable(const std::vector<TNsmaCut>& cuts, bool azimuth)
{
    std::vector<const TNsmaCut*> coPolar, any;
    for (const TNsmaCut& c : cuts) {
        if (c.azimuth != azimuth)
            continue;
        (IsCoPolar(c.polarisation) ? coPolar : any).push_back(&c);
    }
    if (coPolar.empty() && !any.empty())
        coPolar.push_back(any.front());
    return coPolar;
}

} // namespace

void ReadNsmaLayout(TReaderBase& reader, TReaderBase*, TPatternFileData& data)
{
    std::vector<TNsmaCut> cuts;
    TNsmaCut* open = nullptr;
    TFilePattern header;
    bool gainInDBd = false;
    TStated lowGain, midGain, highGain;
    auto closeOpen = [&] {
        if (open)
            reader.CloseCut(open->cut, open->announced);
        open = nullptr;
    };

    const auto& lines = reader.Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t lineNo = i + 1;
        const std::string_view line = TrimControl(lines[i]);
        if (line.empty())
            continue;
        const std::vector<std::string_view> fields = Fields(line);
        const std::string keyword = NsmaKeyword(fields.front());
        double number = 0;
        const bool point = keyword == "PCDATA" || TryStrToFloat(fields.front(), number);
        if (point) {
            if (!open)
                reader.FailAt(lineNo, "pattern data before any PATCUT line");
            const std::size_t first = keyword == "PCDATA" ? 1 : 0;
            if (fields.size() < first + 2 || fields[first + 1].empty())
                reader.FailAt(lineNo, "expected an angle and a level, found " + Quote(line));
            reader.AddPoint(open->cut, lineNo, fields[first], fields[first + 1],
                            open->azimuth ? kNsmaAngles[0].toRecord : kNsmaAngles[1].toRecord);
            continue;
        }
        const std::string_view value = RestAfterComma(line);
        const std::string_view first = fields.size() > 1 ? fields[1] : std::string_view();
        if (keyword == "ENDFIL")
            break;
        if (keyword == "PATCUT") {
            closeOpen();
            const std::string plane = UpperCase(value);
            TNsmaCut cut;
            if (plane.starts_with("AZ") || plane.starts_with("H"))
                cut.azimuth = true;
            else if (plane.starts_with("EL") || plane.starts_with("V"))
                cut.azimuth = false;
            else
                reader.FailAt(lineNo, "cut " + Quote(value) + " is neither AZ nor EL");
            cut.cut.headerLine = lineNo;
            cut.cut.title = (cut.azimuth ? "AZ" : "EL") + std::string(" cut");
            cuts.push_back(std::move(cut));
            open = &cuts.back();
        } else if (keyword == "POLARI") {
            if (open)
                open->polarisation = std::string(value);
        } else if (keyword == "NUPOIN" || keyword == "NUPOINTS" || keyword == "NUMPTS") {
            if (!open)
                reader.FailAt(lineNo, keyword + " before any PATCUT line");
            open->announced = reader.Count(lineNo, first);
        } else if (keyword == "ANTMAN") {
            header.maker = std::string(value);
        } else if (keyword == "MODNUM") {
            header.name = std::string(value);
        } else if (keyword == "DESCR1") {
            // Kept to its last byte: a description cut at 80 characters may end in a blank.
            const std::size_t comma = lines[i].find(',');
            header.description = std::string(lines[i].substr(comma + 1));
        } else if (keyword == "GUNITS") {
            gainInDBd = UpperCase(value).starts_with("DBD");
        } else if (keyword == "AZWIDT") {
            header.azimuthBeamwidth = StatedValue(first);
        } else if (keyword == "ELWIDT") {
            header.elevationBeamwidth = StatedValue(first);
        } else if (keyword == "FRTOBA") {
            header.frontToBack = StatedValue(first);
        } else if (keyword == "ELTILT") {
            header.tilt = StatedValue(first);
        } else if (keyword == "CONTYP") {
            KeepText(header, "Connector Type", value);
        } else if (keyword == "ATVSWR") {
            if (!first.empty())
                KeepText(header, "Return Loss, dB (VSWR)", "(<" + std::string(first) + ")");
        } else if (keyword == "MAXPOW") {
            KeepText(header, "Max Input Power, watts", value);
        } else if (keyword == "ANTWGT") {
            KeepText(header, "Antenna Weight, kg (lb)", first, " ");
        } else if (keyword == "PATNUM") {
            KeepText(header, "Pattern File Name", value);
        } else if (keyword == "ANTLEN") {
            header.lengthMetres = std::string(first);
        } else if (keyword == "PATFRE" || keyword == "LOWFRQ" || keyword == "HGHFRQ" ||
                   keyword == "MDGAIN" || keyword == "LWGAIN" || keyword == "HGGAIN") {
            if (value.empty())
                continue;
            TStated& slot = keyword == "PATFRE"   ? header.measuredMHz
                            : keyword == "LOWFRQ" ? header.lowMHz
                            : keyword == "HGHFRQ" ? header.highMHz
                            : keyword == "MDGAIN" ? midGain
                            : keyword == "LWGAIN" ? lowGain
                                                  : highGain;
            slot = StatedValue(first);
            if (!slot)
                reader.Warn(lineNo, keyword + " value " + Quote(value) + " is not a number");
        }
    }
    closeOpen();

    if (!header.measuredMHz && header.lowMHz && header.highMHz)
        header.measuredMHz = StatedNumber((*header.lowMHz + *header.highMHz) / 2);
    if (!midGain && lowGain && highGain)
        midGain = StatedNumber((*lowGain + *highGain) / 2);
    if (!midGain)
        midGain = lowGain ? lowGain : highGain;
    if (midGain && gainInDBd)
        SetGainDBd(header, midGain);
    else if (midGain)
        header.gainDBi = midGain;

    const std::vector<const TNsmaCut*> az = Usable(cuts, true);
    const std::vector<const TNsmaCut*> el = Usable(cuts, false);
    if (az.empty() && el.empty())
        reader.Fail("no pattern data found");
    if (az.empty())
        reader.Fail("no azimuth cut (PATCUT AZ) found");
    if (el.empty())
        reader.Fail("no elevation cut (PATCUT EL) found");

    reader.NameFromFile(header);
    std::vector<bool> elUsed(el.size(), false);
    for (std::size_t k = 0; k < az.size(); ++k) {
        // The elevation cut of the same polarisation, else the next one in the file's order.
        std::size_t pick = el.size();
        for (std::size_t e = 0; e < el.size() && pick == el.size(); ++e)
            if (!elUsed[e] && UpperCase(el[e]->polarisation) == UpperCase(az[k]->polarisation))
                pick = e;
        for (std::size_t e = 0; e < el.size() && pick == el.size(); ++e)
            if (!elUsed[e])
                pick = e;
        if (pick == el.size()) {
            reader.Warn(az[k]->cut.headerLine,
                        "the " + az[k]->cut.title + " has no elevation cut to pair with");
            continue;
        }
        elUsed[pick] = true;
        TFilePattern pattern = header;
        pattern.polarisation = az[k]->polarisation;
        pattern.azimuth = az[k]->cut;
        pattern.elevation = el[pick]->cut;
        if (az.size() > 1)
            pattern.name += "_" + std::string(FirstHalf(az[k]->polarisation));
        data.patterns.push_back(std::move(pattern));
    }

    // Levels are taken with the sign they are written in. A file whose levels are all positive
    // most likely holds attenuations; say so rather than turn the pattern inside out silently.
    auto allPositive = [](const TPatternCutPoints& cut) {
        return std::all_of(cut.points.begin(), cut.points.end(),
                           [](const TPatternPoint& p) { return p.level >= 0; }) &&
               std::any_of(cut.points.begin(), cut.points.end(),
                           [](const TPatternPoint& p) { return p.level > 0; });
    };
    for (const TPatternCutPoints* cut :
         {&data.patterns.front().azimuth, &data.patterns.front().elevation})
        if (allPositive(*cut))
            reader.Warn(cut->headerLine, "every level of the " + cut->title +
                                             " is positive; read as dB above the maximum, as "
                                             "written");
}

const TAngleConvention kNsmaAngles[2] = {conventions::kSameAzimuth, conventions::kSameElevation};

int TNsmaSigns::Base() const
{
    return kKeywordScore * std::min(keywordLines, kMaxKeywordLines);
}

TNsmaSigns NsmaSigns(const TFormatProbe& probe)
{
    static const std::vector<std::string_view> keys{
        "REVNUM", "REVDAT", "ANTMAN", "MODNUM", "PATNUM", "DESCR1",   "DTDATA", "LOWFRQ",
        "HGHFRQ", "GUNITS", "MDGAIN", "AZWIDT", "ELWIDT", "PATTYP",   "PATFRE", "NUMCUT",
        "PATCUT", "POLARI", "NUPOIN", "NUMPTS", "FSTLST", "NUPOINTS", "PCDATA", "ENDFIL"};
    TNsmaSigns signs;
    for (std::string_view line : probe.textLines) {
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos)
            continue;
        const std::string key = NsmaKeyword(line.substr(0, comma));
        if (std::find(keys.begin(), keys.end(), key) == keys.end())
            continue;
        ++signs.keywordLines;
        if (key == "REVNUM" && TextContains("TIA", RestAfterComma(line)))
            signs.tiaRevision = true;
    }
    return signs;
}

} // namespace quv
