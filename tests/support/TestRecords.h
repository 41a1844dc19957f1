// Builders of small data files for the catalogue tests.
#pragma once

#include <string>

namespace quvtest {

// A data file with the given header lines and `points` pattern lines; level of line k is
// "-<k>.5" so every position is recognisable. Lines end in CR LF.
inline std::string MakeQuvText(const std::string& headerLines, int points = 722)
{
    std::string text = "[HEADER]\r\n" + headerLines + "\r\n[POINTS]\r\n";
    for (int k = 0; k < points; ++k)
        text += std::to_string((k % 361) - 180) + "=-" + std::to_string(k) + ".5\r\n";
    return text;
}

} // namespace quvtest
