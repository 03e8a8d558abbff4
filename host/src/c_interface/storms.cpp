// Storms and events through the C interface.
#include <cmath>
#include <memory>
#include <new>
#include <optional>

#include "civil_time.h"
#include "design_storm.h"
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

StormReading readingOf(int32_t units, int32_t gaps) {
    if (gaps != VESK_HOST_GAPS_REFUSE && gaps != VESK_HOST_GAPS_ZERO)
        throw ArgumentError("gaps must be VESK_HOST_GAPS_REFUSE or VESK_HOST_GAPS_ZERO, not " + std::to_string(gaps));
    StormReading reading;
    reading.units = stormUnits(units);
    reading.gaps = gaps == VESK_HOST_GAPS_ZERO ? GapRule::Zero : GapRule::Refuse;
    return reading;
}

void noteGaps(VeskHostWarnings *warnings, const Storm &storm) {
    if (warnings == nullptr) return;
    for (Warning &w : gapNotes(storm)) warnings->items.push_back(std::move(w));
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

VeskHostStorm *vesk_host_storm_read_with(const char *path, int32_t units, int32_t gaps, VeskHostWarnings *warnings,
                                         VeskHostStatus *status) {
    VeskHostStorm *storm = nullptr;
    guarded(status, [&] {
        require(path, "path");
        Storm read = readStorm(path, readingOf(units, gaps));
        noteGaps(warnings, read);
        storm = newStorm(std::move(read));
    });
    return storm;
}

VeskHostStorm *vesk_host_storm_from_times(const int64_t *seconds, const double *values, size_t count,
                                          int64_t stepSeconds, const char *column, int32_t units, int32_t gaps,
                                          const char *origin, VeskHostWarnings *warnings, VeskHostStatus *status) {
    VeskHostStorm *storm = nullptr;
    guarded(status, [&] {
        if (count > 0) {
            require(seconds, "seconds");
            require(values, "values");
        }
        Storm made = stormOfTimes(std::vector<long long>(seconds, seconds + count),
                                  std::vector<double>(values, values + count), stepSeconds,
                                  column != nullptr ? column : "", readingOf(units, gaps),
                                  origin != nullptr ? origin : "storm");
        noteGaps(warnings, made);
        storm = newStorm(std::move(made));
    });
    return storm;
}

int32_t vesk_host_storm_quantity(const VeskHostStorm *storm) {
    return storm != nullptr && storm->storm.given == RainQuantity::Intensity ? VESK_HOST_RAIN_INTENSITY
                                                                            : VESK_HOST_RAIN_DEPTH;
}

int32_t vesk_host_storm_start(const VeskHostStorm *storm, int64_t *minute) {
    if (storm == nullptr || !storm->storm.start) return 0;
    if (minute != nullptr) *minute = *storm->storm.start;
    return 1;
}

int32_t vesk_host_storm_set_start(VeskHostStorm *storm, int64_t minute, VeskHostStatus *status) {
    return guarded(status, [&] {
        require(storm, "storm");
        if (storm->storm.stepMinutes < 1)
            throw InputError(storm->storm.path + ": a storm without a step cannot be dated");
        if (!civilMinuteInRange(minute) ||
            !civilMinuteInRange(minute + static_cast<int64_t>(storm->storm.depths.size()) * storm->storm.stepMinutes))
            throw InputError(storm->storm.path + ": the dates lie outside the years 0001 to 9999");
        storm->storm.start = minute;
    });
}

size_t vesk_host_storm_filled(const VeskHostStorm *storm) {
    return storm == nullptr ? 0 : storm->storm.filledSteps();
}

VeskHostStormSet *vesk_host_storms_read(const char *path, int32_t units, int32_t gaps, VeskHostWarnings *warnings,
                                        VeskHostStatus *status) {
    VeskHostStormSet *set = nullptr;
    guarded(status, [&] {
        require(path, "path");
        StormSet read = readStorms(path, readingOf(units, gaps));
        for (const NamedStorm &named : read.storms) noteGaps(warnings, named.storm);
        auto made = std::make_unique<VeskHostStormSet>();
        made->storms = std::move(read.storms);
        made->named = read.named;
        set = made.release();
    });
    return set;
}

void vesk_host_storms_free(VeskHostStormSet *storms) { delete storms; }

size_t vesk_host_storms_count(const VeskHostStormSet *storms) { return storms == nullptr ? 0 : storms->storms.size(); }

int32_t vesk_host_storms_named(const VeskHostStormSet *storms) { return storms != nullptr && storms->named ? 1 : 0; }

const char *vesk_host_storms_name(const VeskHostStormSet *storms, size_t index) {
    if (storms == nullptr || index >= storms->storms.size()) return "";
    return storms->storms[index].name.c_str();
}

VeskHostStorm *vesk_host_storms_storm(const VeskHostStormSet *storms, size_t index) {
    if (storms == nullptr || index >= storms->storms.size()) return nullptr;
    return new (std::nothrow) VeskHostStorm{storms->storms[index].storm};
}

VeskHostStorm *vesk_host_design_relation(double a, double b, double c, double factor, int32_t units,
                                         int32_t duration, int32_t step, double peakPosition, int32_t uniform,
                                         VeskHostStatus *status) {
    VeskHostStorm *storm = nullptr;
    guarded(status, [&] {
        DesignStormOptions options;
        options.relation = IntensityRelation{a, b, c, factor};
        options.units = c_interface::unitsArgument(units);
        options.duration = duration;
        options.step = step;
        options.peakPosition = peakPosition;
        options.uniform = uniform != 0;
        const DesignStorm made{std::to_string(duration) + "min", step, options.units, designStorm(options)};
        storm = newStorm(stormOf(made, "storm"));
    });
    return storm;
}

VeskHostStormSet *vesk_host_design_idf(const char *path, const double *returnPeriods, size_t periodCount,
                                       const int32_t *durations, size_t durationCount, int32_t step,
                                       double peakPosition, int32_t uniform, double factor, VeskHostStatus *status) {
    VeskHostStormSet *set = nullptr;
    guarded(status, [&] {
        require(path, "path");
        if (periodCount > 0) require(returnPeriods, "returnPeriods");
        if (durationCount > 0) require(durations, "durations");
        if (periodCount == 0 || durationCount == 0)
            throw InputError("design storms from an IDF table need return periods and durations");
        const IdfTable table = readIdfTable(path);
        const std::vector<DesignStorm> made =
            idfStorms(table, std::vector<double>(returnPeriods, returnPeriods + periodCount),
                      std::vector<int>(durations, durations + durationCount), step, peakPosition, uniform != 0, factor);
        auto storms = std::make_unique<VeskHostStormSet>();
        storms->named = true;
        for (const DesignStorm &storm : made) storms->storms.push_back(NamedStorm{storm.name, stormOf(storm, storm.name)});
        set = storms.release();
    });
    return set;
}

VeskHostStorm *vesk_host_design_distribution(const char *path, const char *name, double depth, int32_t units,
                                             int32_t step, VeskHostStatus *status) {
    VeskHostStorm *storm = nullptr;
    guarded(status, [&] {
        require(name, "name");
        const UnitSystem system = c_interface::unitsArgument(units);
        const std::vector<Distribution> read = path != nullptr ? readDistributions(path) : std::vector<Distribution>{};
        const Distribution &chosen =
            findDistribution(path != nullptr ? read : builtInDistributions(), name, path != nullptr ? path : "storm");
        const DesignStorm made{chosen.name, step, system, distributionStorm(chosen, depth, step, system)};
        storm = newStorm(stormOf(made, chosen.name));
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
