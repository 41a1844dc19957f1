// The two catalogue summary files: one "|"-separated row of specification values per catalogue
// record under their header lines. The builders return the file's bytes; the menu commands and
// quvtool commit them whole.
#pragma once

#include "catalogue/QuvLib.h"

#include <string>

namespace quv {

enum class TSummaryLayout {
    QuvDat,     // 36 columns under a short and a long header line
    AntennaDat, // 40 columns under one header line, mount part numbers placed by antenna kind
};

// One row per record of `records`, in list order; values are written as stored, unquoted.
std::string BuildSummary(TSummaryLayout layout, const TQuvFileList& records);

// Builds the layout from `records` and writes it to `path` all or nothing (EFCreateError,
// EInOutError).
void CreateSummaryFile(TSummaryLayout layout, const TQuvFileList& records, const std::string& path);

} // namespace quv
