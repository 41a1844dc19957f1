// What every pattern-file reader shares: the file's lines, messages that name the file and the
// line, number parsing with limits, the gain reader, and points stored at their record angle.
// Internal to the readers (PatternReaders.h is the public face).
#pragma once

#include "reference/PatternReaders.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quv {

using TAngleMap = double (*)(double fileAngle);

class TReaderBase {
public:
    TReaderBase(std::string_view bytes, const std::string& fileName);

    [[noreturn]] void Fail(const std::string& what,
                           std::optional<TFindingKind> kind = std::nullopt) const;
    [[noreturn]] void FailAt(std::size_t line, const std::string& what,
                             std::optional<TFindingKind> kind = std::nullopt) const;
    void Warn(std::size_t line, const std::string& what,
              std::optional<TFindingKind> kind = std::nullopt);

    // The value of a text that must be a number; a message naming the line otherwise.
    double Number(std::size_t line, std::string_view text, const char* what) const;
    // A whole point count from 1 to a limit no measured cut reaches.
    long Count(std::size_t line, std::string_view text) const;
    // Parses and stores one point; the level is taken as the file writes it.
    void AddPoint(TPatternCutPoints& cut, std::size_t line, std::string_view angle,
                  std::string_view level, TAngleMap map, int block = 0) const;
    // Fails when a cut holds no points, or not the number it announced (`announced` < 0: none).
    void CloseCut(const TPatternCutPoints& cut, long announced) const;

    // Sets the file's base name when the pattern names none.
    void NameFromFile(TFilePattern& pattern) const;

    const std::vector<std::string_view>& Lines() const { return lines_; }
    const std::string& FileName() const { return fileName_; }
    std::vector<TReadNote>& Notes() { return notes_; }

private:
    std::vector<std::string_view> lines_;
    const std::string& fileName_;
    std::vector<TReadNote> notes_;
};

// Blank-separated words (any control character separates too).
std::vector<std::string_view> Words(std::string_view line);
// The first two words of a line, without building a list; returns how many there are (0 to 2).
std::size_t FirstWords(std::string_view line, std::string_view (&words)[2]);
// Comma-separated fields, each trimmed.
std::vector<std::string_view> Fields(std::string_view line);
// Fields split at `separator`, each trimmed.
std::vector<std::string_view> SplitTrimmed(std::string_view line, char separator);
// The text after the first word of a line, trimmed.
std::string_view RestAfterWord(std::string_view line, std::string_view word);
// A value quoted for a message, cut at 40 characters.
std::string Quote(std::string_view text);
// The first word of a value as a stated number (text kept); empty when it is not a number.
TStated StatedValue(std::string_view text);
// A number the reader derived, in the shortest general form.
TStated StatedNumber(double value);
// A gain stated in dBd: both gains of the pattern.
void SetGainDBd(TFilePattern& pattern, const TStated& dbd);
enum class TGainUnit { DBd, DBi };
// The one reader of a gain stated with its unit: "15", "15.5 dBi", "17.1dBi", "15.5 DBD typical":
// the number, then dBd or dBi in any letter case (glued to it or the next word), trailing words
// ignored; a gain without a unit is in `missingUnit`, the format's rule. A value that does not
// start with a number is noted on `line` and leaves the gains empty.
void ReadStatedGain(TReaderBase& reader, TFilePattern& pattern, std::size_t line,
                    std::string_view value, TGainUnit missingUnit);
// Keeps a datasheet text for the data file's header key, when there is one.
void KeepText(TFilePattern& pattern, std::string_view key, std::string_view value,
              std::string_view suffix = {});
// Every point's level plus `offset`.
void ShiftLevels(TPatternCutPoints& cut, double offset);
// The highest level of both cuts.
double HighestLevel(const TFilePattern& pattern);
// Removes `gain` from every level, or the highest level when the file states no gain.
void RemoveGain(TFilePattern& pattern, const TStated& gain);
// A line of two numbers split at commas, tabs or blanks.
std::vector<std::string_view> Columns(std::string_view line);
// The first word of a line, in upper case.
std::string FirstWordUpper(std::string_view line);

} // namespace quv
