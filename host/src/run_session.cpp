#include "run_session.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "input_error.h"
#include "library_errors.h"
#include "number_text.h"
#include "storm_file.h"

namespace vesk::host {

namespace {

// The outflow `minutes` into a data step whose sub-step outflows are
// `values` (values[0] at its start, values[j] at j sub-steps of `step`
// minutes): exact where a sub-step ends, else on the straight line between
// the two around it.
double valueAt(const std::vector<double> &values, int step, int minutes) {
    const int whole = minutes / step;
    const int rest = minutes % step;
    if (rest == 0) return values[static_cast<std::size_t>(whole)];
    const double before = values[static_cast<std::size_t>(whole)];
    const double after = values[static_cast<std::size_t>(whole) + 1];
    return before + (after - before) * (static_cast<double>(rest) / step);
}

} // namespace

RunSession::RunSession(const std::vector<BasinSource> &sources, int dataStep, const SessionOptions &options)
    : level_(options.level != nullptr ? *options.level : currentLevel()), dataStep_(dataStep),
      reportStep_(options.reportStep > 0 ? options.reportStep : dataStep), keepSeries_(options.keepSeries),
      skipRefused_(options.skipRefused) {
    if (dataStep < 1) throw InputError("a run needs a step of at least 1 minute");
    if (dataStep % reportStep_ != 0)
        throw InputError("the report step " + std::to_string(reportStep_) + " min does not divide the " +
                         std::to_string(dataStep) + "-minute data step");
    StepPlan planned;
    if (options.plan == nullptr) planned = planComputationSteps(sources, dataStep, options.rule, level_, skipRefused_);
    const StepPlan &plan = options.plan != nullptr ? *options.plan : planned;
    if (plan.steps.size() != sources.size() || plan.dataStep != dataStep)
        throw InputError("the computation steps were chosen for other basins or another data step");
    for (const StepPlan::Refused &refused : plan.refused) {
        if (!skipRefused_) throw InputError(refused.message);
        const BasinSource &source = sources[refused.index];
        refusals_.push_back(Refusal{source.name, source.path, refused.code, refused.message});
    }
    std::vector<std::pair<const BasinSource *, StepChoice>> chosen;
    chosen.reserve(sources.size());
    for (std::size_t i = 0; i < sources.size(); ++i)
        if (plan.steps[i]) chosen.emplace_back(&sources[i], *plan.steps[i]);
    level_.openFreshRegistry();
    basins_.reserve(chosen.size());
    for (const auto &[source, choice] : chosen) {
        try {
            add(*source, choice);
        } catch (const LibraryError &error) {
            if (!skipRefused_) throw;
            refusals_.push_back(Refusal{source->name, source->path, error.code(), error.what()});
            restoreAfterRefusal();
        }
    }
    outletGrid_ = dataStep;
    for (const BasinRun &basin : basins_) outletGrid_ = std::gcd(outletGrid_, basin.computation.step);
}

void RunSession::add(const BasinSource &source, const StepChoice &choice) {
    // The unit hydrograph and the simulation together: the library takes
    // one ordinate per step.
    BasinInput record = source.record;
    record.timeStep = choice.step;
    record.shape.uhTimeStep = choice.step;
    level_.addBasin(record, source.name, source.path);
    BasinRun basin;
    basin.name = source.name;
    basin.path = source.path;
    basin.computation = choice;
    basin.ordinates = level_.unitHydrograph(source.name);
    basin.prepared = level_.prepared(source.name);
    basins_.push_back(std::move(basin));
    added_.emplace_back(source, choice);
}

// A refusal leaves its code pending, and the library does nothing until it
// is cleared.  The current level clears it keeping every basin; the earlier
// level only by starting afresh, so the basins added so far are added again.
void RunSession::restoreAfterRefusal() {
    if (level_.clearPendingCode()) return;
    level_.openFreshRegistry();
    const auto again = std::move(added_);
    added_.clear();
    basins_.clear();
    for (const auto &[source, choice] : again) add(source, choice);
}

long long RunSession::nextStepEnd() const { return static_cast<long long>(steps_ + 1) * dataStep_; }

int32_t RunSession::clockAt(long long minutes) const {
    // The library's clock counts 32-bit minutes.
    if (minutes > std::numeric_limits<int32_t>::max())
        throw InputError("the run would pass " + std::to_string(std::numeric_limits<int32_t>::max()) +
                         " minutes, the end of the library's clock");
    return static_cast<int32_t>(minutes);
}

void RunSession::step(double inches) {
    if (!stepDepthAllowed(inches))
        checkStepDepth(inches, "step " + std::to_string(steps_ + 1), exactText(inches), UnitSystem::Us);
    clockAt(nextStepEnd());
    forgetEarlierSteps();
    const long long start = static_cast<long long>(steps_) * dataStep_;
    std::vector<double> fineOutlet(static_cast<std::size_t>(dataStep_ / outletGrid_), 0.0);
    for (BasinRun &basin : basins_) stepBasin(basin, inches, start, fineOutlet);
    const int parts = dataStep_ / reportStep_;
    for (int m = 0; m < parts; ++m) rain_.push_back(inches / parts);
    rainDepth_ += inches;
    finishStep(start, fineOutlet);
}

void RunSession::step(const std::vector<double> &inchesPerBasin) {
    if (inchesPerBasin.size() != basins_.size())
        throw InputError("a step needs one rain depth for each of the " + std::to_string(basins_.size()) +
                         " basins, got " + std::to_string(inchesPerBasin.size()));
    for (std::size_t b = 0; b < basins_.size(); ++b)
        if (!stepDepthAllowed(inchesPerBasin[b]))
            checkStepDepth(inchesPerBasin[b], "step " + std::to_string(steps_ + 1) + ", basin " + basins_[b].name,
                           exactText(inchesPerBasin[b]), UnitSystem::Us);
    clockAt(nextStepEnd());
    forgetEarlierSteps();
    const long long start = static_cast<long long>(steps_) * dataStep_;
    std::vector<double> fineOutlet(static_cast<std::size_t>(dataStep_ / outletGrid_), 0.0);
    for (std::size_t b = 0; b < basins_.size(); ++b) stepBasin(basins_[b], inchesPerBasin[b], start, fineOutlet);
    const int parts = dataStep_ / reportStep_;
    for (int m = 0; m < parts; ++m) rain_.push_back(std::numeric_limits<double>::quiet_NaN()); // no common depth
    finishStep(start, fineOutlet);
}

void RunSession::stepBasin(BasinRun &basin, double inches, long long start, std::vector<double> &fineOutlet) {
    const int step = basin.computation.step;
    const int parts = dataStep_ / step;
    // Each sub-step takes an even share of the data step's depth.
    const double share = inches / parts;
    std::vector<double> values(static_cast<std::size_t>(parts) + 1);
    values[0] = basin.lastOutflow;
    basin.lastExcess = 0.0;
    if (inches == 0.0 && basin.subStepsSinceExcess >= basin.ordinates.size() && level_.stepsToTarget()) {
        // Dry and drained: no rain makes no excess, and the ring holds
        // nothing, so every sub-step's outflow is exactly 0.  One call takes
        // the library through all of them, as separate calls would.
        const long long end = start + dataStep_;
        double outflow = 0.0, excess = 0.0;
        level_.step(basin.name, 0.0, clockAt(end), outflow, excess);
        basin.subStepsSinceExcess += static_cast<std::size_t>(parts);
        for (int m = 1; m <= dataStep_ / reportStep_; ++m) basin.outflow.push_back(0.0);
        return;
    }
    for (int j = 1; j <= parts; ++j) {
        const long long end = start + static_cast<long long>(j) * step;
        double outflow = 0.0, excess = 0.0;
        level_.step(basin.name, share, clockAt(end), outflow, excess);
        // Values far beyond any basin can overflow the arithmetic: no result
        // is better than an infinite or undefined one.
        if (!std::isfinite(outflow))
            throw InputError(basin.path + ": basin " + basin.name + ": the outflow at " + std::to_string(end) +
                             " min is not a finite number; the basin's values are beyond what can be computed");
        values[static_cast<std::size_t>(j)] = outflow;
        if (outflow > basin.peakOutflow) { // strictly: the first of equal peaks
            basin.peakOutflow = outflow;
            basin.peakTime = static_cast<double>(end);
        }
        basin.outflowSum += outflow;
        basin.excessDepth += excess;
        basin.lastExcess += excess;
        basin.subStepsSinceExcess = excess != 0.0 ? 0 : basin.subStepsSinceExcess + 1;
    }
    basin.lastOutflow = values.back();
    for (int m = 1; m <= dataStep_ / reportStep_; ++m) basin.outflow.push_back(valueAt(values, step, m * reportStep_));
    for (std::size_t g = 0; g < fineOutlet.size(); ++g)
        fineOutlet[g] += valueAt(values, step, static_cast<int>(g + 1) * outletGrid_);
}

void RunSession::finishStep(long long start, const std::vector<double> &fineOutlet) {
    for (std::size_t g = 0; g < fineOutlet.size(); ++g)
        if (fineOutlet[g] > outletPeak_) {
            outletPeak_ = fineOutlet[g];
            outletPeakTime_ = static_cast<double>(start + static_cast<long long>(g + 1) * outletGrid_);
        }
    const std::size_t reported = static_cast<std::size_t>(dataStep_ / reportStep_);
    for (std::size_t m = 0; m < reported; ++m) {
        double sum = 0.0;
        for (const BasinRun &basin : basins_) sum += basin.outflow[basin.outflow.size() - reported + m];
        outlet_.push_back(sum);
    }
    ++steps_;
}

void RunSession::forgetEarlierSteps() {
    if (keepSeries_) return;
    rain_.clear();
    outlet_.clear();
    for (BasinRun &basin : basins_) basin.outflow.clear();
}

bool RunSession::allDry() const {
    for (const BasinRun &basin : basins_)
        if (basin.lastOutflow != 0.0) return false;
    return true;
}

std::size_t RunSession::longestUnitHydrographMinutes() const {
    std::size_t longest = 0;
    for (const BasinRun &basin : basins_)
        longest = std::max(longest, basin.ordinates.size() * static_cast<std::size_t>(basin.computation.step));
    return longest;
}

std::vector<BasinRun> RunSession::takeBasins() {
    // Read again: the library tracks each basin's peak time in the record.
    for (BasinRun &basin : basins_) basin.prepared = level_.prepared(basin.name);
    std::vector<BasinRun> taken = std::move(basins_);
    basins_.clear();
    return taken;
}

} // namespace vesk::host
