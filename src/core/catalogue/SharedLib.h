// Section and text helpers shared by the loader and the writers: a data file is split into
// lines once, sections are found by whole-line comparison, values are the text after "=".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quv {

using TLines = std::vector<std::string_view>;

// Splits text into lines ending at CR LF, LF or CR; a NUL byte ends the text. The views point
// into `text`, which must outlive them.
TLines SplitLines(std::string_view text);

// Reads a whole file into `bytes`; throws EFOpenError with the path when it cannot be opened.
void ReadWholeFile(const std::string& path, std::string& bytes);

// Finds the first line equal to `name` (case-insensitive, no trimming) and replaces `target`
// with the line after it and every following line up to the first blank one. Leaves `target`
// unchanged when the section line is absent.
void ExtractSection(std::string_view name, const TLines& source, TLines& target);

// The text after the first `delimiter`, or the whole text when it does not occur.
std::string_view TextAfter(std::string_view text, char delimiter);

// True when the text is empty after removing characters with codes 0 to 32 at both ends.
bool IsBlankLine(std::string_view line);
std::string_view TrimControl(std::string_view text);

// Equal when folded with the code page's letter case (FoldCase).
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

} // namespace quv
