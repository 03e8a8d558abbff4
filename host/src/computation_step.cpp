#include "computation_step.h"

#include <cmath>
#include <optional>

#include "input_error.h"
#include "library_errors.h"
#include "number_text.h"
#include "volume_checks.h"

namespace vesk::host {

namespace {

struct Probe {
    double volumeRatio;
    BasinInput prepared;
};

// The basin's unit hydrograph at `step`, built by the library in a fresh
// registry; nothing when the library refuses it at that step.
std::optional<Probe> probe(const BasinSource &source, int step, const LibraryLevel &level,
                           std::optional<LibraryError> &refusal) {
    level.openFreshRegistry();
    BasinInput record = source.record;
    record.timeStep = step;
    record.shape.uhTimeStep = step;
    try {
        level.addBasin(record, source.name, source.path);
    } catch (const LibraryError &error) {
        refusal = error;
        return std::nullopt;
    }
    const BasinInput prepared = level.prepared(source.name);
    const VolumeCheck check = unitHydrographCheck(level.unitHydrograph(source.name), step, prepared.area);
    return Probe{check.ratio(), prepared};
}

bool holdsVolume(double ratio, const StepRule &rule) { return std::fabs(ratio - 1.0) <= rule.volumeTolerance; }

// The lag: the time to peak less the half step the unit rain adds.
double lagOf(const BasinInput &prepared, int step) { return prepared.uhPeakTime - 0.5 * step; }

// Which inputs made the shape: given by the host, or derived.
std::string shapeOrigin(const BasinSource &source, const BasinInput &prepared) {
    const ShapeParameters &given = source.record.shape;
    auto named = [](const char *name, double value, bool wasGiven) {
        return std::string(wasGiven ? "the given " : "the derived ") + name + " " + shownText(value);
    };
    std::string origin = named("cp", prepared.shape.cp, given.cp > 0.0) + " and " +
                         named("ct", prepared.shape.ct, given.ct > 0.0);
    if (given.cp <= 0.0 || given.ct <= 0.0)
        origin += " (derived from the basin's area " + shownText(prepared.area) + " sq mi and imperviousness " +
                  shownText(prepared.imperviousPct) + " %)";
    return origin;
}

[[noreturn]] void refuseUnsampled(const BasinSource &source, int dataStep, const Probe &finest, int finestStep,
                                  const StepRule &rule) {
    const BasinInput &p = finest.prepared;
    throw InputError(source.path + ": basin " + source.name + ": no step of 1 minute or more that divides the " +
                     std::to_string(dataStep) + "-minute data step samples its unit hydrograph within " +
                     shownText(100.0 * rule.volumeTolerance) + " % of one inch (25.4 mm) (at " + std::to_string(finestStep) +
                     " min it holds " + fixedText(100.0 * finest.volumeRatio, 1) + " %): its time to peak is " +
                     fixedText(lagOf(p, finestStep), 2) + " min and its widths " + fixedText(p.shape.width50, 2) +
                     " and " + fixedText(p.shape.width75, 2) + " min at 50 % and 75 % of the peak, from " +
                     shapeOrigin(source, p) + "; the method does not serve this basin at this tolerance");
}

} // namespace

std::vector<int> divisorsOf(int minutes) {
    std::vector<int> divisors;
    for (int step = minutes; step >= 1; --step)
        if (minutes % step == 0) divisors.push_back(step);
    return divisors;
}

StepChoice chooseComputationStep(const BasinSource &source, int dataStep, const StepRule &rule,
                                 const LibraryLevel &level) {
    std::optional<StepChoice> holding; // the finest step so far that holds the volume
    std::optional<Probe> finest;
    std::optional<LibraryError> refusal;
    int finestStep = 0;
    for (const int step : divisorsOf(dataStep)) {
        const std::optional<Probe> found = probe(source, step, level, refusal);
        if (!found) continue;
        finest = found;
        finestStep = step;
        if (!holdsVolume(found->volumeRatio, rule)) continue;
        const double lag = lagOf(found->prepared, step);
        StepChoice choice{step, found->volumeRatio, lag, step <= rule.peakStepShare * lag};
        if (choice.peakResolved) return choice;
        holding = choice; // finer steps may resolve the peak; keep the finest that holds
    }
    if (holding) return *holding;
    if (!finest) throw *refusal; // the library builds the basin at no step
    refuseUnsampled(source, dataStep, *finest, finestStep, rule);
}

StepPlan planComputationSteps(const std::vector<BasinSource> &sources, int dataStep, const StepRule &rule,
                              const LibraryLevel &level, bool keepGoing) {
    StepPlan plan;
    plan.dataStep = dataStep;
    plan.rule = rule;
    plan.steps.reserve(sources.size());
    for (std::size_t i = 0; i < sources.size(); ++i) {
        try {
            plan.steps.emplace_back(chooseComputationStep(sources[i], dataStep, rule, level));
        } catch (const LibraryError &error) {
            if (!keepGoing) throw;
            plan.steps.emplace_back(std::nullopt);
            plan.refused.push_back(StepPlan::Refused{i, error.code(), error.what()});
        } catch (const InputError &error) {
            if (!keepGoing) throw;
            plan.steps.emplace_back(std::nullopt);
            plan.refused.push_back(StepPlan::Refused{i, VESK_ERR_UH_FIT, error.what()});
        }
    }
    return plan;
}

} // namespace vesk::host
