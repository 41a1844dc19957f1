#include "reference/PatternFile.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quv {

namespace {

// Angle convention. Planning-tool files count angles clockwise seen from above (and downwards
// in the vertical cut); the data files' index runs the other way round, as the plots draw it.
// So data index j holds the file's angle (360 - j) mod 360 in both cuts: the same mapping our
// own writers apply through AzimuthAt and ElevationAt, which is what makes a round trip exact.
// In the vertical cut that is catalogue/ElevationAngles.h: VERTICAL a lies a degrees below the
// horizon, where a downtilted maker's beam peaks.
int FileAngleOfIndex(int index)
{
    return (360 - index) % 360;
}

// More points than any measured cut carries; keeps a hostile count from reserving gigabytes.
constexpr long kMaxAnnouncedPoints = 100000;

struct TRawPoint {
    double angle; // the file's angle in [0, 360)
    double level; // dB, any reference
};

struct TRawCut {
    std::vector<TRawPoint> points;
    std::size_t headerLine = 0;
    long announced = -1; // -1 when the file announces no count
    std::string title;   // "HORIZONTAL block", "AZ cut": how messages name it
    bool present = false;
};

class TReader {
public:
    TReader(std::string_view bytes, const std::string& fileName)
        : lines_(SplitLines(bytes)), fileName_(fileName)
    {}

    [[noreturn]] void Fail(const std::string& what) const
    {
        throw EPatternFileError(fileName_ + ": " + what);
    }
    [[noreturn]] void FailAt(std::size_t line, const std::string& what) const
    {
        Fail("line " + std::to_string(line) + ": " + what);
    }
    void Warn(std::size_t line, const std::string& what)
    {
        result_.warnings.push_back("line " + std::to_string(line) + ": " + what);
    }

    TReferencePattern Read();

private:
    TPatternFileFormat Detect() const;
    void ReadPlanet();
    void ReadNsma();
    double Number(std::size_t line, std::string_view text, const char* what) const;
    long Count(std::size_t line, std::string_view text) const;
    void AddPoint(TRawCut& cut, std::size_t line, std::string_view angle, std::string_view level);
    void CloseCut(const TRawCut& cut) const;
    TReferenceCut Resample(const TRawCut& cut) const;

