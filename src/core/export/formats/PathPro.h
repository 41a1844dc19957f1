// PathPro, ".ant": "::HEADER" of ten unlabelled values and both cuts with tab-separated points,
// 735 lines.
#pragma once

#include "catalogue/QuvFile.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"

#include <string>

namespace quv {

std::string BuildPathPro(const std::string& path, const TQuvFile& record);
void ExportPathPro(const std::string& path, const TQuvFile& record, TExportRun& run);
extern const TFileFormat kPathProFormat;

} // namespace quv
