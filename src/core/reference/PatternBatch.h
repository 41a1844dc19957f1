// Batches of other makers' pattern files: import into a catalogue folder and conversion into one
// of the export formats. One bad file is one failed item with the reader's message; the batch
// goes on. quvtool and the window both run these and only show the report.
#pragma once

#include "export/ExportClock.h"

#include <functional>
#include <string>
#include <vector>

namespace quv {

struct TBatchItem {
    std::string source;               // the file read
    std::vector<std::string> targets; // the files written
    std::string error;                // empty when the file was imported or converted
    std::vector<std::string> warnings;
    std::vector<std::string> partNumbers; // an import's antennas, one for each target
    std::vector<std::string> skipped;     // existing files the user chose to keep
};

struct TBatchReport {
    std::vector<TBatchItem> items;
    // Files not read because the user stopped the import.
    std::vector<std::string> cancelled;
    int Failed() const;
    // Items that wrote nothing because every file they would have replaced was kept.
    int Skipped() const;
    int Succeeded() const { return static_cast<int>(items.size()) - Failed() - Skipped(); }
};

// What to do with a data file the import would replace.
enum class TReplaceAnswer { Replace, ReplaceAll, Skip, Cancel };
// Asked once for each existing target, with the antenna's part number and the file read.
using TAskReplace = std::function<TReplaceAnswer(
    const std::string& target, const std::string& partNumber, const std::string& source)>;

// The files named and the files in the folders named (not their subfolders), each folder's in
// name order. The second file of a two-file pair is left out when its partner is
// in the list, as reading either reads both.
std::vector<std::string> CollectPatternFiles(const std::vector<std::string>& filesOrFolders);

// Writes one data file per pattern into `folder` (created when missing), named after the
// pattern's part number. An existing file is replaced only when `replace` is set. The files are
// on disk when it returns; when they could not be made durable, every written item fails.
TBatchReport ImportPatternFiles(const std::vector<std::string>& files, const std::string& folder,
                                bool replace);
// The same, asking `ask` about each existing file instead. ReplaceAll replaces it and every later
// one without asking; Skip keeps it and writes the item's other files; Cancel reads no further
// file, leaving what was written before (the file being read writes nothing).
TBatchReport ImportPatternFiles(const std::vector<std::string>& files, const std::string& folder,
                                const TAskReplace& ask);

// A file that could not be dealt with, and why.
struct TFileProblem {
    std::string path;
    std::string reason;
};

// Deletes the data files `files` of the user's catalogue `folder`. A path whose file does not sit
// directly in `folder` (links resolved) or is not a data file is refused and left alone; each
// refusal and each failed deletion is returned with its reason.
std::vector<TFileProblem> RemoveImportedFiles(const std::vector<std::string>& files,
                                              const std::string& folder);

// Writes each file in the export format `formatIndex` into `folder`, under the file's own base
// name, all or nothing per file as the export does, with `today` in dated files. Durable as the
// import's files are.
TBatchReport ConvertPatternFiles(const std::vector<std::string>& files, const std::string& folder,
                                 int formatIndex, const TExportDate& today);

} // namespace quv
