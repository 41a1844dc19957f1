// Siemens, ".dat": keyword header and both cuts with one decimal, 732 lines.
#pragma once

#include "catalogue/QuvFile.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"

#include <string>

namespace quv {

std::string BuildSiemens(const std::string& path, const TQuvFile& record);
void ExportSiemens(const std::string& path, const TQuvFile& record, TExportRun& run);
extern const TFileFormat kSiemensFormat;

} // namespace quv
