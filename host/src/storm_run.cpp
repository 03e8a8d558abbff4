#include "storm_run.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <set>

#include "input_error.h"
#include "library_errors.h"
#include "number_text.h"
#include "run_summary.h"
#include "storm_events.h"

namespace vesk::host {

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
        if (stepped.depths[k] > kMaxStepDepthInches)
            throw InputError(storm.path + ": summed into " + std::to_string(options.timeStep) + "-minute steps, step " +
                             std::to_string(k + 1) + " holds " + exactText(stepped.depths[k]) +
                             " in, beyond the " + exactText(kMaxStepDepthInches) +
                             " in a run takes in one step; choose a shorter --time-step");
    return stepped;
}

Warnings stepNotes(const std::vector<BasinSource> &sources, const RunResult &result) {
    Warnings notes;
    for (const BasinRun &basin : result.basins)
        for (const BasinSource &source : sources) {
            if (source.name != basin.name || source.path != basin.path) continue;
            if (source.uhTimeStepGiven && source.record.shape.uhTimeStep != basin.computation.step)
                notes.push_back(Warning{WarningCause::UnitHydrographStep, source.name,
                                        source.placeOf("uhTimeStep") + ": basin " + source.name +
                                            ": unit hydrograph built at the " +
                                            std::to_string(basin.computation.step) +
                                            "-minute computation step instead of the file's uhTimeStep " +
                                            std::to_string(source.record.shape.uhTimeStep) + " min",
                                        std::to_string(basin.computation.step) + " min, not " +
                                            std::to_string(source.record.shape.uhTimeStep)});
            break;
        }
    return notes;
}

namespace {

// After the storm, the excess of a dry step is exactly 0, so every outflow is
// exactly 0 once the longest unit hydrograph has passed.  The limit only
// guards against a run that never dries (a NaN in the ring).
std::size_t stepLimit(const Storm &storm, const RunSession &session) {
    const std::size_t step = static_cast<std::size_t>(session.dataStep());
    return storm.depths.size() + (session.longestUnitHydrographMinutes() + step - 1) / step + 1;
}

} // namespace

RunResult runStorm(const std::vector<BasinSource> &sources, const Storm &storm, const RunOptions &options) {
    RunResult result;
    result.dataStep = storm.stepMinutes;
    result.units = options.units;
    result.rule = options.rule;
    if (result.dataStep < 1) throw InputError(storm.path + ": the storm has no step"); // stormAtRunStep sets it
    if (static_cast<long long>(storm.depths.size()) * result.dataStep > kMaxRunMinutes)
        throw InputError(storm.path + ": " + std::to_string(storm.depths.size()) + " steps of " +
                         std::to_string(result.dataStep) + " min last longer than the " +
                         std::to_string(kMaxRunMinutes) + " minutes a run simulates");
    SessionOptions sessionOptions;
    sessionOptions.skipRefused = options.skipRefused;
    sessionOptions.level = options.level;
    sessionOptions.rule = options.rule;
    sessionOptions.reportStep = options.reportStep;
    sessionOptions.plan = options.plan;
    RunSession session(sources, result.dataStep, sessionOptions);
    result.reportStep = session.reportStep();

    const std::size_t fixedSteps =
        options.duration > 0 ? static_cast<std::size_t>((options.duration + result.dataStep - 1) / result.dataStep) : 0;
    // No run passes kMaxRunMinutes, however long the basins drain.
    const std::size_t runLimit = static_cast<std::size_t>(kMaxRunMinutes / result.dataStep);
    std::size_t limit = fixedSteps > 0 ? fixedSteps : stepLimit(storm, session);
    const bool capped = limit > runLimit;
    if (capped) limit = runLimit;
    if (fixedSteps > 0 && storm.depths.size() > fixedSteps) result.stormStepsCut = storm.depths.size() - fixedSteps;

    for (std::size_t k = 0;; ++k) {
        const bool stormOver = k >= storm.depths.size();
        if (fixedSteps == 0 && stormOver && k > 0 && session.allDry()) {
            result.end = RunEnd::Dry;
            break;
        }
        if (k >= limit) {
            result.end = capped ? RunEnd::RunLimit : fixedSteps > 0 ? RunEnd::Duration : RunEnd::StepLimit;
            break;
        }
        session.step(stormOver ? 0.0 : storm.depths[k]);
        if (options.progress && k % 1024 == 0) options.progress(k + 1, limit);
    }
    result.rain = session.rain();
    result.rainDepth = session.rainDepth();
    result.outlet = session.outlet();
    result.outletPeak = session.outletPeak();
    result.outletPeakTime = session.outletPeakTime();
    result.start = storm.start;
    result.refusals = session.refusals();
    result.basins = session.takeBasins();
    return result;
}

std::vector<StormRun> runStorms(const std::vector<BasinSource> &sources, const std::vector<NamedStorm> &storms,
                                const RunOptions &options, Warnings &warnings) {
    std::set<std::string> names;
    for (const NamedStorm &storm : storms) {
        if (const std::optional<std::string> fault = stormNameFault(storm.name)) throw InputError(storm.storm.path + ": " + *fault);
        if (!names.insert(storm.name).second)
            throw InputError(storm.storm.path + ": the storm name '" + storm.name +
                             "' is given twice; each storm of a run needs a name of its own");
    }
    const LibraryLevel &level = options.level != nullptr ? *options.level : currentLevel();
    std::map<int, StepPlan> plans; // by data step
    std::set<std::string> notesGiven;
    std::vector<StormRun> runs;
    runs.reserve(storms.size());
    for (const NamedStorm &storm : storms) {
        const Storm stepped = stormAtRunStep(sources, storm.storm, options);
        auto planned = plans.find(stepped.stepMinutes);
        if (planned == plans.end())
            planned = plans
                          .emplace(stepped.stepMinutes, planComputationSteps(sources, stepped.stepMinutes, options.rule,
                                                                             level, options.skipRefused))
                          .first;
        RunOptions shared = options;
        shared.plan = &planned->second;
        StormRun run{storm.name, runStorm(sources, stepped, shared)};
        refuseNonFiniteResults(run.result);
        const std::string lead = "storm " + storm.name + ": ";
        for (Warning w : longRecordWarnings(stepped)) {
            w.text = lead + w.text;
            warnings.push_back(std::move(w));
        }
        for (Warning w : stepNotes(sources, run.result))
            if (notesGiven.insert(w.text).second) warnings.push_back(std::move(w));
        for (Warning w : runWarnings(run.result)) {
            w.text = lead + w.text;
            warnings.push_back(std::move(w));
        }
        runs.push_back(std::move(run));
    }
    return runs;
}

} // namespace vesk::host
