// CellCAD, ".hor" and ".ver": 368 lines each of zero-padded angles and dBi levels; both files are
// committed together or not at all. Dated: "today" is an argument, so building stays pure.
#pragma once

#include "catalogue/QuvFile.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"

#include <string>

namespace quv {

struct TCellCadFiles {
    std::string hor;
    std::string ver;
};
TCellCadFiles BuildCellCad(const std::string& path, const TQuvFile& record,
                           const TExportDate& today);
void ExportCellCad(const std::string& path, const TQuvFile& record, TExportRun& run);
extern const TFileFormat kCellCadFormat;

} // namespace quv
