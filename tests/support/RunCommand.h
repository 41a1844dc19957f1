// Runs a shell command line for the end-to-end tests of the programs and keeps its exit status,
// its standard output and its standard error apart.
#pragma once

#include <string>
#include <vector>

namespace quv::test {

struct TCommandRun {
    int code = -1; // the exit status, -1 when the command did not exit normally
    std::string out;
    std::string err;
};

TCommandRun RunShell(const std::string& commandLine);

// The lines of a command's output, without their line feeds.
std::vector<std::string> SplitLines(const std::string& text);

} // namespace quv::test
