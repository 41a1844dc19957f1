// QEDesign and CDMA, ".txt": 22 tab-commented specification lines and both cuts with two decimals,
// 746 lines. The two files differ only in the gain line (dBd for QEDesign, dBi for CDMA).
#pragma once

#include "catalogue/QuvFile.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"

#include <string>

namespace quv {

std::string BuildQeDesign(const std::string& path, const TQuvFile& record);
void ExportQeDesign(const std::string& path, const TQuvFile& record, TExportRun& run);
std::string BuildCdma(const std::string& path, const TQuvFile& record);
void ExportCdma(const std::string& path, const TQuvFile& record, TExportRun& run);
extern const TFileFormat kQeDesignFormat;
extern const TFileFormat kCdmaFormat;

} // namespace quv
