// The run's summary as a file a script can read: one record per basin, and
// first the outlet's (where several basins meet; named "outlet"), with
// every figure of the printed table, named with its unit, at full precision.
// CSV (one row per basin) or JSON (an array of objects).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "storm_run.h"

namespace vesk::host {

void writeSummaryCsv(std::ostream &out, const RunResult &result);
void writeSummaryJson(std::ostream &out, const RunResult &result);

// One record per event and basin, led by the event's number and start (and,
// for a dated record, the start as a date-time); the peak time counts from
// the start of the record.
void writeEventSummaryCsv(std::ostream &out, const std::vector<EventRun> &events);
void writeEventSummaryJson(std::ostream &out, const std::vector<EventRun> &events);

// One record per storm and basin, led by the storm's name: the runs of
// several storms.
void writeStormSummaryCsv(std::ostream &out, const std::vector<StormRun> &runs);
void writeStormSummaryJson(std::ostream &out, const std::vector<StormRun> &runs);

// JSON for a path ending in .json (any letter case), CSV otherwise.
bool isJsonPath(const std::string &path);

} // namespace vesk::host
