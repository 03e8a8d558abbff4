#include "storm_run.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "input_error.h"
#include "library_errors.h"
#include "library_session.h"
#include "number_text.h"

namespace vesk::tool {

namespace {

// The unit-hydrograph step the basins give, for a storm without times.
int basinsStep(const std::vector<BasinSource> &sources, const Storm &storm) {
    int step = 0;
    std::string first;
    for (const BasinSource &source : sources) {
        if (!source.uhTimeStepGiven) continue;
        const int own = source.record.shape.uhTimeStep;
        if (step > 0 && own != step)
            throw InputError(storm.path + ": the storm has no times and the basins give different steps (" +
                             std::to_string(step) + " min in " + first + ", " + std::to_string(own) + " min in " +
                             source.placeOf("uhTimeStep") + "); choose one with --time-step");
        step = own;
        first = source.placeOf("uhTimeStep");
    }
    if (step < 1)
        throw InputError(storm.path + ": the storm has no times, so its step is not known; give it with --time-step");
    return step;
}

} // namespace

Storm stormAtRunStep(const std::vector<BasinSource> &sources, const Storm &storm, const RunOptions &options) {
    if (storm.stepMinutes == 0) {
        Storm stepped = storm;
        stepped.stepMinutes = options.timeStep > 0 ? options.timeStep : basinsStep(sources, storm);
        return stepped;
    }
    if (options.timeStep <= 0) return storm;
    Storm stepped = resampled(storm, options.timeStep);
    for (std::size_t k = 0; k < stepped.depths.size(); ++k)
        if (stepped.depths[k] > kMaxLibraryStepDepthInches)
            throw InputError(storm.path + ": summed into " + std::to_string(options.timeStep) + "-minute steps, step " +
                             std::to_string(k + 1) + " holds " + exactText(stepped.depths[k]) +
                             " in, beyond the " + exactText(kMaxLibraryStepDepthInches) +
                             " in the library takes in one step; choose a shorter --time-step");
    return stepped;
}

std::vector<std::string> stepNotes(const std::vector<BasinSource> &sources, int step) {
    std::vector<std::string> notes;
    for (const BasinSource &source : sources)
        if (source.uhTimeStepGiven && source.record.shape.uhTimeStep != step)
            notes.push_back(source.placeOf("uhTimeStep") + ": basin " + source.name +
                            ": unit hydrograph built at the run's " + std::to_string(step) +
                            "-minute step instead of the file's uhTimeStep " +
                            std::to_string(source.record.shape.uhTimeStep) + " min");
    return notes;
}

namespace {

// After the storm, the excess of a dry step is exactly 0, so every outflow is
// exactly 0 once the longest unit hydrograph has passed.  The limit only
// guards against a run that never dries (a NaN in the ring).
std::size_t stepLimit(const Storm &storm, const RunResult &result) {
    std::size_t longest = 0;
    for (const BasinRun &basin : result.basins) longest = std::max(longest, basin.ordinates.size());
    return storm.depths.size() + longest + 1;
}

bool allDry(const RunResult &result) {
    for (const BasinRun &basin : result.basins)
        if (basin.outflow.back() != 0.0) return false;
    return true;
}

void stepBasin(BasinRun &basin, double rain, int32_t target) {
    const double outflow = vesk_execute(basin.name.c_str(), rain, target);
    int32_t code = vesk_geterror();
    if (code != VESK_OK)
        throw LibraryError("stepping basin " + basin.name + " to " + std::to_string(target) + " min", code);
    // Values far beyond any basin can overflow the arithmetic: no result is
    // better than an infinite or undefined one.
    if (!std::isfinite(outflow))
        throw InputError(basin.path + ": basin " + basin.name + ": the outflow at " + std::to_string(target) +
                         " min is not a finite number; the basin's values are beyond what can be computed");
    PrecipState state{};
    vesk_getbasin_precip(basin.name.c_str(), &state);
    code = vesk_geterror();
    if (code != VESK_OK) throw LibraryError("reading the step of basin " + basin.name, code);
    basin.outflow.push_back(outflow);
    basin.stepExcess.push_back(state.stepExcess);
}

} // namespace

RunResult runStorm(const std::vector<BasinSource> &sources, const Storm &storm, const RunOptions &options) {
    RunResult result;
    result.timeStep = storm.stepMinutes;
    result.units = options.units;
    if (result.timeStep < 1) throw InputError(storm.path + ": the storm has no step"); // stormAtRunStep sets it
    for (const BasinSource &source : sources) {
        // The unit hydrograph and the simulation step together: the library
        // takes one ordinate per step.
        BasinInput record = source.record;
        record.timeStep = result.timeStep;
        record.shape.uhTimeStep = result.timeStep;
        addBasin(record, source.name, source.path);
        BasinRun basin;
        basin.name = source.name;
        basin.path = source.path;
        basin.ordinates = unitHydrograph(source.name);
        result.basins.push_back(std::move(basin));
    }

    if (static_cast<long long>(storm.depths.size()) * result.timeStep > kMaxRunMinutes)
        throw InputError(storm.path + ": " + std::to_string(storm.depths.size()) + " steps of " +
                         std::to_string(result.timeStep) + " min last longer than the " +
                         std::to_string(kMaxRunMinutes) + " minutes vesk simulates");

    const std::size_t fixedSteps =
        options.duration > 0 ? static_cast<std::size_t>((options.duration + result.timeStep - 1) / result.timeStep) : 0;
    // No run passes kMaxRunMinutes, however long the basins drain.
    const std::size_t runLimit = static_cast<std::size_t>(kMaxRunMinutes / result.timeStep);
    std::size_t limit = fixedSteps > 0 ? fixedSteps : stepLimit(storm, result);
    const bool capped = limit > runLimit;
    if (capped) limit = runLimit;
    if (fixedSteps > 0 && storm.depths.size() > fixedSteps) result.stormStepsCut = storm.depths.size() - fixedSteps;

    for (std::size_t k = 0;; ++k) {
        const bool stormOver = k >= storm.depths.size();
        if (fixedSteps == 0 && stormOver && k > 0 && allDry(result)) {
            result.end = RunEnd::Dry;
            break;
        }
        if (k >= limit) {
            result.end = capped ? RunEnd::RunLimit : fixedSteps > 0 ? RunEnd::Duration : RunEnd::StepLimit;
            break;
        }
        const double rain = stormOver ? 0.0 : storm.depths[k];
        // The library's clock counts 32-bit minutes.
        const long long end = static_cast<long long>(k + 1) * result.timeStep;
        if (end > std::numeric_limits<int32_t>::max())
            throw InputError("the run would pass " + std::to_string(std::numeric_limits<int32_t>::max()) +
                             " minutes, the end of the library's clock");
        const int32_t target = static_cast<int32_t>(end);
        result.rain.push_back(rain);
        for (BasinRun &basin : result.basins) stepBasin(basin, rain, target);
        if (options.progress && k % 1024 == 0) options.progress(k + 1, limit);
    }

    for (BasinRun &basin : result.basins) basin.prepared = preparedBasin(basin.name);
    return result;
}

} // namespace vesk::tool
