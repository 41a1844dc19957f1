// The export engine without widgets: the format table that maps a list row to its writer, the
// target names, the failure texts, the export-all run with its error log, and the settings file
// that remembers the export folder. The dialogs and quvtool only call these.
#pragma once

#include "catalogue/QuvFile.h"
#include "catalogue/QuvLib.h"
#include "catalogue/TextFile.h"
#include "export/ExportClock.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quv {

// What the files of one export share: the day written into dated files, and the files committed
// so far, made durable together when the export ends. A run that stages keeps the files instead,
// so that several writers' files are committed together or not at all.
struct TExportRun {
    explicit TExportRun(const TExportDate& day) : today(day) {}

    TExportDate today;
    TWrittenFiles written;
    bool staging = false;
    std::vector<std::pair<std::string, std::string>> staged;

    // Commits the files of one writer all or nothing (or keeps them when staging).
    void Commit(std::vector<std::pair<std::string, std::string>> files);
    // Commits every staged file together and forgets them; nothing is written when one fails.
    void CommitStaged();
};

// Takes the target path and one record, derives its own file name(s), commits the whole file
// and throws on any failure.
using TExportWriter = void (*)(const std::string& path, const TQuvFile& record, TExportRun& run);

struct TExportFormat {
    std::string_view caption;    // list caption, "<b>...</b>" marks the bold word
    std::string_view logName;    // name used in the error log and by quvtool --format
    std::string_view extensions; // what the writer puts on the target (".h .v" for two files)
    TExportWriter writer;
};

inline constexpr int kExportFormatCount = 18;

// The 18 formats in list order; the index is the row of both dialogs' format list. Derived from
// the format list (export/formats/FormatList.cpp).
const std::vector<TExportFormat>& ExportFormats();

// The log name of a format index; empty outside 0..17.
std::string FormatLogName(int formatIndex);

// The format for a log name in any case or an index "0".."17"; -1 when none.
int FindExportFormat(std::string_view nameOrIndex);
// Every log name in lower case, in list order, joined by ", ": what --format accepts.
std::string ExportFormatNames();

// Replaces the extension of the file-name part (the text from its last ".") or appends one.
std::string ChangeFileExt(std::string_view path, std::string_view extension);
// The file-name part of a path, after its last "/".
std::string ExtractFileName(std::string_view path);
// The file-name part without its extension: what the keyword headers call the name.
std::string TargetBaseName(std::string_view path);

// Folder (with "/" added when missing) + part number + "_" + pattern file name.
std::string MatchTargetPath(const std::string& folder, const TQuvFile& record);

// Calls the writer of the format; throws what the writer throws, and EQuvError for an index
// outside the list.
void CallExportWriter(const std::string& path, const TQuvFile& record, int formatIndex,
                      TExportRun& run);

// Export of one chosen antenna to a name accepted in the save dialog. Returns true on success;
// otherwise `message` holds the message box text for the failure.
bool WriteExportFile(const std::string& path, const TQuvFile& record, int formatIndex,
                     const TExportDate& today, std::string& message);

// Never throws: `errorText` is empty on success and holds the error log text otherwise. The
// file is durable only once `run.written` is flushed.
void TryWriteExportFile(const std::string& path, const TQuvFile& record, int formatIndex,
                        TExportRun& run, std::string& errorText);

// One antenna of an export of all matches: builds the target in `folder`, refusing a name that
// would leave the folder, and writes it. Same contract as TryWriteExportFile.
void TryExportMatch(const std::string& folder, const TQuvFile& record, int formatIndex,
                    TExportRun& run, std::string& errorText);

struct TExportAllReport {
    int matches = 0;
    int failures = 0;
    std::vector<std::string> log; // the error log's lines; empty when nothing failed
    int Succeeded() const { return matches - failures; }
};

