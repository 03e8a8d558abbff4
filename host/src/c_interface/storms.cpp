// Storms and events through the C interface.
#include <cmath>
#include <new>
#include <optional>

#include "handles.h"
#include "input_error.h"

using namespace vesk::host;
using vesk::host::c_interface::ArgumentError;
using vesk::host::c_interface::copyOut;
using vesk::host::c_interface::guarded;
using vesk::host::c_interface::require;

namespace {

std::optional<UnitSystem> stormUnits(int32_t units) {
    if (units == VESK_HOST_UNITS_FROM_FILE) return std::nullopt;
    return c_interface::unitsArgument(units);
}

VeskHostStorm *newStorm(Storm storm) {
    auto *handle = new VeskHostStorm();
    handle->storm = std::move(storm);
    return handle;
}

} // namespace

extern "C" {

VeskHostStorm *vesk_host_storm_read(const char *path, int32_t units, VeskHostStatus *status) {
    VeskHostStorm *storm = nullptr;
    guarded(status, [&] {
        require(path, "path");
        storm = newStorm(readStorm(path, stormUnits(units)));
    });
    return storm;
}

VeskHostStorm *vesk_host_storm_parse(const char *text, size_t length, const char *origin, int32_t units,
                                     VeskHostStatus *status) {
    VeskHostStorm *storm = nullptr;
    guarded(status, [&] {
        if (length > 0) require(text, "text");
        const std::string content = length > 0 ? std::string(text, length) : std::string();
        storm = newStorm(parseStormText(content, origin != nullptr ? origin : "storm", stormUnits(units)));
    });
    return storm;
}

VeskHostStorm *vesk_host_storm_from_depths(const double *inches, size_t count, int32_t stepMinutes,
                                           const char *origin, VeskHostStatus *status) {
    VeskHostStorm *storm = nullptr;
    guarded(status, [&] {
        if (count > 0) require(inches, "inches");
        const std::vector<double> depths(inches, inches + count);
        storm = newStorm(stormOfDepths(depths, stepMinutes, origin != nullptr ? origin : "storm"));
    });
    return storm;
}

VeskHostStorm *vesk_host_storm_resample(const VeskHostStorm *storm, int32_t stepMinutes, VeskHostStatus *status) {
    VeskHostStorm *result = nullptr;
    guarded(status, [&] {
        require(storm, "storm");
        if (stepMinutes < 1 || stepMinutes > 1440)
            throw InputError("the step " + std::to_string(stepMinutes) + " min is outside 1 to 1440 minutes");
        if (storm->storm.stepMinutes == 0) {
            Storm stepped = storm->storm; // depths without times take the step as given
            stepped.stepMinutes = stepMinutes;
            result = newStorm(std::move(stepped));
        } else {
            result = newStorm(resampled(storm->storm, stepMinutes));
        }
    });
    return result;
}

void vesk_host_storm_free(VeskHostStorm *storm) { delete storm; }

int32_t vesk_host_storm_step(const VeskHostStorm *storm) { return storm == nullptr ? 0 : storm->storm.stepMinutes; }

size_t vesk_host_storm_length(const VeskHostStorm *storm) {
    return storm == nullptr ? 0 : storm->storm.depths.size();
}

int32_t vesk_host_storm_units(const VeskHostStorm *storm) {
    return storm != nullptr && storm->storm.units == UnitSystem::Si ? VESK_HOST_UNITS_SI : VESK_HOST_UNITS_US;
}

size_t vesk_host_storm_depths(const VeskHostStorm *storm, double *inches, size_t capacity) {
    if (storm == nullptr) return 0;
    return copyOut(storm->storm.depths.begin(), storm->storm.depths.size(), inches, capacity);
}

VeskHostEvents *vesk_host_storm_events(const VeskHostStorm *storm, double dryHours, VeskHostStatus *status) {
    VeskHostEvents *events = nullptr;
    guarded(status, [&] {
        require(storm, "storm");
        if (storm->storm.stepMinutes < 1)
            throw InputError(storm->storm.path + ": the storm has no step, so its dry spells cannot be measured");
        if (!(dryHours > 0.0) || dryHours * 60.0 > kMaxRunMinutes)
            throw InputError("a dry spell that separates events lasts more than 0 hours, got " +
                             std::to_string(dryHours));
        auto *split = new VeskHostEvents();
        split->events = splitEvents(storm->storm, static_cast<int>(std::ceil(dryHours * 60.0)));
        events = split;
    });
    return events;
}

void vesk_host_events_free(VeskHostEvents *events) { delete events; }

size_t vesk_host_events_count(const VeskHostEvents *events) { return events == nullptr ? 0 : events->events.size(); }

VeskHostStorm *vesk_host_events_storm(const VeskHostEvents *events, size_t index) {
    if (events == nullptr || index >= events->events.size()) return nullptr;
    return new (std::nothrow) VeskHostStorm{events->events[index].storm};
}

int64_t vesk_host_events_start_minute(const VeskHostEvents *events, size_t index) {
    if (events == nullptr || index >= events->events.size()) return 0;
    const StormEvent &event = events->events[index];
    return static_cast<int64_t>(event.firstStep) * event.storm.stepMinutes;
}

} // extern "C"
