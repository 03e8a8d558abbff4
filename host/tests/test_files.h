// Helpers of the core's tests: scratch files and the shipped files.
#pragma once

#include <string>

#include "whole_files.h"

namespace vesk::host::testing {

// Writes `text` to a file of that name in the test output folder; returns its path.
std::string writeScratchFile(const std::string &name, const std::string &text);

std::string examplePath(const std::string &name);
std::string inputsPath(const std::string &name); // tests/inputs/<name>
std::string outputPath(const std::string &name);

} // namespace vesk::host::testing
