// Helpers of the tool's tests: scratch files and runs of the vesk program.
#pragma once

#include <string>
#include <vector>

#include "whole_files.h"

namespace vesk::tool::testing {

// Writes `text` to a file of that name in the test output folder; returns its path.
std::string writeScratchFile(const std::string &name, const std::string &text);

using host::testing::readWholeFile;

std::string examplePath(const std::string &name);
std::string dataPath(const std::string &name);
std::string outputPath(const std::string &name);

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the vesk program with `arguments` (each passed as one word).
ProgramRun runVesk(const std::vector<std::string> &arguments);

} // namespace vesk::tool::testing
