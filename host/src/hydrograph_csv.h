// The run's hydrograph as CSV: time (min, end of step), rain (in or mm), one
// outflow column per basin (cfs or m3/s) and, for several basins, the outlet
// column (their sum), starting with the dry row at time 0.
#pragma once

#include <ostream>

#include <string>
#include <vector>

#include "storm_run.h"
#include "text_escapes.h"
#include "units.h"

namespace vesk::host {

void writeHydrographCsv(std::ostream &out, const RunResult &result);

// The events' hydrographs one after another, led by an event column; times
// count from the start of the record, each event from a dry row at its start.
void writeEventHydrographCsv(std::ostream &out, const std::vector<EventRun> &events);

// A unit hydrograph's ordinates as CSV: time (min after the start of the
// unit rain) and the ordinate (cfs per in, or m3/s per mm).
void writeOrdinatesCsv(std::ostream &out, const std::string &name, int step, const std::vector<double> &ordinates,
                       UnitSystem units);

} // namespace vesk::host
