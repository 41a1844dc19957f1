// Folder flags for the tests of write failures: the immutable flag stops even root from adding,
// removing or renaming entries, where permissions alone do not.
#pragma once

#include <string>

namespace quv::test {

// Sets or clears the immutable flag of a folder; false where the file system or caller cannot.
bool SetImmutable(const std::string& folder, bool on);

} // namespace quv::test
