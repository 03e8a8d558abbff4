// Runs basins through a storm, one library step per time step, until every
// outflow is back to 0 (or for a chosen duration), and keeps the series a
// report needs.  The library must be open (LibrarySession).
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "basin_source.h"
#include "computation_step.h"
#include "run_session.h"
#include "storm_file.h"
#include "warnings.h"

namespace vesk::host {

struct RunOptions {
    // Called now and then with the data steps done and the expected total.
    std::function<void(std::size_t, std::size_t)> progress;
    int timeStep = 0;   // minutes; 0: the storm's own step (the data step)
    int duration = 0;   // minutes; 0: until every outflow is back to 0 after the storm
    int reportStep = 0; // minutes, divides the data step; 0: the data step
    UnitSystem units = UnitSystem::Us; // of the report
    const LibraryLevel *level = nullptr; // null: the current level
    bool skipRefused = false; // leave out basins that are refused (listed in RunResult::refusals)
    StepRule rule;            // how each basin's computation step is chosen
    const StepPlan *plan = nullptr; // steps chosen before for these basins and data step; null: chosen by the run
};

enum class RunEnd {
    Dry,          // every outflow came back to 0 after the storm
    Duration,     // the chosen duration reached
    StepLimit,    // outflow still not 0 long after the unit hydrographs ended
    RunLimit,     // kMaxRunMinutes reached while the basins were still draining
};

struct RunResult {
    int dataStep = 0;   // min, the step of the rain data (after any resampling)
    int reportStep = 0; // min, the step of `rain`, `outlet` and each basin's `outflow`
    UnitSystem units = UnitSystem::Us;
    StepRule rule;            // the tolerance each basin's step was chosen with
    std::vector<double> rain; // inches in each report step
    double rainDepth = 0.0;   // inches, the storm's whole depth applied
    std::vector<BasinRun> basins;
    std::vector<double> outlet; // cfs at the end of each report step: the sum of the basins' outflows
    double outletPeak = 0.0;    // cfs, on the finest grid every basin's values reach
    double outletPeakTime = 0.0; // min
    std::optional<long long> start; // a dated storm: the civil minute the run starts at (civil_time.h)
    RunEnd end = RunEnd::Dry;
    std::size_t stormStepsCut = 0; // storm steps beyond the duration, not applied
    std::vector<Refusal> refusals; // basins left out (RunOptions::skipRefused)
};

// One event of a record run from fresh basins: its number, its start (the
// end of the step before its first, minutes into the record) and its run.
struct EventRun {
    int number = 0;
    long long startMinute = 0;
    RunResult result;
};

// The storm at the simulation step: a timed storm keeps its own step unless
// `options.timeStep` resamples it; a one-column storm steps that many
// minutes, or else the unit-hydrograph step the basins give (they must
// agree).  Throws InputError when no step can be settled, or when summing
// puts more rain in one step than a run takes (kMaxStepDepthInches).
Storm stormAtRunStep(const std::vector<BasinSource> &sources, const Storm &storm, const RunOptions &options);

// Notes for the basins whose file gives a uhTimeStep other than the step
// the run computes them at.
Warnings stepNotes(const std::vector<BasinSource> &sources, const RunResult &result);

// Chooses each basin's computation step, adds the basins to a fresh
// registry and steps them through the storm (already at the data step).
// Throws LibraryError on a refusal, InputError for inconsistent input or a
// basin no step can compute (unless refused basins are skipped).
RunResult runStorm(const std::vector<BasinSource> &sources, const Storm &storm, const RunOptions &options);

// One storm of several, run from fresh basins.
struct StormRun {
    std::string name;
    RunResult result;
};

// Runs the basins through each storm in turn, each from fresh basins: the
// same as one run per storm (stormAtRunStep, then runStorm), to the bit.
// Each basin's computation step is chosen once per data step and shared by
// the storms at that step.  Names must be unique and valid (stormNameFault).
// The notes and warnings of every run are appended to `warnings`, each led
// by "storm NAME: " (a note on the computation step only once).  Throws as
// runStorm does, and InputError when a run's figures are not finite.
std::vector<StormRun> runStorms(const std::vector<BasinSource> &sources, const std::vector<NamedStorm> &storms,
                                const RunOptions &options, Warnings &warnings);

} // namespace vesk::host
