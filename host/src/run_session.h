// Basins stepped together through the library, one data step of rain at a
// time: the loop of every run (the vesk program, Python's runs, simulations
// and coupled models).  Each basin is computed at its own step, which divides
// the data step (computation_step.h): the rain of a data step is split evenly
// over the basin's sub-steps, and the library is called once a sub-step.
// Peaks, peak times and volumes are taken on each basin's computation grid;
// the hydrographs are reported on a grid the caller chooses (the data step
// unless finer), each value the outflow at the end of a report step.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "basin_source.h"
#include "computation_step.h"
#include "library_level.h"
#include "units.h"
#include "veskdll133.h"

namespace vesk::host {

struct BasinRun {
    std::string name;
    std::string path;
    BasinInput prepared{};          // the library's prepared parameters at the computation step
    StepChoice computation;         // the step and why
    std::vector<double> ordinates;  // unit hydrograph at the computation step, cfs per inch
    std::vector<double> outflow;    // cfs at the end of each report step
    // On the computation grid, whatever the report step:
    double peakOutflow = 0.0;       // cfs, the first largest outflow
    double peakTime = 0.0;          // min, end of the sub-step that produced it
    double outflowSum = 0.0;        // cfs, the sum of every sub-step's outflow
    double excessDepth = 0.0;       // in over the basin, the sum of every sub-step's excess
    double lastOutflow = 0.0;       // cfs at the end of the latest sub-step
    double lastExcess = 0.0;        // in, the excess of the latest data step
    // Sub-steps since the latest one with excess: once the unit hydrograph
    // has passed, a dry basin's every outflow is exactly 0.
    std::size_t subStepsSinceExcess = 0;
};

// A basin the run left out, and why.
struct Refusal {
    std::string name;
    std::string path;
    int32_t code = 0;    // the library's error code (VESK_ERR_UH_FIT when no step samples its unit hydrograph)
    std::string message; // "path: ...: what"
};

struct SessionOptions {
    // Without it only the latest step is kept (a coupled model may step for years).
    bool keepSeries = true;
    // With it a basin the library or the step choice refuses is left out and
    // listed in refusals(); without it the refusal is thrown.
    bool skipRefused = false;
    const LibraryLevel *level = nullptr; // null: the current level
    StepRule rule;
    int reportStep = 0; // min, divides the data step; 0: the data step
    // Steps chosen before (for these basins, this data step and rule); null:
    // chosen here.
    const StepPlan *plan = nullptr;
};

class RunSession {
public:
    // Chooses every basin's computation step, then adds every basin to a
    // fresh registry at its step.  Throws InputError (a refusal of the step
    // choice, an impossible report step) or LibraryError, unless the options
    // skip refused basins.
    RunSession(const std::vector<BasinSource> &sources, int dataStep, const SessionOptions &options = {});

    int dataStep() const { return dataStep_; }
    int reportStep() const { return reportStep_; }
    std::size_t stepsTaken() const { return steps_; } // data steps
    long long nextStepEnd() const;                     // minutes at the end of the next data step

    // One data step of `inches` of rain on every basin.  Throws InputError
    // for a depth outside 0 to kMaxStepDepthInches or an outflow that is not
    // a finite number, LibraryError when the library refuses.
    void step(double inches);
    // One data step with its own depth for each basin (in the order added).
    void step(const std::vector<double> &inchesPerBasin);

    const std::vector<BasinRun> &basins() const { return basins_; }
    const std::vector<Refusal> &refusals() const { return refusals_; }
    // The common depth of each report step (step(double)), in inches.
    const std::vector<double> &rain() const { return rain_; }
    double rainDepth() const { return rainDepth_; } // the sum of every data step's depth
    // The outlet, the sum of the basins' outflows: at each report step, and
    // its first largest value on the finest grid every basin's values reach.
    const std::vector<double> &outlet() const { return outlet_; }
    double outletPeak() const { return outletPeak_; }
    double outletPeakTime() const { return outletPeakTime_; }

    bool allDry() const;                       // every latest outflow exactly 0
    std::size_t longestUnitHydrographMinutes() const;

    // The basins, the session emptied.
    std::vector<BasinRun> takeBasins();

private:
    void add(const BasinSource &source, const StepChoice &choice);
    void restoreAfterRefusal();
    void stepBasin(BasinRun &basin, double inches, long long start, std::vector<double> &fineOutlet);
    int32_t clockAt(long long minutes) const;
    void forgetEarlierSteps();
    void finishStep(long long start, const std::vector<double> &fineOutlet);

    const LibraryLevel &level_;
    int dataStep_;
    int reportStep_;
    int outletGrid_ = 0; // min: the greatest common divisor of the computation steps
    bool keepSeries_;
    bool skipRefused_;
    std::size_t steps_ = 0;
    std::vector<BasinRun> basins_;
    std::vector<std::pair<BasinSource, StepChoice>> added_; // what restoreAfterRefusal adds again
    std::vector<Refusal> refusals_;
    std::vector<double> rain_;
    double rainDepth_ = 0.0;
    std::vector<double> outlet_;
    double outletPeak_ = 0.0;
    double outletPeakTime_ = 0.0;
};

} // namespace vesk::host
