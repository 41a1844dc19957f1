// NSMA, ".dap": "KEYWORD:,value" lines, 772 lines.
#pragma once

#include "catalogue/QuvFile.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"

#include <string>

namespace quv {

std::string BuildNsma(const std::string& path, const TQuvFile& record);
void ExportNsma(const std::string& path, const TQuvFile& record, TExportRun& run);
extern const TFileFormat kNsmaFormat;

} // namespace quv