// Exports every antenna of `list` into `folder`. A failure is counted and logged and the run goes
// on. `step` (may be empty) is called after each antenna with the number done so far.
TExportAllReport ExportAllMatches(const TQuvFileList& list, const std::string& folder,
                                  int formatIndex, const TExportDate& today,
                                  const std::function<void(int done)>& step = {});

// The question shown when at least one antenna failed.
inline constexpr std::string_view kExportErrorQuestion =
    "An error occurred while attempting to export.\r\rClick OK to view the error log.";
// The information shown when every antenna was written; `folder` exactly as typed.
std::string ExportSuccessMessage(const std::string& folder);

// The lines as saved from the error log window: each ended by CR LF.
std::string LogBytes(const std::vector<std::string>& lines);
// "errors" becomes "errors.txt"; a name that has an extension is kept.
std::string ErrorLogFileName(const std::string& chosen);

// Settings file "quvselect.ini" in `programFolder`, section "EXPORTALL", key "path".
std::string SettingsFilePath(const std::string& programFolder);
// Empty when the file, the section or the key is missing.
std::string ReadExportFolder(const std::string& programFolder);
// Stores the folder, keeping the rest of the file. Throws EQuvError "Unable to write to %s".
void WriteExportFolder(const std::string& programFolder, const std::string& folder);

// One word of a format list caption and whether it is drawn bold. The caption is cut at every
// blank; "<b>word</b>" is bold only when the pair encloses the whole word, otherwise the word is
// drawn as it stands, tags included. An empty text after the last blank is dropped.
struct TMarkedWord {
    std::string text;
    bool bold = false;
};
std::vector<TMarkedWord> SplitMarkedText(std::string_view caption);

// The ratio in the return loss's brackets ("17.7 (<1.3)") as `pattern` formats it, or the text as
// stored when it has no brackets.
std::string VswrRatio(const TQuvFile& record, std::string_view pattern);

// A stored pattern level as a number (conversion error for a text that is not one).
double LevelValue(std::string_view text);

// Appends a pattern level with exactly `decimals` (0 to 3) decimals, as Format("%.<decimals>f") of
// its absolute value. A plain decimal text that needs no rounding is copied digit for digit (the
// same result, without the conversion that dominates an export of thousands of files).
void AppendAbsLevel(std::string& out, std::string_view text, int decimals);
// The same for FormatFixed(value, 5, 2) with the sign kept (the comma-separated point lines).
void AppendSignedLevel52(std::string& out, std::string_view text);
// Appends a non-negative integer in decimal.
void AppendInt(std::string& out, int value);

// A level that pattern levels are added to (a gain, or a gain plus the level at the horizon):
// the double that AddDb sums with and, when it came from plain decimal texts, its exact value in
// millionths, which lets the level sums below skip the general formatter.
struct TLevelBase {
    double value = 0;
    bool exact = false;
    std::int64_t micros = 0;
};
// The number of a text; a conversion error for a text that is not one.
TLevelBase LevelBase(std::string_view text);
// base + the level of a text, by AddDb.
TLevelBase AddLevel(const TLevelBase& base, std::string_view level);

// Appends Format("%1.<decimals>f", AddDb(base.value, LevelValue(level))), `decimals` 1 to 3.
void AppendLevelSum(std::string& out, const TLevelBase& base, std::string_view level, int decimals);
// Appends FormatZeroPadded(width, AddDb(base.value, LevelValue(level))).
void AppendZeroPaddedLevelSum(std::string& out, const TLevelBase& base, std::string_view level,
                              int width);

// Appends a pattern level with its sign and exactly `decimals` (0 to 3) decimals, as
// Format("%.<decimals>f"), with the same shortcut for a plain decimal text as AppendAbsLevel.
void AppendSignedLevel(std::string& out, std::string_view text, int decimals);

// One point line of the column formats' cuts: the whole angle with its sign,
// `separator` (which may carry the angle's own decimals, ".00\t"), then AppendSignedLevel.
void AddAnglePoint(TTextBuilder& text, std::string& line, int angle, std::string_view separator,
                   std::string_view level, int decimals);

} // namespace quv
