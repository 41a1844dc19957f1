// Data files saved by a modern editor are UTF-8; the catalogue's texts are Windows-1252 bytes.
// A file that is valid UTF-8 and holds at least one multi-byte sequence is read as UTF-8 and its
// texts are turned into Windows-1252 once, where it is loaded; a character that code page cannot
// hold becomes "?" and is counted. Any other file is Windows-1252 already and kept byte for byte.
#pragma once

#include <string>
#include <string_view>

namespace quv {

// Valid UTF-8 with at least one multi-byte sequence: a file plain ASCII or Windows-1252 never is
// in practice.
bool IsUtf8Text(std::string_view bytes);

// The Windows-1252 bytes of UTF-8 text; each character without a Windows-1252 form becomes "?"
// and adds one to `replaced`.
std::string Utf8ToWindows1252(std::string_view utf8, int& replaced);

} // namespace quv
