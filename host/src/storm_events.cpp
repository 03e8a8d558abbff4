#include "storm_events.h"

namespace vesk::host {

namespace {

// The longest run of dry steps between two wet ones, in steps.
std::size_t longestInnerDrySpell(const DepthSeries &depths) {
    std::size_t longest = 0, current = 0;
    bool wetSeen = false;
    for (double depth : depths) {
        if (depth > 0.0) {
            if (wetSeen && current > longest) longest = current;
            wetSeen = true;
            current = 0;
        } else {
            ++current;
        }
    }
    return longest;
}

} // namespace

std::vector<StormEvent> splitEvents(const Storm &storm, int dryMinutes) {
    const std::size_t step = static_cast<std::size_t>(storm.stepMinutes);
    const std::size_t gap = (static_cast<std::size_t>(dryMinutes) + step - 1) / step; // dry steps that split
    std::vector<StormEvent> events;
    std::size_t first = 0, last = 0, dry = 0;
    bool open = false;
    auto close = [&] {
        StormEvent event;
        event.number = static_cast<int>(events.size()) + 1;
        event.firstStep = first;
        event.storm = storm; // a view of the record's depths, not a copy
        event.storm.depths = storm.depths.slice(first, last - first + 1);
        event.storm.gaps.clear();
        if (storm.start) event.storm.start = *storm.start + static_cast<long long>(first) * storm.stepMinutes;
        events.push_back(std::move(event));
    };
    for (std::size_t k = 0; k < storm.depths.size(); ++k) {
        if (!(storm.depths[k] > 0.0)) {
            ++dry;
            continue;
        }
        if (open && dry >= gap) close();
        if (!open || dry >= gap) first = k;
        open = true;
        last = k;
        dry = 0;
    }
    if (open) close();
    return events;
}

bool needsEvents(const Storm &storm) {
    const std::size_t step = static_cast<std::size_t>(storm.stepMinutes);
    return storm.depths.size() * step > static_cast<std::size_t>(kLongRunMinutes) &&
           longestInnerDrySpell(storm.depths) * step >= static_cast<std::size_t>(kLongDrySpellMinutes);
}

Warnings longRecordWarnings(const Storm &storm) {
    if (!needsEvents(storm)) return {};
    return {Warning{WarningCause::LongRecord, "",
                    storm.path + ": the record lasts more than " + std::to_string(kLongRunMinutes / 60) +
                        " hours and holds a dry spell of " + std::to_string(kLongDrySpellMinutes / 60) +
                        " hours or more; the loss model does not recover between storms, so later peaks are "
                        "overstated; run it as independent events with --events HOURS"}};
}

} // namespace vesk::host
