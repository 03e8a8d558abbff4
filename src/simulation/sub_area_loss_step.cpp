#include "simulation/sub_area_loss_step.h"

#include "simulation/horton_infiltration.h"

namespace vesk {

double curveCapacity(int32_t time, int32_t timeStep, const SubArea &subArea) {
    return stepCapacity(hortonCurve(subArea), static_cast<double>(time), static_cast<double>(timeStep),
                        OperationOrder::Current);
}

namespace {

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
    return subAreaLossStep(curveCapacity(time, timeStep, subArea), subArea, state);
}

double subAreaLossStep(double curveCapacity, const SubArea &subArea, LossState &state) {
    state.infiltration = 0.0;
    state.otherLoss = 0.0;
    state.excessLoss = 0.0;
    state.excess = 0.0;

    // Infiltration takes first; capacity the rain does not use is not kept.
    const double capacity = curveCapacity + state.capacityCarry;
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
