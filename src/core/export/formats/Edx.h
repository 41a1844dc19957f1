// EDX, ".edx": model and dBi gain line, the azimuth cut and a front and a back vertical cut of
// 181 points each, levels with their sign, 727 lines.
#pragma once

#include "catalogue/QuvFile.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"

#include <string>

namespace quv {

std::string BuildEdx(const std::string& path, const TQuvFile& record);
void ExportEdx(const std::string& path, const TQuvFile& record, TExportRun& run);
extern const TFileFormat kEdxFormat;

} // namespace quv
