// Tornado, ".txt": the keyword layout with a NAME keyword and two more header lines, 732 lines.
#pragma once

#include "catalogue/QuvFile.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"

#include <string>

namespace quv {

std::string BuildTornado(const std::string& path, const TQuvFile& record);
void ExportTornado(const std::string& path, const TQuvFile& record, TExportRun& run);
extern const TFileFormat kTornadoFormat;

} // namespace quv
