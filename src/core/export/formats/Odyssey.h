// Odyssey, ".txt": five tab-separated header lines and both cuts numbered 1 to 360 as positive
// attenuation, 727 lines.
#pragma once

#include "catalogue/QuvFile.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"

#include <string>

namespace quv {

std::string BuildOdyssey(const std::string& path, const TQuvFile& record);
void ExportOdyssey(const std::string& path, const TQuvFile& record, TExportRun& run);
extern const TFileFormat kOdysseyFormat;

} // namespace quv