    TLines lines_;
    const std::string& fileName_;
    TReferencePattern result_;
    TRawCut horizontal_;
    TRawCut vertical_;
};

bool IsSeparator(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSeparator(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsSeparator(line[i]))
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(TrimControl(line.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

// The text after the first word of a line, trimmed.
std::string_view RestAfterWord(std::string_view line, std::string_view word)
{
    const std::size_t at = static_cast<std::size_t>(word.data() - line.data()) + word.size();
    return TrimControl(line.substr(at));
}

// The text after the first comma, trimmed.
std::string_view RestAfterComma(std::string_view line)
{
    const std::size_t comma = line.find(',');
    return comma == std::string_view::npos ? std::string_view()
                                           : TrimControl(line.substr(comma + 1));
}

std::string Quote(std::string_view text)
{
    // Messages name the value, not a whole garbage line.
    constexpr std::size_t kMax = 40;
    return "'" + std::string(text.substr(0, kMax)) + (text.size() > kMax ? "...'" : "'");
}

const std::vector<std::string_view>& PlanetKeywords()
{
    static const std::vector<std::string_view> words{
        "NAME", "MAKE",         "FREQUENCY", "H_WIDTH",    "V_WIDTH",  "FRONT_TO_BACK", "GAIN",
        "TILT", "POLARIZATION", "COMMENT",   "HORIZONTAL", "VERTICAL", "FILENAME"};
    return words;
}

const std::vector<std::string_view>& NsmaKeywords()
{
    static const std::vector<std::string_view> words{
        "REVNUM", "REVDAT", "ANTMAN", "MODNUM",   "PATNUM", "DESCR1", "DTDATA", "LOWFRQ",
        "HGHFRQ", "GUNITS", "MDGAIN", "AZWIDT",   "ELWIDT", "PATTYP", "PATFRE", "NUMCUT",
        "PATCUT", "POLARI", "NUPOIN", "NUPOINTS", "NUMPTS", "FSTLST", "PCDATA", "ENDFIL"};
    return words;
}

bool Contains(const std::vector<std::string_view>& words, std::string_view word)
{
    return std::find(words.begin(), words.end(), word) != words.end();
}

// "PATCUT:" and "PATCUT" alike, in upper case.
std::string NsmaKeyword(std::string_view field)
{
    std::string word = UpperCase(TrimControl(field));
    if (!word.empty() && word.back() == ':')
        word.pop_back();
    return word;
}

// The first word of a value as a number, so "880 MHz" reads as 880.
bool LeadingNumber(std::string_view text, double& value)
{
    const std::vector<std::string_view> words = Words(text);
    return !words.empty() && TryStrToFloat(words.front(), value);
}

TPatternFileFormat TReader::Detect() const
{
    int planet = 0;
    int nsma = 0;
    bool tia = false;
    for (std::string_view line : lines_) {
        const std::vector<std::string_view> words = Words(line);
        if (words.empty())
            continue;
        if (Contains(PlanetKeywords(), UpperCase(words.front())))
            ++planet;
        if (line.find(',') != std::string_view::npos) {
            const std::vector<std::string_view> fields = Fields(line);
            const std::string word = NsmaKeyword(fields.front());
            if (Contains(NsmaKeywords(), word)) {
                ++nsma;
                if (word == "REVNUM" && TextContains("TIA", fields.size() > 1 ? fields[1] : ""))
                    tia = true;
            }
        }
    }
    if (planet == 0 && nsma == 0)
        Fail("no pattern data found");
    if (nsma > planet)
        return tia ? TPatternFileFormat::TiaEia : TPatternFileFormat::Nsma;
    return TPatternFileFormat::Planet;
}

double TReader::Number(std::size_t line, std::string_view text, const char* what) const
{
    double value = 0;
    if (!TryStrToFloat(text, value))
        FailAt(line, std::string(what) + " " + Quote(text) + " is not a number");
    return value;
}

long TReader::Count(std::size_t line, std::string_view text) const
{
    double value = 0;
    if (!TryStrToFloat(text, value) || value != std::floor(value) || value < 1 ||
        value > kMaxAnnouncedPoints)
        FailAt(line, "point count " + Quote(text) + " is not a whole number from 1 to " +
                         std::to_string(kMaxAnnouncedPoints));
    return static_cast<long>(value);
}

void TReader::AddPoint(TRawCut& cut, std::size_t line, std::string_view angleText,
                       std::string_view levelText)
{
    double angle = Number(line, angleText, "angle");
    const double level = Number(line, levelText, "level");
    if (angle < -360 || angle > 360)
        FailAt(line, "angle " + Quote(angleText) + " lies outside -360..360");
    // Far beyond any measured level, and keeps the interpolation's arithmetic finite.
    if (std::fabs(level) > 1000)
        FailAt(line, "level " + Quote(levelText) + " lies outside -1000..1000 dB");
    angle = std::fmod(angle, 360.0);
    if (angle < 0)
        angle += 360;
    if (angle >= 360)
        angle = 0;
    cut.points.push_back({angle, level});
}

void TReader::CloseCut(const TRawCut& cut) const
{
    const long held = static_cast<long>(cut.points.size());
    if (cut.announced >= 0 && held < cut.announced)
        FailAt(cut.headerLine, "the " + cut.title + " holds " + std::to_string(held) + " of the " +
                                   std::to_string(cut.announced) + " points it announces");
    if (cut.announced >= 0 && held > cut.announced)
        FailAt(cut.headerLine, "the " + cut.title + " holds " + std::to_string(held) +
                                   " points but announces " + std::to_string(cut.announced));
    if (held == 0)
        FailAt(cut.headerLine, "the " + cut.title + " holds no points");
}

void TReader::ReadPlanet()
{
    result_.format = TPatternFileFormat::Planet;
    horizontal_.title = "HORIZONTAL block";
    vertical_.title = "VERTICAL block";
    std::size_t i = 0;
    while (i < lines_.size()) {
        const std::size_t lineNo = i + 1;
        const std::string_view line = lines_[i++];
        const std::vector<std::string_view> words = Words(line);
        if (words.empty())
            continue;
        const std::string keyword = UpperCase(words.front());
        const std::string_view value = RestAfterWord(line, words.front());
        if (keyword == "HORIZONTAL" || keyword == "VERTICAL") {
            TRawCut& cut = keyword == "HORIZONTAL" ? horizontal_ : vertical_;
            if (cut.present)
                FailAt(lineNo, "a second " + cut.title);
            if (words.size() < 2)
                FailAt(lineNo, keyword + " needs the number of points");
            cut.present = true;
            cut.headerLine = lineNo;
            cut.announced = Count(lineNo, words[1]);
            cut.points.reserve(static_cast<std::size_t>(cut.announced));
            // The block is the next `announced` data lines; a keyword line ends it early.
            while (i < lines_.size() && static_cast<long>(cut.points.size()) < cut.announced) {
                const std::vector<std::string_view> data = Words(lines_[i]);
                if (data.empty()) {
                    ++i;
                    continue;
                }
                if (Contains(PlanetKeywords(), UpperCase(data.front())))
                    break;
                if (data.size() < 2)
                    FailAt(i + 1, "expected an angle and a level, found " + Quote(lines_[i]));
                AddPoint(cut, i + 1, data[0], data[1]);
                ++i;
            }
            CloseCut(cut);
            continue;
        }
        double number = 0;
        if (TryStrToFloat(words.front(), number))
            FailAt(lineNo, "pattern data outside a HORIZONTAL or VERTICAL block");
        if (keyword == "NAME") {
            result_.name = std::string(value);
        } else if (keyword == "MAKE") {
            result_.maker = std::string(value);
        } else if (keyword == "FREQUENCY") {
            if (LeadingNumber(value, number))
                result_.frequencyMHz = number;
            else if (!value.empty())
                Warn(lineNo, "frequency " + Quote(value) + " is not a number");
        } else if (keyword == "GAIN") {
            // "GAIN 15", "GAIN 15 dBd", "GAIN 17.1 dBi", "GAIN 17.1dBi": dBd unless it says dBi.
            std::string text(value);
            const std::string upper = UpperCase(text);
            bool dbi = false;
            for (const char* unit : {"DBI", "DBD"}) {
                const std::size_t at = upper.rfind(unit);
                if (at != std::string::npos && at + 3 == upper.size()) {
                    dbi = std::string_view(unit) == "DBI";
                    text.resize(at);
                    break;
                }
            }
            if (!TryStrToFloat(text, number)) {
                Warn(lineNo, "gain " + Quote(value) + " is not a number");
            } else if (dbi) {
                result_.gainDBi = number;
            } else {
                result_.gainDBd = number;
                result_.gainDBi = number + kDipoleGainDBi;
            }
        }
        // H_WIDTH, V_WIDTH, FRONT_TO_BACK, TILT, POLARIZATION, COMMENT and unknown keywords carry
        // nothing the comparison uses: the widths and tilt are measured from the cuts instead.
    }
    if (!horizontal_.present && !vertical_.present)
        Fail("no pattern data found");
    if (!horizontal_.present)
        Fail("no HORIZONTAL block found");
    if (!vertical_.present)
        Fail("no VERTICAL block found");
}

// "V/V", "H/H", "SLR/SLR" or no polarisation at all: the cut a planning tool uses. Cross-polar
// cuts ("V/H") are passed over when a co-polar one of the same plane exists.
bool IsCoPolar(std::string_view polarisation)
{
    const std::size_t slash = polarisation.find('/');
    if (slash == std::string_view::npos)
        return true;
    return UpperCase(TrimControl(polarisation.substr(0, slash))) ==
           UpperCase(TrimControl(polarisation.substr(slash + 1)));
}

void TReader::ReadNsma()
{
    struct TNsmaCut {
        TRawCut cut;
        bool azimuth = true;
        std::string polarisation;
    };
    std::vector<TNsmaCut> cuts;
    TNsmaCut* open = nullptr;
    bool gainInDBd = false;
    std::optional<double> low, high, mid, lowGain, highGain;
    auto closeOpen = [&] {
        if (open)
            CloseCut(open->cut);
        open = nullptr;
    };

    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::size_t lineNo = i + 1;
        const std::string_view line = TrimControl(lines_[i]);
        if (line.empty())
            continue;
        const std::vector<std::string_view> fields = Fields(line);
        const std::string keyword = NsmaKeyword(fields.front());
        double number = 0;
        const bool data = keyword == "PCDATA" || TryStrToFloat(fields.front(), number);
        if (data) {
            if (!open)
                FailAt(lineNo, "pattern data before any PATCUT line");
            const std::size_t first = keyword == "PCDATA" ? 1 : 0;
            if (fields.size() < first + 2 || fields[first + 1].empty())
                FailAt(lineNo, "expected an angle and a level, found " + Quote(line));
            AddPoint(open->cut, lineNo, fields[first], fields[first + 1]);
            continue;
        }
        const std::string_view value = RestAfterComma(line);
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
                FailAt(lineNo, "cut " + Quote(value) + " is neither AZ nor EL");
            cut.cut.present = true;
            cut.cut.headerLine = lineNo;
            cut.cut.title = (cut.azimuth ? "AZ" : "EL") + std::string(" cut");
            cuts.push_back(std::move(cut));
            open = &cuts.back();
        } else if (keyword == "POLARI") {
            if (open)
                open->polarisation = std::string(value);
        } else if (keyword == "NUPOIN" || keyword == "NUPOINTS" || keyword == "NUMPTS") {
            if (!open)
                FailAt(lineNo, keyword + " before any PATCUT line");
            open->cut.announced = Count(lineNo, fields.size() > 1 ? fields[1] : "");
            open->cut.points.reserve(static_cast<std::size_t>(open->cut.announced));
        } else if (keyword == "ANTMAN") {
            result_.maker = std::string(value);
        } else if (keyword == "MODNUM") {
            result_.name = std::string(value);
        } else if (keyword == "GUNITS") {
            gainInDBd = UpperCase(value).starts_with("DBD");
        } else if (keyword == "PATFRE" || keyword == "LOWFRQ" || keyword == "HGHFRQ" ||
                   keyword == "MDGAIN" || keyword == "LWGAIN" || keyword == "HGGAIN") {
            if (value.empty())
                continue;
            std::optional<double>& slot = keyword == "PATFRE"   ? result_.frequencyMHz
                                          : keyword == "LOWFRQ" ? low
                                          : keyword == "HGHFRQ" ? high
                                          : keyword == "MDGAIN" ? mid
                                          : keyword == "LWGAIN" ? lowGain
                                                                : highGain;
            if (LeadingNumber(fields.size() > 1 ? fields[1] : "", number))
                slot = number;
            else
                Warn(lineNo, UpperCase(keyword) + " value " + Quote(value) + " is not a number");
        }
    }
    closeOpen();

    if (!result_.frequencyMHz && low && high)
        result_.frequencyMHz = (*low + *high) / 2;
    if (!mid && lowGain && highGain)
        mid = (*lowGain + *highGain) / 2;
    if (!mid)
        mid = lowGain ? lowGain : highGain;
    if (mid && gainInDBd) {
        result_.gainDBd = *mid;
        result_.gainDBi = *mid + kDipoleGainDBi;
    } else if (mid) {
        result_.gainDBi = *mid;
    }

    auto pick = [&cuts](bool azimuth) -> const TRawCut* {
        const TRawCut* any = nullptr;
        for (const TNsmaCut& c : cuts) {
            if (c.azimuth != azimuth)
                continue;
            if (IsCoPolar(c.polarisation))
                return &c.cut;
            if (!any)
                any = &c.cut;
        }
        return any;
    };
    const TRawCut* az = pick(true);
    const TRawCut* el = pick(false);
    if (!az && !el)
        Fail("no pattern data found");
    if (!az)
        Fail("no azimuth cut (PATCUT AZ) found");
    if (!el)
        Fail("no elevation cut (PATCUT EL) found");
    horizontal_ = *az;
    vertical_ = *el;

    // Levels are taken with the sign they are written in. A file whose levels are all positive
    // most likely holds attenuations; say so rather than turn the pattern inside out silently.
    auto allPositive = [](const TRawCut& cut) {
        return std::all_of(cut.points.begin(), cut.points.end(),
                           [](const TRawPoint& p) { return p.level >= 0; }) &&
               std::any_of(cut.points.begin(), cut.points.end(),
                           [](const TRawPoint& p) { return p.level > 0; });
    };
    for (const TRawCut* cut : {az, el})
        if (allPositive(*cut))
            Warn(cut->headerLine, "every level of the " + cut->title +
                                      " is positive; read as dB above the maximum, as written");
}

TReferenceCut TReader::Resample(const TRawCut& cut) const
{
    std::vector<TRawPoint> points = cut.points;
    // The first of several points at one angle counts (a closing 360 repeats 0).
    std::stable_sort(points.begin(), points.end(),
                     [](const TRawPoint& a, const TRawPoint& b) { return a.angle < b.angle; });
    points.erase(
        std::unique(points.begin(), points.end(),
                    [](const TRawPoint& a, const TRawPoint& b) { return a.angle == b.angle; }),
        points.end());
    if (points.size() < 2)
        FailAt(cut.headerLine, "the " + cut.title + " holds fewer than two distinct angles");

    // Linear interpolation around the circle between the two neighbours of each angle.
    auto levelAt = [&points](double angle) {
        const auto upper =
            std::lower_bound(points.begin(), points.end(), angle,
                             [](const TRawPoint& p, double a) { return p.angle < a; });
        if (upper != points.end() && upper->angle == angle)
            return upper->level;
        TRawPoint before = upper == points.begin() ? points.back() : *(upper - 1);
        TRawPoint after = upper == points.end() ? points.front() : *upper;
        if (upper == points.begin())
            before.angle -= 360;
        if (upper == points.end())
            after.angle += 360;
        const double t = (angle - before.angle) / (after.angle - before.angle);
        return before.level + t * (after.level - before.level);
    };

    TReferenceCut levels{};
    for (int j = 0; j < 360; ++j)
        levels[static_cast<std::size_t>(j)] = levelAt(FileAngleOfIndex(j));
    levels[360] = levels[0];
    const double peak = *std::max_element(levels.begin(), levels.end());
    for (double& v : levels)
        v -= peak;
    return levels;
}

TReferencePattern TReader::Read()
{
    result_.fileName = fileName_;
    const TPatternFileFormat format = Detect();
    if (format == TPatternFileFormat::Planet) {
        ReadPlanet();
        // Planet levels are attenuations below the maximum, written without a sign by most
        // tools and with a minus by some: the magnitude is what they mean.
        for (TRawCut* cut : {&horizontal_, &vertical_})
            for (TRawPoint& p : cut->points)
                p.level = -std::fabs(p.level);
    } else {
        ReadNsma();
    }
    result_.format = format;
    result_.azimuth = Resample(horizontal_);
    result_.elevation = Resample(vertical_);
    if (TrimControl(result_.name).empty()) {
        std::string base = fileName_.substr(fileName_.find_last_of('/') + 1);
        const std::size_t dot = base.rfind('.');
        if (dot != std::string::npos && dot > 0)
            base.resize(dot);
        result_.name = base;
    }
    return std::move(result_);
}

} // namespace

TReferencePattern ReadPatternBytes(std::string_view bytes, const std::string& fileName)
{
    return TReader(bytes, fileName).Read();
}

TReferencePattern ReadPatternFile(const std::string& path)
{
    std::string bytes;
    ReadWholeFile(path, bytes);
    return ReadPatternBytes(bytes, path);
}

std::string_view PatternFormatName(TPatternFileFormat format)
{
    switch (format) {
    case TPatternFileFormat::Planet:
        return "Planet";
    case TPatternFileFormat::Nsma:
        return "NSMA";
    case TPatternFileFormat::TiaEia:
        return "TIA/EIA";
    }
    return "";
}

} // namespace quv
