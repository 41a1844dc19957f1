// A scratch folder made fresh for one test: its name is unique to the run (mkdtemp), so two runs
// of the suite on one machine never share or remove each other's folders, and removing it at the
// end never throws.
#pragma once

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace quv::test {

class TScratchDir {
public:
    // The folder "<temp>/<prefix>XXXXXX", created empty.
    explicit TScratchDir(const std::string& prefix = "quv_test_")
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a scratch folder " + pattern + ": " +
                                     std::strerror(errno));
        path_ = pattern;
    }
    ~TScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TScratchDir(const TScratchDir&) = delete;
    TScratchDir& operator=(const TScratchDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string Str() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

} // namespace quv::test
