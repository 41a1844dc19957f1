// Nokia, ".msi": short keyword header and both cuts with one decimal, 727 lines.
#pragma once

#include "catalogue/QuvFile.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"

#include <string>

namespace quv {

std::string BuildNokia(const std::string& path, const TQuvFile& record);
void ExportNokia(const std::string& path, const TQuvFile& record, TExportRun& run);
extern const TFileFormat kNokiaFormat;

} // namespace quv
