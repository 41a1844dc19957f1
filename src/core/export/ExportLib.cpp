#include "export/ExportLib.h"

#include "catalogue/Errors.h"
#include "catalogue/NumberText.h"
#include "catalogue/SharedLib.h"
#include "catalogue/TextFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>
#include <fstream>
#include <sstream>

namespace quv {

std::string FormatLogName(int formatIndex)
{
    if (formatIndex < 0 || formatIndex >= kExportFormatCount)
        return {};
    return std::string(ExportFormats()[static_cast<std::size_t>(formatIndex)].logName);
}

std::string ExportFormatNames()
{
    std::string names;
    for (const TExportFormat& format : ExportFormats())
        names += (names.empty() ? "" : ", ") + LowerCase(format.logName);
    return names;
}

int FindExportFormat(std::string_view nameOrIndex)
{
    if (!nameOrIndex.empty() && nameOrIndex.size() <= 2 &&
        nameOrIndex.find_first_not_of("0123456789") == std::string_view::npos) {
        int index = 0;
        for (char c : nameOrIndex)
            index = index * 10 + (c - '0');
        return index < kExportFormatCount ? index : -1;
    }
    const auto& formats = ExportFormats();
    for (std::size_t i = 0; i < formats.size(); ++i)
        if (SameTextIgnoringCase(nameOrIndex, formats[i].logName))
            return static_cast<int>(i);
    return -1;
}

static std::size_t FileNameStart(std::string_view path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

std::string ChangeFileExt(std::string_view path, std::string_view extension)
{
    const std::size_t start = FileNameStart(path);
    const auto dot = path.find_last_of('.');
    std::string out(dot == std::string_view::npos || dot < start ? path : path.substr(0, dot));
    out.append(extension);
    return out;
}

std::string ExtractFileName(std::string_view path)
{
    return std::string(path.substr(FileNameStart(path)));
}

std::string TargetBaseName(std::string_view path)
{
    return ChangeFileExt(ExtractFileName(path), "");
}

std::string MatchTargetPath(const std::string& folder, const TQuvFile& record)
{
    std::string path = folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += record.PartNumber;
    path += '_';
    path += record.PatternFileName;
    return path;
}

void CallExportWriter(const std::string& path, const TQuvFile& record, int formatIndex,
                      TExportRun& run)
{
    if (formatIndex < 0 || formatIndex >= kExportFormatCount)
        throw EQuvError(Format("Export format %d does not exist", {formatIndex}));
    const TExportFormat& format = ExportFormats()[static_cast<std::size_t>(formatIndex)];
    format.writer(path, record, run);
}

bool WriteExportFile(const std::string& path, const TQuvFile& record, int formatIndex,
                     const TExportDate& today, std::string& message)
{
    message.clear();
    try {
        TExportRun run{today};
        CallExportWriter(path, record, formatIndex, run);
        run.written.Flush();
        return true;
    } catch (const EFCreateError&) {
        message =
            Format("Unable to save \"%s\".\r\rDrive may not be ready or is read-only.", {path});
    } catch (const EInOutError&) {
        message =
            Format("Unable to save \"%s\".\r\rDrive may not be ready or is read-only.", {path});
    } catch (const std::exception& e) {
        message = Format("An error occured while trying to save \"%s\".\r\rWith message, \"%s\".",
                         {path, e.what()});
    }
    return false;
}

static std::string SaveFailureText(const TQuvFile& record, const std::string& path,
                                   std::string_view what)
{
    return Format(
        "An error occured while attempting to save \"%s\" to \"%s\".\rWith message, \"%s\".",
        {record.PartNumber, path, what});
}

// The file the writer makes of `path` (its first, for a pair): the one a failure is about, and
// the one the user would look for in the folder.
static std::string WrittenPath(const std::string& path, int formatIndex)
{
    if (formatIndex < 0 || formatIndex >= kExportFormatCount)
        return path;
    const std::string_view extensions =
        ExportFormats()[static_cast<std::size_t>(formatIndex)].extensions;
    const std::string_view first = extensions.substr(0, extensions.find(' '));
    return first.empty() ? path : ChangeFileExt(path, first);
}

void TryWriteExportFile(const std::string& path, const TQuvFile& record, int formatIndex,
                        TExportRun& run, std::string& errorText)
{
    errorText.clear();
    try {
        CallExportWriter(path, record, formatIndex, run);
    } catch (const std::exception& e) {
        errorText = SaveFailureText(record, WrittenPath(path, formatIndex), e.what());
    }
}

void TryExportMatch(const std::string& folder, const TQuvFile& record, int formatIndex,
                    TExportRun& run, std::string& errorText)
{
    const std::string path = MatchTargetPath(folder, record);
    const std::string name = record.PartNumber + "_" + record.PatternFileName;
    if (!IsSafeFileName(name)) {
        // A backslash stays inside the folder here, but planning tools on other systems would
        // split the name there when the file is carried over; it is refused for them.
        const bool leaves = name.find('/') != std::string::npos;
        const std::string why =
            !leaves && name.find('\\') != std::string::npos
                ? "The file name \"" + name +
                      "\" holds a backslash, which planning tools on other systems read as a "
                      "folder separator"
                : "The file name \"" + name + "\" would leave the destination folder";
        errorText = SaveFailureText(record, WrittenPath(path, formatIndex), why);
        return;
    }
    TryWriteExportFile(path, record, formatIndex, run, errorText);
}

TExportAllReport ExportAllMatches(const TQuvFileList& list, const std::string& folder,
                                  int formatIndex, const TExportDate& today,
                                  const std::function<void(int done)>& step)
{
    TExportAllReport report;
    report.matches = list.Count();
    TExportRun run{today};
    std::string errorText;
    int done = 0;
    for (const auto& item : list) {
        TryExportMatch(folder, *item.object, formatIndex, run, errorText);
        if (!errorText.empty()) {
            ++report.failures;
            report.log.push_back(Format("Error %d", {report.failures}));
            report.log.push_back(errorText);
            report.log.emplace_back();
        }
        ++done;
        if (step)
            step(done);
    }
    // One flush for the whole run: success is reported only for files that are on disk. When
    // it fails, none of them can be vouched for.
    try {
        run.written.Flush();
    } catch (const std::exception& e) {
        report.log.push_back(Format("Error %d", {report.failures + 1}));
        report.log.push_back(
            Format("An error occurred while writing the exported files to disk in \"%s\".\rWith "
                   "message, \"%s\".",
                   {folder, e.what()}));
        report.log.emplace_back();
        report.failures = report.matches;
    }
    if (report.failures > 0) {
        report.log.push_back("Export to " + FormatLogName(formatIndex));
        report.log.push_back(Format("%d out of %d files were successfully exported",
                                    {report.Succeeded(), report.matches}));
    }
    return report;
}

std::string ExportSuccessMessage(const std::string& folder)
{
    return Format("Antenna files were exported successfully to directory \"%s\".", {folder});
}

std::string LogBytes(const std::vector<std::string>& lines)
{
    // A message's sentences are parted by a bare carriage return, which no text viewer here
    // takes as a line break: each becomes a line of its own, as the log window shows it.
    TTextBuilder text;
    for (const auto& line : lines) {
        std::string_view rest = line;
        for (std::size_t cr = rest.find('\r'); cr != std::string_view::npos; cr = rest.find('\r')) {
            text.Line(rest.substr(0, cr));
            rest.remove_prefix(cr + 1);
        }
        text.Line(rest);
    }
    return text.Take();
}

std::string ErrorLogFileName(const std::string& chosen)
{
    const std::size_t start = FileNameStart(chosen);
    const auto dot = chosen.find_last_of('.');
    if (dot == std::string::npos || dot < start)
        return chosen + ".txt";
    return chosen;
}

std::string SettingsFilePath(const std::string& programFolder)
{
    std::string path = programFolder;
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path + "quvselect.ini";
}

namespace {

constexpr std::string_view kSection = "EXPORTALL";
constexpr std::string_view kKey = "path";

bool IsSectionLine(std::string_view line, std::string_view& name)
{
    const std::string_view t = TrimControl(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        return false;
    name = TrimControl(t.substr(1, t.size() - 2));
    return true;
}

bool IsKeyLine(std::string_view line, std::string_view key, std::string_view& value)
{
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    if (!SameTextIgnoringCase(TrimControl(line.substr(0, eq)), key))
        return false;
    value = TrimControl(line.substr(eq + 1));
    return true;
}

bool ReadSettingsText(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return true;
}

} // namespace

std::string ReadExportFolder(const std::string& programFolder)
{
    std::string bytes;
    if (!ReadSettingsText(SettingsFilePath(programFolder), bytes))
        return {};
    bool inSection = false;
    for (std::string_view line : SplitLines(bytes)) {
        std::string_view name, value;
        if (IsSectionLine(line, name))
            inSection = SameTextIgnoringCase(name, kSection);
        else if (inSection && IsKeyLine(line, kKey, value))
            return std::string(value);
    }
    return {};
}

void WriteExportFolder(const std::string& programFolder, const std::string& folder)
{
    const std::string path = SettingsFilePath(programFolder);
    std::string bytes;
    ReadSettingsText(path, bytes);
    const std::string entry = std::string(kKey) + "=" + folder;

    // Keep every other line of an existing file; replace or add the one value.
    TTextBuilder text;
    bool inSection = false, sectionSeen = false, written = false;
    for (std::string_view line : SplitLines(bytes)) {
        std::string_view name, value;
        if (IsSectionLine(line, name)) {
            if (inSection && !written) {
                text.Line(entry);
                written = true;
            }
            inSection = SameTextIgnoringCase(name, kSection);
            sectionSeen = sectionSeen || inSection;
        } else if (inSection && IsKeyLine(line, kKey, value)) {
            if (!written)
                text.Line(entry);
            written = true;
            continue;
        }
        text.Line(line);
    }
    if (!written) {
        if (!sectionSeen)
            text.Line("[" + std::string(kSection) + "]");
        text.Line(entry);
    }
    try {
        CommitFileDurably(path, text.Bytes());
    } catch (const std::exception&) {
        throw EQuvError("Unable to write to " + path);
    }
}

std::vector<TMarkedWord> SplitMarkedText(std::string_view caption)
{
    constexpr std::string_view open = "<b>", close = "</b>";
    std::vector<TMarkedWord> words;
    std::size_t start = 0;
    while (true) {
        const auto blank = caption.find(' ', start);
        const std::string_view word = caption.substr(
            start, blank == std::string_view::npos ? std::string_view::npos : blank - start);
        if (blank == std::string_view::npos && word.empty())
            break;
        const auto end =
            word.rfind(open, 0) == 0 ? word.find(close, open.size()) : std::string_view::npos;
        if (end != std::string_view::npos && end + close.size() == word.size())
            words.push_back({std::string(word.substr(open.size(), end - open.size())), true});
        else
            words.push_back({std::string(word), false});
        if (blank == std::string_view::npos)
            break;
        start = blank + 1;
    }
    return words;
}

void TExportRun::Commit(std::vector<std::pair<std::string, std::string>> files)
{
    if (!staging) {
        if (files.size() == 1)
            CommitFile(files.front().first, files.front().second, written);
        else
            CommitFiles(files, written);
        return;
    }
    for (auto& file : files)
        staged.push_back(std::move(file));
}

void TExportRun::CommitStaged()
{
    std::vector<std::pair<std::string, std::string>> files;
    std::swap(files, staged);
    CommitFiles(files, written);
}

std::string VswrRatio(const TQuvFile& record, std::string_view pattern)
{
    // The ratio inside the brackets, without the sign character after "(".
    const std::string& text = record.ReturnLoss;
    const auto open = text.find('(');
    const auto close = text.find(')');
    if (open == std::string::npos || close == std::string::npos)
        return text;
    const std::size_t start = open + 2;
    const std::string_view inner = close > start && start <= text.size()
                                       ? std::string_view(text).substr(start, close - start)
                                       : std::string_view();
    return Format(pattern, {StrToFloat(inner)});
}

double LevelValue(std::string_view text)
{
    return StrToFloat(text);
}

namespace {

// Copies "[-]digits[.digits]" with at most `maxInt` integer digits (no leading zero) and at
// most `decimals` decimals, padded to `decimals`. Such a text is its own correctly rounded
// result; anything else returns false and takes the general path.
bool AppendPlainDecimal(std::string& out, std::string_view text, int maxInt, int decimals,
                        bool keepSign)
{
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        i = 1;
    const std::size_t intStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    const std::size_t intDigits = i - intStart;
    if (intDigits == 0 || intDigits > static_cast<std::size_t>(maxInt) ||
        (intDigits > 1 && text[intStart] == '0'))
        return false;
    std::size_t fracStart = i, fracDigits = 0;
    if (i < text.size()) {
        if (text[i] != '.')
            return false;
        fracStart = ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        fracDigits = i - fracStart;
        if (fracDigits == 0 || i != text.size() || fracDigits > static_cast<std::size_t>(decimals))
            return false;
    }
    if (negative && keepSign) {
        // "-0.00" would need the formatter's own rule for a negative zero.
        if (text.find_first_of("123456789") == std::string_view::npos)
            return false;
        out += '-';
    }
    out.append(text.substr(intStart, intDigits));
    if (decimals > 0) {
        out += '.';
        out.append(text.substr(fracStart, fracDigits));
        out.append(static_cast<std::size_t>(decimals) - fracDigits, '0');
    }
    return true;
}

// The absolute value of "[-]digits.digits" with up to six integer and six decimal digits, rounded
// to fewer decimals digit by digit. The double nearest such a text lies far closer to it than
// any rounding midpoint, so only an exact tie (the dropped digits "5", "50"...) needs the
// double's own expansion; that and anything else returns false.
bool AppendRoundedAbsDecimal(std::string& out, std::string_view text, int decimals)
{
    std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    const std::size_t intStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    const std::size_t intDigits = i - intStart;
    if (intDigits == 0 || intDigits > 6 || i >= text.size() || text[i] != '.')
        return false;
    const std::size_t fracStart = ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    const std::size_t fracDigits = i - fracStart;
    const std::size_t kept = static_cast<std::size_t>(decimals);
    if (i != text.size() || fracDigits <= kept || fracDigits > 6)
        return false;
    const std::string_view dropped = text.substr(fracStart + kept);
    if (dropped[0] == '5' && dropped.find_first_not_of('0', 1) == std::string_view::npos)
        return false;
    std::string digits(text.substr(intStart, intDigits));
    digits.append(text.substr(fracStart, kept));
    if (dropped[0] >= '5') {
        std::size_t k = digits.size();
        while (k > 0 && digits[k - 1] == '9')
            digits[--k] = '0';
        if (k == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[k - 1];
    }
    const std::size_t intLen = digits.size() - kept;
    const std::size_t lead = std::min(digits.find_first_not_of('0'), intLen - 1);
    out.append(digits, lead, intLen - lead);
    if (kept > 0) {
        out += '.';
        out.append(digits, intLen, kept);
    }
    return true;
}

} // namespace

void AppendAbsLevel(std::string& out, std::string_view text, int decimals)
{
    if (AppendPlainDecimal(out, text, 6, decimals, false) ||
        AppendRoundedAbsDecimal(out, text, decimals))
        return;
    static constexpr std::string_view patterns[] = {"%.0f", "%.1f", "%.2f", "%.3f"};
    out += Format(patterns[std::clamp(decimals, 0, 3)], {std::fabs(StrToFloat(text))});
}

void AppendSignedLevel52(std::string& out, std::string_view text)
{
    // Three integer digits and two decimals stay within the five significant digits.
    if (AppendPlainDecimal(out, text, 3, 2, true))
        return;
    out += FormatFixed(StrToFloat(text), 5, 2);
}

void AppendInt(std::string& out, int value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

namespace {

constexpr std::int64_t kMicros = 1000000;

// "[-]digits[.digits]" with at most 6 digits on either side, in millionths; false otherwise.
bool PlainMicros(std::string_view text, std::int64_t& micros)
{
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        i = 1;
    std::int64_t whole = 0, fraction = 0;
    const std::size_t intStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        whole = whole * 10 + (text[i++] - '0');
    if (i == intStart || i - intStart > 6)
        return false;
    std::int64_t scale = kMicros;
    if (i < text.size()) {
        if (text[i] != '.' || ++i == text.size())
            return false;
        for (; i < text.size(); ++i) {
            if (text[i] < '0' || text[i] > '9' || scale == 1)
                return false;
            scale /= 10;
            fraction += (text[i] - '0') * scale;
        }
    }
    const std::int64_t value = whole * kMicros + fraction;
    micros = negative ? -value : value;
    return true;
}

// The "%1.<decimals>f" text of an exact sum. A sum that lies exactly halfway between two results
// is left to the general formatter: there the double's own expansion decides. Any other sum is
// at least a millionth from a halfway point, far more than the rounding error of the doubles, so
// both round it the same way.
bool AppendExactMicros(std::string& out, std::int64_t micros, int decimals)
{
    static constexpr std::int64_t units[] = {100000, 10000, 1000};
    const std::int64_t unit = units[decimals - 1];
    const std::int64_t magnitude = micros < 0 ? -micros : micros;
    const std::int64_t rest = magnitude % unit;
    if (rest * 2 == unit)
        return false;
    const std::int64_t rounded = magnitude / unit + (rest * 2 > unit ? 1 : 0);
    // A negative sum that rounds to zero is written without its sign, as Format does.
    if (micros < 0 && rounded != 0)
        out += '-';
    std::int64_t scale = 1;
    for (int d = 0; d < decimals; ++d)
        scale *= 10;
    AppendInt(out, static_cast<int>(rounded / scale));
    out += '.';
    const std::size_t at = out.size();
    AppendInt(out, static_cast<int>(rounded % scale + scale));
    out.erase(at, 1); // the leading "1" of scale kept the decimals' zeros
    return true;
}

bool AppendExactSum(std::string& out, const TLevelBase& base, std::string_view level, int decimals)
{
    std::int64_t micros = 0;
    return base.exact && PlainMicros(level, micros) &&
           AppendExactMicros(out, base.micros + micros, decimals);
}

} // namespace

TLevelBase LevelBase(std::string_view text)
{
    TLevelBase base;
    base.value = LevelValue(text);
    base.exact = PlainMicros(text, base.micros);
    return base;
}

TLevelBase AddLevel(const TLevelBase& base, std::string_view level)
{
    const TLevelBase add = LevelBase(level);
    return {AddDb(base.value, add.value), base.exact && add.exact, base.micros + add.micros};
}

void AppendLevelSum(std::string& out, const TLevelBase& base, std::string_view level, int decimals)
{
    decimals = std::clamp(decimals, 1, 3);
    if (AppendExactSum(out, base, level, decimals))
        return;
    static constexpr std::string_view patterns[] = {"%1.1f", "%1.2f", "%1.3f"};
    out += Format(patterns[decimals - 1], {AddDb(base.value, LevelValue(level))});
}

void AppendZeroPaddedLevelSum(std::string& out, const TLevelBase& base, std::string_view level,
                              int width)
{
    std::string sum;
    if (!AppendExactSum(sum, base, level, 1)) {
        out += FormatZeroPadded(width, AddDb(base.value, LevelValue(level)));
        return;
    }
    // FormatZeroPadded's rule: zeros fill the field after the sign.
    const bool negative = sum[0] == '-';
    if (negative)
        out += '-';
    if (sum.size() < static_cast<std::size_t>(width))
        out.append(static_cast<std::size_t>(width) - sum.size(), '0');
    out.append(sum, negative ? 1 : 0);
}

void AppendSignedLevel(std::string& out, std::string_view text, int decimals)
{
    if (AppendPlainDecimal(out, text, 6, decimals, true))
        return;
    static constexpr std::string_view patterns[] = {"%.0f", "%.1f", "%.2f", "%.3f"};
    out += Format(patterns[std::clamp(decimals, 0, 3)], {StrToFloat(text)});
}

void AddAnglePoint(TTextBuilder& text, std::string& line, int angle, std::string_view separator,
                   std::string_view level, int decimals)
{
    line.clear();
    if (angle < 0) {
        line += '-';
        angle = -angle;
    }
    AppendInt(line, angle);
    line += separator;
    AppendSignedLevel(line, level, decimals);
    text.Line(line);
}

} // namespace quv
