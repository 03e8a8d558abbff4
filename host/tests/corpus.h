// The shared input corpus (tests/inputs): its cases, their expected readings
// and the comparison every front end's test makes with what it read.
#pragma once

#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "veskdll133.h"

namespace vesk::host::testing {

struct ReadBasin {
    std::string name;
    bool uhTimeStepGiven = false;
    BasinInput record{}; // fields not stated are 0
};

// One storm of a reading: statements before any "storm NAME" line describe
// the storm of a plain file (no name).
struct ReadStorm {
    std::string name;
    std::optional<int> step;
    std::string unit;
    std::string start;     // the start of a dated record; empty for none
    std::size_t filled = 0; // dry steps put in for gaps
    std::optional<std::size_t> steps;
    std::vector<double> depths;
    std::vector<std::pair<std::size_t, double>> depthAt;
};

// A reading in the corpus's line form (see tests/inputs/README.md): what an
// .expect file states, or what `vesk check` prints.
struct Reading {
    std::string read;  // "us", "si", "file" or empty
    std::string gaps;  // "zero" to fill gaps with dry steps, else empty
    std::string error; // the message after the path
    std::vector<std::string> warnings;
    std::vector<std::string> notes;
    std::vector<ReadStorm> storms;
    std::vector<ReadBasin> basins;
};

Reading parseReading(std::istream &in);
Reading expectedReading(const std::filesystem::path &input);

// The inputs of tests/inputs/<folder> (storms or basins), sorted.
std::vector<std::filesystem::path> corpusCases(const std::string &folder);

// Adds a test failure for every way `observed` differs from `expected`: the
// refusal, the warnings, the step, unit and depths stated, the basins.
void expectReading(const Reading &expected, const Reading &observed);

} // namespace vesk::host::testing
