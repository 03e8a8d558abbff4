#include "simulation/sub_area_loss_step.h"

#include <cmath>

namespace vesk {

double hortonRate(const SubArea &subArea, int64_t minutes) {
    // 64-bit seconds: the product stays exact for every clock an int32 can hold.
    const int64_t seconds = 60 * minutes;
    return subArea.finalInfiltrationRate +
           (subArea.initialInfiltrationRate - subArea.finalInfiltrationRate) *
               std::exp(-subArea.infiltrationDecay * static_cast<double>(seconds));
}

namespace {

// Infiltration capacity (in) of the step: the trapezoid under the Horton curve
// between the start and the end of the step, plus the carried capacity.
double stepCapacity(int32_t time, int32_t timeStep, const SubArea &subArea, double carry) {
    const double rateAtEnd = hortonRate(subArea, time);
    const double rateAtStart = hortonRate(subArea, static_cast<int64_t>(time) - timeStep);
    return (static_cast<double>(timeStep) / 60.0) * ((rateAtEnd + rateAtStart) * 0.5) + carry;
}

// Fills depression storage from `remainder`; returns what is left over.
double fillDepressionStorage(const SubArea &subArea, LossState &state, double remainder) {
    state.previousStorage = state.depressionStorage;
    const double room = subArea.maxDepressionStorage - state.depressionStorage;
    if (room > remainder) {
        state.depressionStorage += remainder;
        return 0.0;
    }
    state.depressionStorage = subArea.maxDepressionStorage;
    return remainder - room;
}

} // namespace

double subAreaLossStep(int32_t time, int32_t timeStep, const SubArea &subArea, LossState &state) {
    state.infiltration = 0.0;
    state.otherLoss = 0.0;
    state.excessLoss = 0.0;
    state.excess = 0.0;

    // Infiltration takes first; capacity the rain does not use is not kept.
    const double capacity = stepCapacity(time, timeStep, subArea, state.capacityCarry);
    double remainder = 0.0;
    if (capacity >= state.waterInput) {
        state.infiltration = state.waterInput;
    } else {
        state.infiltration = capacity;
        remainder = state.waterInput - capacity;
    }
    state.capacityCarry = 0.0;

    remainder = fillDepressionStorage(subArea, state, remainder);

    // What passes storage loses its percentage (5 % on impervious ground).
    state.otherLoss = 0.0;
    const double passing = remainder - state.otherLoss;
    state.excessLoss = subArea.excessLossPercent * passing / 100.0;
    state.excess = passing - state.excessLoss;

    const double area = subArea.area;
    return area * state.infiltration + area * (state.depressionStorage - state.previousStorage) +
           area * state.otherLoss + area * state.excessLoss;
}

} // namespace vesk
