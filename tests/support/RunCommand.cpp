#include "support/RunCommand.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace quv::test {

TCommandRun RunShell(const std::string& commandLine)
{
    TCommandRun run;
    std::string errPath = (std::filesystem::temp_directory_path() / "quv_run_XXXXXX").string();
    const int fd = ::mkstemp(errPath.data());
    if (fd < 0)
        return run;
    ::close(fd);
    // The subshell keeps the command's own redirections ahead of ours.
    const std::string command = "( " + commandLine + " ) 2>'" + errPath + "'";
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            run.out.append(buffer, n);
        const int status = ::pclose(pipe);
        run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::ifstream err(errPath, std::ios::binary);
    run.err.assign(std::istreambuf_iterator<char>(err), {});
    std::filesystem::remove(errPath);
    return run;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace quv::test
