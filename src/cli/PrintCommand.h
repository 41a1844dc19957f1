// "quvtool print" and "quvtool summary": the print command's pages of chosen antennas in one PDF
// file, and the two catalogue summary files, without the window.
#pragma once

#include <string>
#include <vector>

namespace quv {

// print [--catalogue DIR] --part P [--part P ...] [--job both|specs|patterns] --pdf FILE.pdf.
// Returns 0 when the PDF was written, 1 when a part number is unknown, a pattern's points are
// not numbers or the file cannot be written, 2 on a usage error.
int PrintCommand(const std::vector<std::string>& args);

// summary [--catalogue DIR] --layout quv|antenna --out FILE. Returns 0 when written, 1 when the
// file cannot be written, 2 on a usage error.
int SummaryCommand(const std::vector<std::string>& args);

} // namespace quv
