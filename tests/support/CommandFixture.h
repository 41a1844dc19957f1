// A fixture for the tests that call the quvtool commands in process: a fresh folder of its own
// (unique to the run), files written into it, and a command run with its output captured. Each
// command loads a catalogue of its own; `catalogue` is the test's own, for what it loads beside
// them.
#pragma once

#include "catalogue/QuvLib.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace quv::test {

struct TCommandFixture : ::testing::Test {
    TScratchDir scratch;
    std::filesystem::path dir = scratch.Path();
    TCatalogue catalogue;

    explicit TCommandFixture(const std::string& prefix) : scratch(prefix) {}
    // Writes `bytes` to `name` below the folder (making its folders) and returns the path.
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::filesystem::path path = dir / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    // Runs a command function with its standard output and error captured.
    static int Capture(int (*command)(const std::vector<std::string>&),
                       const std::vector<std::string>& args, std::string& out, std::string& err)
    {
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        const int status = command(args);
        out = ::testing::internal::GetCapturedStdout();
        err = ::testing::internal::GetCapturedStderr();
        return status;
    }
};

} // namespace quv::test
