// CE4, ".ce4", and PDF, ".pdf": one file under two extensions, the pipe tables without the
// horizon level and without empty lines, 451 lines.
#pragma once

#include "catalogue/QuvFile.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"

#include <string>

namespace quv {

std::string BuildCe4(const std::string& path, const TQuvFile& record, const TExportDate& today);
void ExportCe4(const std::string& path, const TQuvFile& record, TExportRun& run);
void ExportPdf(const std::string& path, const TQuvFile& record, TExportRun& run);
extern const TFileFormat kCe4Format;
extern const TFileFormat kPdfFormat;

} // namespace quv
