// quvtool metrics and the strict part of quvtool check: the pattern metrics measured from the
// cuts beside the datasheet values, one tab-separated row per antenna, and the findings a
// catalogue maker should look at before shipping the files.
#pragma once

#include "catalogue/QuvFile.h"
#include "catalogue/QuvLib.h"

#include <ostream>
#include <string>
#include <vector>

namespace quv {

// The header line and one row of `quvtool metrics` (no line end). Unavailable values are empty
// cells; datasheet values are the record's texts with any TAB turned into a blank.
std::string MetricsHeaderLine();
std::string MetricsRowLine(const TQuvFile& record);

// Writes "NAME: message" for every finding of every record of the catalogue (NAME is the data
// file's bare name, as for load failures); the file's bytes are read again for the -180/+180
// lines. Returns the number of findings.
int ReportCatalogueFindings(const TCatalogue& catalogue, std::ostream& out);

int MetricsCommand(const std::vector<std::string>& args);

} // namespace quv
