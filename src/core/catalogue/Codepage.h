// The display boundary: record texts are single-byte Windows-1252 bytes; widgets and painters
// want QString. Every conversion between the two goes through this pair.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace quv {

QString ToQString(std::string_view bytes);
std::string FromQString(const QString& text); // characters outside the code page become "?"

} // namespace quv
