#include "storm_run.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "input_error.h"
#include "library_errors.h"
#include "library_session.h"

namespace vesk::tool {

int simulationStep(const std::vector<BasinSource> &sources, const Storm &storm, const RunOptions &options) {
    int step = options.timeStep;
    if (step <= 0) {
        for (const BasinSource &source : sources) {
            const int own = source.record.shape.uhTimeStep;
            if (step > 0 && own != step)
                throw InputError("the basins have different unit-hydrograph steps (" + std::to_string(step) +
                                 " and " + std::to_string(own) + " min, " + source.path +
                                 "); choose one with --time-step");
            step = own;
        }
        if (step < 1)
            throw InputError(sources.front().path + ": uhTimeStep " + std::to_string(step) +
                             " min cannot be the simulation step; choose one with --time-step");
    }
    // The library steps a basin one ordinate at a time, so it refuses a step
    // other than the unit hydrograph's.
    for (const BasinSource &source : sources)
        if (source.record.shape.uhTimeStep >= 1 && source.record.shape.uhTimeStep != step)
            throw InputError("--time-step " + std::to_string(step) + " min differs from the " +
                             std::to_string(source.record.shape.uhTimeStep) + "-minute uhTimeStep of " +
                             source.path + "; a basin steps at its unit hydrograph's spacing");
    if (storm.stepMinutes != 0 && storm.stepMinutes != step)
        throw InputError(storm.path + ": the storm's times step " + std::to_string(storm.stepMinutes) +
                         " min but the simulation steps " + std::to_string(step) +
                         " min; give the storm in " + std::to_string(step) + "-minute steps or use --time-step " +
                         std::to_string(storm.stepMinutes));
    return step;
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
    result.timeStep = simulationStep(sources, storm, options);
    for (const BasinSource &source : sources) {
        BasinInput record = source.record;
        record.timeStep = result.timeStep;
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
    const std::size_t limit = fixedSteps > 0 ? fixedSteps : stepLimit(storm, result);
    if (fixedSteps > 0 && storm.depths.size() > fixedSteps) result.stormStepsCut = storm.depths.size() - fixedSteps;

    for (std::size_t k = 0;; ++k) {
        const bool stormOver = k >= storm.depths.size();
        if (fixedSteps == 0 && stormOver && k > 0 && allDry(result)) {
            result.end = RunEnd::Dry;
            break;
        }
        if (k >= limit) {
            result.end = fixedSteps > 0 ? RunEnd::Duration : RunEnd::StepLimit;
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
    }

    for (BasinRun &basin : result.basins) basin.prepared = preparedBasin(basin.name);
    return result;
}

} // namespace vesk::tool
