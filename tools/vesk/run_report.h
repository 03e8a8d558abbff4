// What `vesk run` and `vesk uh` print: the per-basin summary, the unit
// hydrograph, and plain warnings where a volume check fails.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "storm_run.h"
#include "units.h"
#include "veskdll133.h"

namespace vesk::tool {

struct BasinSummary {
    double peakOutflow = 0.0; // cfs, the first largest outflow
    double peakTime = 0.0;    // min, end of the step that produced it
    double rainVolume = 0.0;  // acre-ft over the basin
    double runoffVolume = 0.0; // acre-ft, the excess rain of the run
    double runoffCoefficient = 0.0; // runoff volume / rain volume (0 without rain)
};

BasinSummary summarize(const BasinRun &basin, const std::vector<double> &rain, int timeStep);

// Warnings for `vesk run`, one sentence each, empty when the volumes agree.
std::vector<std::string> runWarnings(const RunResult &result);

// A warning when the sampled unit hydrograph is more than 10 % off one inch.
std::vector<std::string> unitHydrographWarnings(const std::string &name, const BasinInput &prepared,
                                                const std::vector<double> &ordinates);

// Throws InputError when a figure of the summary is not a finite number (the
// basin's values are so large that the arithmetic overflows).
void refuseNonFiniteResults(const RunResult &result);

// The summary table (warnings are printed apart, see runWarnings), numbers
// to six significant digits or, with `exact`, every digit.
void printRunSummary(std::ostream &out, const RunResult &result, bool exact = false);

// One row per event and basin: start, rain, peak and its time (from the
// start of the record), runoff and outflow volumes.
void printEventSummary(std::ostream &out, const std::vector<EventRun> &events, bool exact = false);

void printUnitHydrograph(std::ostream &out, const std::string &name, const BasinInput &prepared,
                         const std::vector<double> &ordinates, UnitSystem units = UnitSystem::Us);

} // namespace vesk::tool
