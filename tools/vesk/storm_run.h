// Runs basins through a storm, one library step per time step, and keeps the
// series a report needs.  The library must be open (LibrarySession).
#pragma once

#include <string>
#include <vector>

#include "basin_source.h"
#include "storm_file.h"
#include "veskdll133.h"

namespace vesk::tool {

struct RunOptions {
    int timeStep = 0; // minutes; 0: the basins' common uhTimeStep
    int duration = 0; // minutes; 0: until every outflow is back to 0 after the storm
};

struct BasinRun {
    std::string name;
    std::string path;
    BasinInput prepared{};          // the library's prepared parameters after the run
    std::vector<double> ordinates;  // unit hydrograph, cfs per inch
    std::vector<double> outflow;    // cfs at the end of each step
    std::vector<double> stepExcess; // inches over the basin, each step
};

enum class RunEnd {
    Dry,          // every outflow came back to 0 after the storm
    Duration,     // --duration reached
    StepLimit,    // outflow still not 0 long after the unit hydrographs ended
};

struct RunResult {
    int timeStep = 0;
    std::vector<double> rain; // inches, each step
    std::vector<BasinRun> basins;
    RunEnd end = RunEnd::Dry;
    std::size_t stormStepsCut = 0; // storm steps beyond --duration, not applied
};

// The simulation step: the option, else the basins' common uhTimeStep.
// Throws InputError when the basins disagree and no step was chosen, or when
// a two-column storm steps differently.
int simulationStep(const std::vector<BasinSource> &sources, const Storm &storm, const RunOptions &options);

// Adds the basins with the simulation step and steps them through the storm.
// Throws LibraryError on a refusal, InputError for inconsistent input.
RunResult runStorm(const std::vector<BasinSource> &sources, const Storm &storm, const RunOptions &options);

} // namespace vesk::tool
