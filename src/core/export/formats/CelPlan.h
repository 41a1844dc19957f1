// CelPlan, ".ant": tab-separated header and both cuts 0..359 in dBd, 734 lines.
#pragma once

#include "catalogue/QuvFile.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"

#include <string>

namespace quv {

std::string BuildCelPlan(const std::string& path, const TQuvFile& record);
void ExportCelPlan(const std::string& path, const TQuvFile& record, TExportRun& run);
extern const TFileFormat kCelPlanFormat;

} // namespace quv
