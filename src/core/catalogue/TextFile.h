// Every file the program writes is built in memory and committed whole: written to a temporary
// file in the target folder and renamed over the target only when complete, so a failure leaves
// no partial file and never truncates an existing one.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quv {

// Lines in the system's single-byte code page, each (the last included) ending in CR LF.
class TTextBuilder {
public:
    void Line(std::string_view text)
    {
        bytes_.append(text);
        bytes_.append("\r\n", 2);
    }
    void Reserve(std::size_t bytes) { bytes_.reserve(bytes); }
    const std::string& Bytes() const { return bytes_; }
    std::string Take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

// The files a command committed and has not yet made durable. A command keeps one for its run and
// flushes it once, after its last file, rather than once per file, so that it reports success
// only for what is on disk. Not shared between threads.
class TWrittenFiles {
public:
    TWrittenFiles() = default;
    TWrittenFiles(const TWrittenFiles&) = delete;
    TWrittenFiles& operator=(const TWrittenFiles&) = delete;
    ~TWrittenFiles();

    // Remembers the file system of a committed file.
    void Note(const std::string& path);
    // Makes every file noted since the last flush durable. Throws EInOutError when the data may
    // not have reached the disk.
    void Flush();

private:
    std::string folder_; // the last folder seen, to skip the lookup for the next file
    // One open folder per file system that received a file, so that a flush reaches the data
    // however the folders were renamed or removed meanwhile.
    std::vector<std::pair<unsigned long long, int>> systems_;
};

// Writes `bytes` to `path` all or nothing and notes it in `written`. Throws EFCreateError when
// the file cannot be created and EInOutError when writing or renaming fails.
void CommitFile(const std::string& path, std::string_view bytes, TWrittenFiles& written);

// Commits several files together: either all of them are written or none is.
void CommitFiles(const std::vector<std::pair<std::string, std::string>>& files,
                 TWrittenFiles& written);

// Commits one file and makes it durable: for a command that writes one file (the settings file,
// the error log, a summary file).
void CommitFileDurably(const std::string& path, std::string_view bytes);

// True when `name` can be used as a file name inside a chosen folder: not empty, no path
// separator, not "." or "..".
bool IsSafeFileName(std::string_view name);

} // namespace quv
