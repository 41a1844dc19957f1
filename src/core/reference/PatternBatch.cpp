#include "reference/PatternBatch.h"

#include "catalogue/Errors.h"
#include "catalogue/NumberText.h"
#include "catalogue/TextFile.h"
#include "export/ExportLib.h"
#include "reference/PatternFormat.h"
#include "reference/PatternImport.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace quv {

namespace {

// The files a writer made for `target`: the format's extensions put on it (".h .v" is two).
void AddWrittenNames(std::vector<std::string>& names, const std::string& target, int formatIndex)
{
    std::string_view extensions = ExportFormats()[static_cast<std::size_t>(formatIndex)].extensions;
    while (!extensions.empty()) {
        const std::size_t blank = extensions.find(' ');
        names.push_back(ChangeFileExt(target, extensions.substr(0, blank)));
        extensions =
            blank == std::string_view::npos ? std::string_view{} : extensions.substr(blank + 1);
    }
}

// A part number as a file name: "59/7" keeps its text in the record, and its file is "59_7".
std::string FileNameStem(const std::string& partNumber)
{
    std::string stem = partNumber;
    for (char& c : stem)
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < ' ')
            c = '_';
    if (stem.empty() || stem == "." || stem == "..")
        stem = "_" + stem;
    return stem;
}

// The file of a two-file format that carries the second of its written extensions.
bool IsSecondOfPair(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    const std::string ext = dot == std::string::npos ? std::string() : LowerCase(path.substr(dot));
    for (const TFileFormat* format : FileFormats()) {
        const std::string_view pair = format->exportAs.extensions;
        const std::size_t blank = pair.find(' ');
        if (format->twoFiles && blank != std::string_view::npos && pair.substr(blank + 1) == ext)
            return true;
    }
    return false;
}

} // namespace

namespace fs = std::filesystem;

int TBatchReport::Failed() const
{
    return static_cast<int>(std::count_if(items.begin(), items.end(),
                                          [](const TBatchItem& i) { return !i.error.empty(); }));
}

int TBatchReport::Skipped() const
{
    return static_cast<int>(std::count_if(items.begin(), items.end(), [](const TBatchItem& i) {
        return i.error.empty() && i.targets.empty() && !i.skipped.empty();
    }));
}

