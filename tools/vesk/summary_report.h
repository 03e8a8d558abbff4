// The run's summary as a file a script can read: one record per basin with
// every figure of the printed table, named with its unit, at full precision.
// CSV (one row per basin) or JSON (an array of objects).
#pragma once

#include <ostream>
#include <string>

#include "storm_run.h"

namespace vesk::tool {

void writeSummaryCsv(std::ostream &out, const RunResult &result);
void writeSummaryJson(std::ostream &out, const RunResult &result);

// JSON for a path ending in .json (any letter case), CSV otherwise.
bool isJsonPath(const std::string &path);

} // namespace vesk::tool
