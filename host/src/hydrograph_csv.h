// The run's hydrograph as CSV: time (min, end of step), rain (in or mm), one
// outflow column per basin (cfs or m3/s) and, for several basins, the outlet
// column (their sum), starting with the dry row at time 0.  A dated storm's
// hydrograph leads with a time column of date-times (the end of each step).
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

// The hydrographs of several storms one after another, led by a storm
// column; each storm's rows from a dry row at its time 0.  A time column of
// date-times when any storm is dated (empty for those that are not).
void writeStormHydrographCsv(std::ostream &out, const std::vector<StormRun> &runs);

// A unit hydrograph's ordinates as CSV: time (min after the start of the
// unit rain) and the ordinate (cfs per in, or m3/s per mm).
void writeOrdinatesCsv(std::ostream &out, const std::string &name, int step, const std::vector<double> &ordinates,
                       UnitSystem units);

} // namespace vesk::host