std::vector<std::string> CollectPatternFiles(const std::vector<std::string>& filesOrFolders)
{
    std::vector<std::string> files;
    for (const std::string& given : filesOrFolders) {
        std::error_code ec;
        if (!fs::is_directory(given, ec)) {
            files.push_back(given);
            continue;
        }
        // Makers unpack their libraries into a folder per model: the whole tree is searched,
        // without following links to folders (which could loop).
        std::vector<std::string> inside;
        for (auto it = fs::recursive_directory_iterator(
                 given, fs::directory_options::skip_permission_denied, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
            if (it->is_regular_file(ec))
                inside.push_back(it->path().string());
        std::sort(inside.begin(), inside.end());
        files.insert(files.end(), inside.begin(), inside.end());
    }
    const std::set<std::string> named(files.begin(), files.end());
    std::vector<std::string> kept;
    for (const std::string& f : files) {
        const std::string partner = CompanionFileName(f);
        if (!partner.empty() && IsSecondOfPair(f) && named.count(partner))
            continue;
        kept.push_back(f);
    }
    return kept;
}

namespace {

// Makes the batch's files durable; when that fails, none of them can be vouched for.
void FlushBatch(TWrittenFiles& written, TBatchReport& report)
{
    try {
        written.Flush();
    } catch (const std::exception& e) {
        for (TBatchItem& item : report.items)
            if (item.error.empty() && !item.targets.empty()) {
                item.error = item.source + ": " + e.what();
                item.targets.clear();
                item.partNumbers.clear();
            }
    }
}

// Thrown out of one source's targets when the user stops the import.
struct TImportCancelled {};

TBatchReport ImportFiles(const std::vector<std::string>& files, const std::string& folder,
                         bool replace, const TAskReplace& ask)
{
    TBatchReport report;
    std::error_code ec;
    // A folder that cannot be made fails every file for the folder's own reason ("Read-only
    // file system"), not the later "No such file or directory" of each file in it.
    if (!folder.empty() && !fs::create_directories(folder, ec) && ec) {
        for (const std::string& path : files) {
            TBatchItem item;
            item.source = path;
            item.error = path + ": Cannot create folder " + folder + ": " + ec.message();
            report.items.push_back(std::move(item));
        }
        return report;
    }
    const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    std::set<std::string> written;
    TWrittenFiles committed;
    bool replaceAll = replace;
    for (std::size_t f = 0; f < files.size(); ++f) {
        const std::string& path = files[f];
        TBatchItem item;
        item.source = path;
        const std::optional<TPatternFileData> data = TryReadPatternFile(path, item.error);
        if (data) {
            try {
                std::vector<TDataFileText> built = BuildDataFiles(*data, TImportStyle::Catalogue);
                std::vector<std::pair<std::string, std::string>> commits;
                // Names given to this source's patterns, kept or not: two patterns of one model
                // in one file must not share a target.
                std::set<std::string> claimed;
                for (TDataFileText& file : built) {
                    // Several patterns of one model in one run (other tilts, other bands) each
                    // keep their own file.
                    const std::string stem = FileNameStem(file.partNumber);
                    std::string target = base + stem + ".quv";
                    for (int n = 2; written.count(target) || claimed.count(target); ++n)
                        target = base + stem + "_" + std::to_string(n) + ".quv";
                    claimed.insert(target);
                    if (!replaceAll && fs::exists(target, ec)) {
                        if (!ask)
                            throw EQuvError(target + " exists; --replace overwrites it");
                        const TReplaceAnswer answer = ask(target, file.partNumber, path);
                        if (answer == TReplaceAnswer::Cancel)
                            throw TImportCancelled{};
                        if (answer == TReplaceAnswer::Skip) {
                            item.skipped.push_back(target);
                            continue;
                        }
                        replaceAll = answer == TReplaceAnswer::ReplaceAll;
                    }
                    for (std::string& w : file.warnings)
                        item.warnings.push_back(std::move(w));
                    item.targets.push_back(target);
                    item.partNumbers.push_back(file.partNumber);
                    commits.emplace_back(target, std::move(file.bytes));
                }
                CommitFiles(commits, committed);
                written.insert(item.targets.begin(), item.targets.end());
            } catch (const TImportCancelled&) {
                report.cancelled.assign(files.begin() + static_cast<std::ptrdiff_t>(f),
                                        files.end());
                break;
            } catch (const std::exception& e) {
                item.error = path + ": " + e.what();
                item.targets.clear();
                item.partNumbers.clear();
            }
        }
        report.items.push_back(std::move(item));
    }
    FlushBatch(committed, report);
    return report;
}

} // namespace

TBatchReport ImportPatternFiles(const std::vector<std::string>& files, const std::string& folder,
                                bool replace)
{
    return ImportFiles(files, folder, replace, {});
}

TBatchReport ImportPatternFiles(const std::vector<std::string>& files, const std::string& folder,
                                const TAskReplace& ask)
{
    return ImportFiles(files, folder, false, ask);
}

namespace {

// `path` without "." and ".." parts and without a trailing separator.
fs::path FolderPath(fs::path path)
{
    path = path.lexically_normal();
    return path.has_filename() ? path : path.parent_path();
}

} // namespace

std::vector<TFileProblem> RemoveImportedFiles(const std::vector<std::string>& files,
                                              const std::string& folder)
{
    std::vector<TFileProblem> problems;
    std::error_code ec;
    const fs::path named = FolderPath(folder);
    const fs::path real = FolderPath(fs::weakly_canonical(named, ec));
    for (const std::string& file : files) {
        const fs::path path = fs::path(file).lexically_normal();
        std::error_code fileEc;
        // Both the name and what it leads to must be in the folder: a link to the program's
        // catalogue is no file of the user's.
        const fs::path target = fs::weakly_canonical(path, fileEc);
        if (folder.empty() || ec || fileEc || path.parent_path() != named ||
            target.parent_path() != real || LowerCase(path.extension().string()) != ".quv") {
            problems.push_back({file, "not a data file of the user's catalogue; refused"});
            continue;
        }
        const fs::file_status status = fs::symlink_status(path, fileEc);
        if (status.type() == fs::file_type::not_found) {
            problems.push_back({file, "the file does not exist"});
            continue;
        }
        if (fileEc) {
            problems.push_back({file, fileEc.message()});
            continue;
        }
        if (!fs::is_regular_file(status)) {
            problems.push_back({file, "not a regular file"});
            continue;
        }
        if (!fs::remove(path, fileEc))
            problems.push_back({file, fileEc ? fileEc.message() : "the file is gone"});
    }
    return problems;
}

TBatchReport ConvertPatternFiles(const std::vector<std::string>& files, const std::string& folder,
                                 int formatIndex, const TExportDate& today)
{
    TBatchReport report;
    // All targets of one source are committed together: a file of several patterns leaves all
    // of them or none.
    TExportRun run{today};
    run.staging = true;
    const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    for (const std::string& path : files) {
        TBatchItem item;
        item.source = path;
        const std::optional<TPatternFileData> data = TryReadPatternFile(path, item.error);
        if (data) {
            std::string stem = ExtractFileName(path);
            const std::size_t dot = stem.rfind('.');
            if (dot != std::string::npos && dot > 0)
                stem.resize(dot);
            std::vector<TImportedRecord> built;
            try {
                built = BuildRecords(*data, TImportStyle::Convert);
            } catch (const std::exception& e) {
                item.error = path + ": " + e.what();
            }
            for (std::size_t k = 0; k < built.size() && item.error.empty(); ++k) {
                for (std::string& w : built[k].warnings)
                    item.warnings.push_back(std::move(w));
                const std::string target =
                    base + stem + (built.size() > 1 ? "_" + std::to_string(k + 1) : "");
                std::string errorText;
                TryWriteExportFile(target, *built[k].record, formatIndex, run, errorText);
                if (!errorText.empty())
                    item.error = path + ": " + errorText;
                else
                    AddWrittenNames(item.targets, target, formatIndex);
            }
            if (item.error.empty()) {
                try {
                    run.CommitStaged();
                } catch (const std::exception& e) {
                    item.error = path + ": " + e.what();
                }
            }
            run.staged.clear();
            if (!item.error.empty())
                item.targets.clear();
        }
        report.items.push_back(std::move(item));
    }
    FlushBatch(run.written, report);
    return report;
}

} // namespace quv
