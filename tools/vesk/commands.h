// The three commands of the vesk program, each returning the exit status.
// Faults are printed to `err` as "vesk: ..." lines; results go to `out`.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "storm_run.h"

namespace vesk::tool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitInputError = 1;   // the user's files or arguments
inline constexpr int kExitLibraryError = 2; // the library refused

struct RunCommand {
    std::vector<std::string> basinFiles;
    std::string stormFile;
    RunOptions options;
    std::string csvFile;  // empty: no CSV
    std::string plotFile; // empty: no SVG
};

int runCommand(const RunCommand &command, std::ostream &out, std::ostream &err);
int unitHydrographCommand(const std::string &basinFile, std::ostream &out, std::ostream &err);
int calcCommand(const std::vector<std::string> &words, bool list, std::ostream &out, std::ostream &err);

} // namespace vesk::tool
