// What a run or a reading found worth saying but not worth refusing: each
// warning has a cause (so a front end can group them), the basin it concerns
// (empty for the whole run) and a sentence.
#pragma once

#include <string>
#include <vector>

namespace vesk::host {

enum class WarningCause {
    UnusualValue = 1,         // a basin value that is legal but unusual (steep slope, vast area)
    UnitHydrographStep = 2,   // a note: the unit hydrograph is built at another step than the file gives
    UnitHydrographVolume = 3, // the sampled unit hydrograph misses one inch over the basin
    OutflowVolume = 4,        // the outflow misses the run's excess volume
    StillFlowing = 5,         // the outflow did not come back to 0
    RunLimit = 6,             // the run stopped at its longest length with water draining
    StormCut = 7,             // storm steps beyond the chosen duration were not applied
    LongRecord = 8,           // a long record with dry spells run as one event
    PeakUnresolved = 9,       // no step that holds the volume is short enough for the peak
    GapsFilled = 10,          // a note: missing rows of a record were filled with dry steps, as asked
};

struct Warning {
    WarningCause cause;
    std::string basin;  // empty: the whole run
    std::string text;   // one sentence, ready to print after "warning: "
    std::string detail = {}; // what differs from basin to basin, in a few words ("95.1 %")
};

using Warnings = std::vector<Warning>;

// Notes are printed as "note:", the rest as "warning:".
inline bool isNote(WarningCause cause) {
    return cause == WarningCause::UnitHydrographStep || cause == WarningCause::GapsFilled;
}

// What a cause means, in a few words ("the outflow misses the run's excess
// volume"), for a line that gathers its basins.
const char *causeTitle(WarningCause cause);

// The warnings of one cause, gathered: how many there were, and each basin
// they concern (in order of first appearance) with its details, as
// "B0007 (95.1 %; event 2: 91.0 %)" (three details, then how many more);
// "the run" for warnings about no basin.  A cause that arose once keeps its
// sentence.
struct WarningGroup {
    WarningCause cause;
    std::size_t count = 0;
    std::vector<std::string> members;
    std::string sentence; // the one warning's sentence; empty when there were several
};

// One group per cause, in the order the causes first arise.
std::vector<WarningGroup> groupedWarnings(const Warnings &warnings);

// The warnings one line per cause, in the order the causes first arise: a
// cause that arose once keeps its sentence; one that arose for several
// basins (or events) gets its title, the count and the basins with their
// details, as many as fit in `width` characters, then how many more.  Each
// line starts "note: " or "warning: ".
std::vector<std::string> groupedWarningLines(const Warnings &warnings, std::size_t width = 160);

} // namespace vesk::host
