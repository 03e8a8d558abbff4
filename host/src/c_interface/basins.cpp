// Basin sets through the C interface: read from files or given as records,
// every one checked as the vesk program checks it.
#include <cmath>
#include <new>

#include "basin_checks.h"
#include "basin_fields.h"
#include "basin_names.h"
#include "handles.h"
#include "input_error.h"
#include "number_text.h"
#include "run_summary.h"

using namespace vesk::host;
using vesk::host::c_interface::ArgumentError;
using vesk::host::c_interface::guarded;
using vesk::host::c_interface::require;

namespace {

const BasinSource *sourceAt(const VeskHostBasins *basins, size_t index) {
    if (basins == nullptr || index >= basins->sources.size()) return nullptr;
    return &basins->sources[index];
}

// Appends `added` when none of its names is held yet; on a refusal nothing
// is appended.
void appendAll(VeskHostBasins &basins, std::vector<BasinSource> added, VeskHostWarnings *warnings, UnitSystem units) {
    Warnings found;
    std::unordered_set<std::string> names;
    for (const BasinSource &source : added) {
        const std::string compared = comparedName(source.name);
        if (basins.comparedNames.count(compared) > 0 || !names.insert(compared).second)
            throw InputError(source.placeOf("name") + ": basin '" + source.name +
                             "' is already among the basins (names are compared ignoring letter case)");
        for (Warning &w : checkBasin(source, units)) found.push_back(std::move(w));
    }
    basins.comparedNames.insert(names.begin(), names.end());
    for (BasinSource &source : added) basins.sources.push_back(std::move(source));
    if (warnings != nullptr)
        for (Warning &w : found) warnings->items.push_back(std::move(w));
}

// A record handed over by a program may hold values no file can: NaN and
// infinities, which every range check lets through.
void refuseNonFinite(const BasinSource &source) {
    std::size_t count = 0;
    const BasinField *fields = basinFields(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (fields[i].integer) continue;
        const double value = fields[i].load(source.record);
        if (!std::isfinite(value))
            throw InputError(source.path + ": basin " + source.name + ": " + fields[i].name + " " + exactText(value) +
                             " is not a finite number");
    }
}

} // namespace

extern "C" {

VeskHostBasins *vesk_host_basins_new(void) { return new (std::nothrow) VeskHostBasins(); }

void vesk_host_basins_free(VeskHostBasins *basins) { delete basins; }

int32_t vesk_host_basins_read(VeskHostBasins *basins, const char *path, int32_t units, VeskHostWarnings *warnings,
                              VeskHostStatus *status) {
    return guarded(status, [&] {
        require(basins, "basins");
        require(path, "path");
        const UnitSystem system = c_interface::unitsArgument(units);
        appendAll(*basins, readBasinSources(path, system), warnings, system);
    });
}

int32_t vesk_host_basins_add(VeskHostBasins *basins, const char *name, const BasinInput *record,
                             int32_t uhTimeStepGiven, const char *origin, VeskHostWarnings *warnings,
                             VeskHostStatus *status) {
    return guarded(status, [&] {
        require(basins, "basins");
        require(name, "name");
        require(record, "record");
        BasinSource source;
        source.name = name;
        source.path = origin != nullptr ? origin : "basin '" + source.name + "'";
        if (const std::optional<std::string> fault = basinNameFault(source.name))
            throw InputError(source.path + ": " + *fault);
        source.record = *record;
        source.record.timeStep = 0;
        source.uhTimeStepGiven = uhTimeStepGiven != 0;
        refuseNonFinite(source);
        std::vector<BasinSource> added;
        added.push_back(std::move(source));
        appendAll(*basins, std::move(added), warnings, UnitSystem::Us);
    });
}

size_t vesk_host_basins_count(const VeskHostBasins *basins) { return basins == nullptr ? 0 : basins->sources.size(); }

const char *vesk_host_basins_name(const VeskHostBasins *basins, size_t index) {
    const BasinSource *source = sourceAt(basins, index);
    return source == nullptr ? "" : source->name.c_str();
}

const char *vesk_host_basins_origin(const VeskHostBasins *basins, size_t index) {
    const BasinSource *source = sourceAt(basins, index);
    return source == nullptr ? "" : source->path.c_str();
}

int32_t vesk_host_basins_record(const VeskHostBasins *basins, size_t index, BasinInput *record) {
    const BasinSource *source = sourceAt(basins, index);
    if (source == nullptr || record == nullptr) return VESK_HOST_BAD_ARGUMENT;
    *record = source->record;
    return VESK_HOST_OK;
}

int32_t vesk_host_basins_uh_step_given(const VeskHostBasins *basins, size_t index) {
    const BasinSource *source = sourceAt(basins, index);
    return source != nullptr && source->uhTimeStepGiven ? 1 : 0;
}

int32_t vesk_host_stored_basin_check(const char *name, const VeskHostEarlierLevel *earlier,
                                     VeskHostWarnings *warnings, VeskHostStatus *status) {
    return guarded(status, [&] {
        require(name, "name");
        const std::unique_ptr<LibraryLevel> chosen = c_interface::levelOf(earlier);
        const LibraryLevel &level = chosen ? *chosen : currentLevel();
        Warnings found = unitHydrographWarnings(name, level.prepared(name), level.unitHydrograph(name));
        if (warnings != nullptr)
            for (Warning &w : found) warnings->items.push_back(std::move(w));
    });
}

} // extern "C"
