#include "catalogue/TextFile.h"

#include "catalogue/Errors.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quv {

namespace {

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Renaming over the target would silently replace a file the user write-protected (or a
// folder's entry); those are refused as the target being impossible to create.
void CheckTargetReplaceable(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        // A name too long to exist would only fail at its rename, after the other files of the
        // set were published.
        if (errno == ENAMETOOLONG)
            throw EFCreateError(path, std::strerror(ENAMETOOLONG));
        return;
    }
    if (S_ISDIR(st.st_mode))
        throw EFCreateError(path, std::strerror(EISDIR));
    if ((st.st_mode & 0222) == 0)
        throw EFCreateError(path, std::strerror(EACCES));
}

// Writes a temporary sibling of `path` and returns its name.
std::string WriteTemporary(const std::string& path, std::string_view bytes)
{
    // A name of our own with O_EXCL rather than mkstemp: the file then gets the usual 0666 less
    // umask without another system call, which matters when exporting thousands of files.
    static std::atomic<unsigned long> counter{0};
    static const std::string pid = std::to_string(::getpid());
    const std::string stem = FolderOf(path) + ".quvtmp-" + pid + "-";
    std::string tmp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        tmp = stem + std::to_string(counter.fetch_add(1));
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        throw EFCreateError(path, std::strerror(errno));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const std::string why = std::strerror(errno);
            ::close(fd);
            ::unlink(tmp.c_str());
            throw EInOutError("Cannot write file " + path + ": " + why);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) {
        ::unlink(tmp.c_str());
        throw EInOutError("Cannot write file " + path);
    }
    return tmp;
}

// Renames the finished temporary onto `path`; the temporary is gone afterwards either way.
void Publish(const std::string& tmp, const std::string& path)
{
    auto fail = [&](const std::string& why) {
        ::unlink(tmp.c_str());
        throw EInOutError("Cannot write file " + path + ": " + why);
    };
    // A new target (the usual case when exporting into a fresh folder) needs one system call;
    // only an existing one is looked at before it is replaced.
    if (::renameat2(AT_FDCWD, tmp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0)
        return;
    if (errno != EEXIST && errno != EINVAL && errno != ENOSYS)
        fail(std::strerror(errno));
    try {
        CheckTargetReplaceable(path);
    } catch (...) {
        ::unlink(tmp.c_str());
        throw;
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0)
        fail(std::strerror(errno));
}

} // namespace

TWrittenFiles::~TWrittenFiles()
{
    for (const auto& system : systems_)
        ::close(system.second);
}

void TWrittenFiles::Note(const std::string& path)
{
    std::string folder = FolderOf(path);
    if (folder.empty())
        folder = "./";
    if (folder == folder_)
        return;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0)
        return; // only when the folder vanished right after the rename: nothing left to flush
    if (::fstat(fd, &st) != 0 || std::any_of(systems_.begin(), systems_.end(), [&](const auto& s) {
            return s.first == static_cast<unsigned long long>(st.st_dev);
        })) {
        ::close(fd);
    } else {
        systems_.emplace_back(static_cast<unsigned long long>(st.st_dev), fd);
    }
    folder_ = std::move(folder);
}

void TWrittenFiles::Flush()
{
    std::vector<std::pair<unsigned long long, int>> taken;
    std::swap(taken, systems_);
    folder_.clear();
    // syncfs writes back every file and folder entry of the file system in one pass; an fsync of
    // each file and its folder measured fifteen times slower on 10,000 export files (a journal
    // commit per file). Every file system is flushed; the first failure is reported after.
    std::string failure;
    for (const auto& [device, fd] : taken) {
        if (::syncfs(fd) != 0 && failure.empty())
            failure = std::strerror(errno);
        ::close(fd);
    }
    if (!failure.empty())
        throw EInOutError("Cannot flush the written files to disk: " + failure);
}

void CommitFile(const std::string& path, std::string_view bytes, TWrittenFiles& written)
{
    Publish(WriteTemporary(path, bytes), path);
    written.Note(path);
}

void CommitFiles(const std::vector<std::pair<std::string, std::string>>& files,
                 TWrittenFiles& written)
{
    // Every target is checked before anything is written, so a refusal leaves all of them alone.
    for (const auto& file : files)
        CheckTargetReplaceable(file.first);
    std::vector<std::string> temps;
    try {
        for (const auto& [path, bytes] : files)
            temps.push_back(WriteTemporary(path, bytes));
    } catch (...) {
        for (const auto& t : temps)
            ::unlink(t.c_str());
        throw;
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        try {
            Publish(temps[i], files[i].first);
        } catch (...) {
            for (std::size_t k = i + 1; k < temps.size(); ++k)
                ::unlink(temps[k].c_str());
            throw;
        }
        written.Note(files[i].first);
    }
}

void CommitFileDurably(const std::string& path, std::string_view bytes)
{
    TWrittenFiles written;
    CommitFile(path, bytes, written);
    written.Flush();
}

bool IsSafeFileName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find_first_of("/\\") == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

} // namespace quv
