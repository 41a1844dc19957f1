#include "reference/ReaderSupport.h"

#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace quv {

namespace {

// More points than any measured cut carries; keeps a hostile count from reserving gigabytes.
constexpr long kMaxAnnouncedPoints = 100000;

bool IsSeparator(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

TReaderBase::TReaderBase(std::string_view bytes, const std::string& fileName)
    : lines_(SplitLines(bytes)), fileName_(fileName)
{}

void TReaderBase::Fail(const std::string& what, std::optional<TFindingKind> kind) const
{
    throw EPatternFileError(fileName_ + ": " + what, kind);
}

void TReaderBase::FailAt(std::size_t line, const std::string& what,
                         std::optional<TFindingKind> kind) const
{
    Fail("line " + std::to_string(line) + ": " + what, kind);
}

void TReaderBase::Warn(std::size_t line, const std::string& what, std::optional<TFindingKind> kind)
{
    notes_.push_back({kind, line == 0 ? what : "line " + std::to_string(line) + ": " + what});
}

double TReaderBase::Number(std::size_t line, std::string_view text, const char* what) const
{
    double value = 0;
    if (!TryStrToFloat(text, value))
        FailAt(line, std::string(what) + " " + Quote(text) + " is not a number",
               TFindingKind::NotANumber);
    return value;
}

long TReaderBase::Count(std::size_t line, std::string_view text) const
{
    double value = 0;
    if (!TryStrToFloat(text, value) || value != std::floor(value) || value < 1 ||
        value > kMaxAnnouncedPoints)
        FailAt(line, "point count " + Quote(text) + " is not a whole number from 1 to " +
                         std::to_string(kMaxAnnouncedPoints));
    return static_cast<long>(value);
}

void TReaderBase::AddPoint(TPatternCutPoints& cut, std::size_t line, std::string_view angleText,
                           std::string_view levelText, TAngleMap map, int block) const
{
    const double angle = Number(line, angleText, "angle");
    const double level = Number(line, levelText, "level");
    if (angle < -360 || angle > 360)
        FailAt(line, "angle " + Quote(angleText) + " lies outside -360..360");
    // Far beyond any measured level, and keeps the interpolation's arithmetic finite.
    if (std::fabs(level) > 1000)
        FailAt(line, "level " + Quote(levelText) + " lies outside -1000..1000 dB");
    if (cut.points.size() >= static_cast<std::size_t>(kMaxAnnouncedPoints))
        FailAt(line,
               "more than " + std::to_string(kMaxAnnouncedPoints) + " points in the " + cut.title);
    cut.points.push_back({angle, map(angle), level, line, block});
}

void TReaderBase::CloseCut(const TPatternCutPoints& cut, long announced) const
{
    const long held = static_cast<long>(cut.points.size());
    if (announced >= 0 && held < announced)
        FailAt(cut.headerLine, "the " + cut.title + " holds " + std::to_string(held) + " of the " +
                                   std::to_string(announced) + " points it announces");
    if (announced >= 0 && held > announced)
        FailAt(cut.headerLine, "the " + cut.title + " holds " + std::to_string(held) +
                                   " points but announces " + std::to_string(announced));
    if (held == 0)
        FailAt(cut.headerLine, "the " + cut.title + " holds no points");
}

void TReaderBase::NameFromFile(TFilePattern& pattern) const
{
    if (!TrimControl(pattern.name).empty())
        return;
    std::string base = fileName_.substr(fileName_.find_last_of('/') + 1);
    const std::size_t dot = base.rfind('.');
    if (dot != std::string::npos && dot > 0)
        base.resize(dot);
    pattern.name = base;
    pattern.nameFromFileName = true;
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

std::size_t FirstWords(std::string_view line, std::string_view (&words)[2])
{
    std::size_t count = 0, i = 0;
    while (count < 2 && i < line.size()) {
        while (i < line.size() && IsSeparator(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsSeparator(line[i]))
            ++i;
        if (i > start)
            words[count++] = line.substr(start, i - start);
    }
    return count;
}

std::vector<std::string_view> SplitTrimmed(std::string_view line, char separator)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = line.find(separator, start);
        fields.push_back(TrimControl(line.substr(
            start, at == std::string_view::npos ? std::string_view::npos : at - start)));
        if (at == std::string_view::npos)
            return fields;
        start = at + 1;
    }
}

std::vector<std::string_view> Fields(std::string_view line)
{
    return SplitTrimmed(line, ',');
}

std::string_view RestAfterWord(std::string_view line, std::string_view word)
{
    const std::size_t at = static_cast<std::size_t>(word.data() - line.data()) + word.size();
    return TrimControl(line.substr(at));
}

std::string Quote(std::string_view text)
{
    constexpr std::size_t kMax = 40;
    return "'" + std::string(text.substr(0, kMax)) + (text.size() > kMax ? "...'" : "'");
}

TStated StatedValue(std::string_view text)
{
    const std::vector<std::string_view> words = Words(text);
    if (words.empty())
        return {};
    // "65.0\xB0", "14.0dBd": the number stops where its characters do.
    std::string_view word = words.front();
    const std::size_t end = word.find_first_not_of("+-.0123456789");
    word = word.substr(0, end);
    double value = 0;
    if (!TryStrToFloat(word, value))
        return {};
    return {value, std::string(word)};
}

TStated StatedNumber(double value)
{
    return {value, FloatToStrGeneral(value)};
}

void ReadStatedGain(TReaderBase& reader, TFilePattern& pattern, std::size_t line,
                    std::string_view value, TGainUnit missingUnit)
{
    const std::vector<std::string_view> words = Words(value);
    std::string_view number = words.empty() ? std::string_view() : words.front();
    std::string_view unit;
    // The unit glued to the number ("17.1dBi") or the next word ("17.1 dBi").
    const std::size_t end = number.find_first_not_of("+-.0123456789");
    if (!IsNumber(number) && end != std::string_view::npos) {
        unit = number.substr(end);
        number = number.substr(0, end);
    }
    if (unit.empty() && words.size() > 1)
        unit = words[1];
    double gain = 0;
    if (!TryStrToFloat(number, gain)) {
        reader.Warn(line, "gain " + Quote(value) + " is not a number");
        return;
    }
    const std::string upper = UpperCase(unit.substr(0, 3));
    // "dBi)" or "dBi," still names the unit; "dBix" does not.
    const bool unitWord =
        unit.size() == 3 || (unit.size() > 3 && !std::isalnum(static_cast<unsigned char>(unit[3])));
    TGainUnit in = missingUnit;
    if (unitWord && upper == "DBI")
        in = TGainUnit::DBi;
    else if (unitWord && upper == "DBD")
        in = TGainUnit::DBd;
    const TStated stated{gain, std::string(number)};
    if (in == TGainUnit::DBi)
        pattern.gainDBi = stated;
    else
        SetGainDBd(pattern, stated);
}

void RemoveGain(TFilePattern& pattern, const TStated& gain)
{
    const double reference = gain ? *gain : HighestLevel(pattern);
    ShiftLevels(pattern.azimuth, -reference);
    ShiftLevels(pattern.elevation, -reference);
}

std::vector<std::string_view> Columns(std::string_view line)
{
    if (line.find(',') != std::string_view::npos)
        return Fields(line);
    return Words(line);
}

std::string FirstWordUpper(std::string_view line)
{
    std::string_view words[2];
    return FirstWords(line, words) ? UpperCase(words[0]) : std::string();
}

void SetGainDBd(TFilePattern& pattern, const TStated& dbd)
{
    pattern.gainDBd = dbd;
    if (dbd)
        pattern.gainDBi = StatedNumber(*dbd + kDipoleGainDBi);
}

void KeepText(TFilePattern& pattern, std::string_view key, std::string_view value,
              std::string_view suffix)
{
    if (!TrimControl(value).empty())
        pattern.recordTexts.emplace_back(std::string(key),
                                         std::string(TrimControl(value)) + std::string(suffix));
}

void ShiftLevels(TPatternCutPoints& cut, double offset)
{
    for (TPatternPoint& p : cut.points)
        p.level += offset;
}

double HighestLevel(const TFilePattern& pattern)
{
    double top = -1e300;
    for (const TPatternCutPoints* cut : {&pattern.azimuth, &pattern.elevation})
        for (const TPatternPoint& p : cut->points)
            top = std::max(top, p.level);
    return top;
}

} // namespace quv
