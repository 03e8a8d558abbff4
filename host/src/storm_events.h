// Long rain records as independent events.  The loss model has no recovery
// between storms (infiltration capacity and depression storage never come
// back), so a record is split at dry spells and every event runs from fresh
// basins.
#pragma once

#include <cstddef>
#include <vector>

#include "storm_file.h"
#include "warnings.h"

namespace vesk::host {

// A run longer than this containing a dry spell of at least kLongDrySpell
// minutes is warned about when run as one event.
inline constexpr int kLongRunMinutes = 1440;
inline constexpr int kLongDrySpellMinutes = 360;

struct StormEvent {
    int number = 0;             // 1, 2, ...
    std::size_t firstStep = 0;  // index of its first step in the whole record
    Storm storm;                // from its first to its last wet step
};

// The wet stretches of `storm` (at its step) separated by at least
// `dryMinutes` of steps without rain; a record without rain has no event.
std::vector<StormEvent> splitEvents(const Storm &storm, int dryMinutes);

// Whether the storm lasts more than kLongRunMinutes and holds a dry spell of
// kLongDrySpellMinutes or more between wet steps.
bool needsEvents(const Storm &storm);

// The warning for a storm that needsEvents but runs as one event, if it does.
Warnings longRecordWarnings(const Storm &storm);

} // namespace vesk::host
