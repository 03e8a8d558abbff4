// The run's hydrograph as CSV: time (min, end of step), rain (in), then one
// outflow column per basin (cfs), starting with the dry row at time 0.
#pragma once

#include <ostream>

#include "storm_run.h"

namespace vesk::tool {

void writeHydrographCsv(std::ostream &out, const RunResult &result);

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string csvField(const std::string &text);

} // namespace vesk::tool
