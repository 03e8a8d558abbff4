// Basins stepped together through the library, one step of rain at a time:
// the loop of every run (the vesk program, Python's runs, simulations and
// coupled models).  The library must be open with a fresh registry.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "basin_source.h"
#include "library_level.h"
#include "units.h"
#include "veskdll133.h"

namespace vesk::host {

struct BasinRun {
    std::string name;
    std::string path;
    BasinInput prepared{};          // the library's prepared parameters
    std::vector<double> ordinates;  // unit hydrograph, cfs per inch
    std::vector<double> outflow;    // cfs at the end of each step
    std::vector<double> stepExcess; // inches over the basin, each step
};

// A basin the library refused to store, and why.
struct Refusal {
    std::string name;
    std::string path;
    int32_t code = 0;    // the library's error code
    std::string message; // "path: adding basin X: the library refused with ..."
};

struct SessionOptions {
    // Without it only the latest step is kept (a coupled model may step for years).
    bool keepSeries = true;
    // With it a basin the library refuses is left out and listed in
    // refusals(); without it the refusal is thrown.
    bool skipRefused = false;
    const LibraryLevel *level = nullptr; // null: the current level
};

class RunSession {
public:
    // Adds every basin with its unit hydrograph and its simulation at
    // `stepMinutes` (the library takes one ordinate per step).  Throws
    // LibraryError on a refusal, naming the basin's file, unless the
    // options skip refused basins.
    RunSession(const std::vector<BasinSource> &sources, int stepMinutes, const SessionOptions &options = {});

    int stepMinutes() const { return stepMinutes_; }
    std::size_t stepsTaken() const { return steps_; }
    // Minutes at the end of the next step.
    long long nextStepEnd() const;

    // One step of `inches` of rain on every basin.  Throws InputError for a
    // depth outside 0 to kMaxStepDepthInches or an outflow that is not a
    // finite number, LibraryError when the library refuses.
    void step(double inches);
    // One step with its own depth for each basin (in the order added).
    void step(const std::vector<double> &inchesPerBasin);

    const std::vector<BasinRun> &basins() const { return basins_; }
    const std::vector<Refusal> &refusals() const { return refusals_; }
    const std::vector<double> &rain() const { return rain_; } // the common depth of each step (step(double))
    bool allDry() const;                                      // every latest outflow exactly 0
    std::size_t longestUnitHydrograph() const;

    // The basins with their prepared parameters read back, the session
    // emptied.
    std::vector<BasinRun> takeBasins();

private:
    void stepBasin(BasinRun &basin, double inches, int32_t target);
    int32_t checkedTarget() const;

    void forgetEarlierSteps();
    void add(const BasinSource &source);
    void restoreAfterRefusal();

    const LibraryLevel &level_;
    int stepMinutes_;
    bool keepSeries_;
    std::size_t steps_ = 0;
    std::vector<BasinRun> basins_;
    std::vector<BasinSource> added_; // what restoreAfterRefusal adds again
    std::vector<Refusal> refusals_;
    std::vector<double> rain_;
};

} // namespace vesk::host
