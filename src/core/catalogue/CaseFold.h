// Letter case in the data files' code page (Windows-1252): every comparison "without regard to
// case" (part numbers, section names and keys, the command-line part number, the closest match)
// folds with this one table, so that "ÉX-1" and "éX-1" are the same part number everywhere, as
// they are in the catalogue's order.
#pragma once

#include <string>
#include <string_view>

namespace quv {

// The lower-case letter of a Windows-1252 byte (A-Z, À-Þ except ×, Š, Œ, Ž, Ÿ); other bytes as
// they are.
char FoldCase(char c);
std::string FoldCase(std::string_view text);

} // namespace quv
