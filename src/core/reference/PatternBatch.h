// Batches of other makers' pattern files: import into a catalogue folder and conversion into one
// of the export formats. One bad file is one failed item with the reader's message; the batch
// goes on. quvtool and the window both run these and only show the report.
#pragma once

#include "export/ExportClock.h"

#include <string>
#include <vector>

namespace quv {

struct TBatchItem {
    std::string source;               // the file read
    std::vector<std::string> targets; // the files written
    std::string error;                // empty when the file was imported or converted
    std::vector<std::string> warnings;
};

struct TBatchReport {
    std::vector<TBatchItem> items;
    int Failed() const;
    int Succeeded() const { return static_cast<int>(items.size()) - Failed(); }
};

// The files named and the files in the folders named (not their subfolders), each folder's in
// name order. The second file of a two-file pair is left out when its partner is
// in the list, as reading either reads both.
std::vector<std::string> CollectPatternFiles(const std::vector<std::string>& filesOrFolders);

// Writes one data file per pattern into `folder` (created when missing), named after the
// pattern's part number. An existing file is replaced only when `replace` is set. The files are
// on disk when it returns; when they could not be made durable, every written item fails.
TBatchReport ImportPatternFiles(const std::vector<std::string>& files, const std::string& folder,
                                bool replace);

// Writes each file in the export format `formatIndex` into `folder`, under the file's own base
// name, all or nothing per file as the export does, with `today` in dated files. Durable as the
// import's files are.
TBatchReport ConvertPatternFiles(const std::vector<std::string>& files, const std::string& folder,
                                 int formatIndex, const TExportDate& today);

} // namespace quv
