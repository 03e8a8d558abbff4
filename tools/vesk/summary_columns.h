// The summary's figures as vesk shows them, in the terminal and in the HTML
// report: a label, a unit, a short label for a row per basin, and the text
// of the figure for a basin or the outlet.  The numbers are the host core's
// (run_summary.h); only their wording and rounding live here.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "run_summary.h"
#include "storm_run.h"

namespace vesk::tool {

using namespace vesk::host;

struct SummaryColumn {
    std::string label, unit, shortLabel;
    // The figure's text for a basin or, with a null basin, the outlet ("-"
    // for what only a basin has).
    std::function<std::string(const BasinRun *, const BasinSummary &)> cell;
    bool rowLayout; // shown where the summary has a row per basin
};

// Every figure of the summary, numbers to six significant digits or, with
// `exact`, every digit; `outletArea` in the library's units.
std::vector<SummaryColumn> summaryColumns(const RunResult &result, double outletArea, bool exact);

// The outlet (null) first where several basins meet, then each basin.
std::vector<const BasinRun *> summaryOrder(const RunResult &result);

// A name cut to 24 bytes (whole UTF-8 characters, "..." after) for tables
// a terminal shows; the files keep names whole.
std::string shownName(const std::string &name);

} // namespace vesk::tool
