#include "run_session.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "input_error.h"
#include "library_errors.h"
#include "number_text.h"
#include "storm_file.h"

namespace vesk::host {

RunSession::RunSession(const std::vector<BasinSource> &sources, int stepMinutes, const SessionOptions &options)
    : level_(options.level != nullptr ? *options.level : currentLevel()), stepMinutes_(stepMinutes),
      keepSeries_(options.keepSeries) {
    if (stepMinutes < 1) throw InputError("a run needs a step of at least 1 minute");
    basins_.reserve(sources.size());
    for (const BasinSource &source : sources) {
        try {
            add(source);
        } catch (const LibraryError &error) {
            if (!options.skipRefused) throw;
            refusals_.push_back(Refusal{source.name, source.path, error.code(), error.what()});
            restoreAfterRefusal();
        }
    }
}

void RunSession::add(const BasinSource &source) {
    // The unit hydrograph and the simulation together: the library takes
    // one ordinate per step.
    BasinInput record = source.record;
    record.timeStep = stepMinutes_;
    record.shape.uhTimeStep = stepMinutes_;
    level_.addBasin(record, source.name, source.path);
    BasinRun basin;
    basin.name = source.name;
    basin.path = source.path;
    basin.ordinates = level_.unitHydrograph(source.name);
    basins_.push_back(std::move(basin));
    added_.push_back(source);
}

// A refusal leaves its code pending, and the library does nothing until it
// is cleared.  The current level clears it keeping every basin; the earlier
// level only by starting afresh, so the basins added so far are added again.
void RunSession::restoreAfterRefusal() {
    if (level_.clearPendingCode()) return;
    level_.openFreshRegistry();
    std::vector<BasinSource> again = std::move(added_);
    added_.clear();
    basins_.clear();
    for (const BasinSource &source : again) add(source);
}

long long RunSession::nextStepEnd() const {
    return static_cast<long long>(steps_ + 1) * stepMinutes_;
}

int32_t RunSession::checkedTarget() const {
    // The library's clock counts 32-bit minutes.
    const long long end = nextStepEnd();
    if (end > std::numeric_limits<int32_t>::max())
        throw InputError("the run would pass " + std::to_string(std::numeric_limits<int32_t>::max()) +
                         " minutes, the end of the library's clock");
    return static_cast<int32_t>(end);
}

void RunSession::step(double inches) {
    if (!stepDepthAllowed(inches))
        checkStepDepth(inches, "step " + std::to_string(steps_ + 1), exactText(inches), UnitSystem::Us);
    const int32_t target = checkedTarget();
    forgetEarlierSteps();
    for (BasinRun &basin : basins_) stepBasin(basin, inches, target);
    rain_.push_back(inches);
    ++steps_;
}

void RunSession::step(const std::vector<double> &inchesPerBasin) {
    if (inchesPerBasin.size() != basins_.size())
        throw InputError("a step needs one rain depth for each of the " + std::to_string(basins_.size()) +
                         " basins, got " + std::to_string(inchesPerBasin.size()));
    for (std::size_t b = 0; b < basins_.size(); ++b)
        if (!stepDepthAllowed(inchesPerBasin[b]))
            checkStepDepth(inchesPerBasin[b], "step " + std::to_string(steps_ + 1) + ", basin " + basins_[b].name,
                           exactText(inchesPerBasin[b]), UnitSystem::Us);
    const int32_t target = checkedTarget();
    forgetEarlierSteps();
    for (std::size_t b = 0; b < basins_.size(); ++b) stepBasin(basins_[b], inchesPerBasin[b], target);
    rain_.push_back(std::numeric_limits<double>::quiet_NaN()); // no common depth
    ++steps_;
}

void RunSession::stepBasin(BasinRun &basin, double inches, int32_t target) {
    double outflow = 0.0, excess = 0.0;
    level_.step(basin.name, inches, target, outflow, excess);
    // Values far beyond any basin can overflow the arithmetic: no result is
    // better than an infinite or undefined one.
    if (!std::isfinite(outflow))
        throw InputError(basin.path + ": basin " + basin.name + ": the outflow at " + std::to_string(target) +
                         " min is not a finite number; the basin's values are beyond what can be computed");
    basin.outflow.push_back(outflow);
    basin.stepExcess.push_back(excess);
}

void RunSession::forgetEarlierSteps() {
    if (keepSeries_) return;
    rain_.clear();
    for (BasinRun &basin : basins_) {
        basin.outflow.clear();
        basin.stepExcess.clear();
    }
}

bool RunSession::allDry() const {
    for (const BasinRun &basin : basins_)
        if (!basin.outflow.empty() && basin.outflow.back() != 0.0) return false;
    return true;
}

std::size_t RunSession::longestUnitHydrograph() const {
    std::size_t longest = 0;
    for (const BasinRun &basin : basins_) longest = std::max(longest, basin.ordinates.size());
    return longest;
}

std::vector<BasinRun> RunSession::takeBasins() {
    for (BasinRun &basin : basins_) basin.prepared = level_.prepared(basin.name);
    std::vector<BasinRun> taken = std::move(basins_);
    basins_.clear();
    return taken;
}

} // namespace vesk::host
