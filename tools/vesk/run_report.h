// What `vesk run` and `vesk uh` print: the per-basin summary tables and the
// unit hydrograph.  The figures come from the host core (run_summary.h).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "run_summary.h"
#include "storm_run.h"
#include "units.h"
#include "veskdll133.h"

namespace vesk::tool {

using namespace vesk::host;

// The summary table (warnings are printed apart, see runWarnings), numbers
// to six significant digits or, with `exact`, every digit: a column per
// basin for a few basins, else a row per basin; the outlet first where
// several basins meet.
void printRunSummary(std::ostream &out, const RunResult &result, bool exact = false);

// The line that leads the summary: the storm's depth and steps.
void printStormLine(std::ostream &out, const RunResult &result);

// One row per event and basin: start, rain, peak and its time (from the
// start of the record), runoff and outflow volumes.
void printEventSummary(std::ostream &out, const std::vector<EventRun> &events, bool exact = false);

// The peaks of several storms: one row per basin (the outlet first, with
// several basins), one column per storm.
void printStormPeaks(std::ostream &out, const std::vector<StormRun> &runs, bool exact = false);

void printUnitHydrograph(std::ostream &out, const std::string &name, const BasinInput &prepared,
                         const std::vector<double> &ordinates, UnitSystem units = UnitSystem::Us);

} // namespace vesk::tool
