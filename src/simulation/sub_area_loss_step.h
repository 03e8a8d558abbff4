// Losses of one sub-area in one time step: Horton infiltration, depression
// storage and the percentage loss of the remainder.
#pragma once

#include <cstdint>

#include "simulation/basin.h"
#include "simulation/horton_infiltration.h"

namespace vesk {

// The sub-area's Horton curve.
inline HortonCurve hortonCurve(const SubArea &subArea) {
    return HortonCurve{subArea.initialInfiltrationRate, subArea.finalInfiltrationRate, subArea.infiltrationDecay};
}

// The infiltration capacity (in) the sub-area's Horton curve gives the step
// that ends at `time` and lasts `timeStep` minutes (the int32 clock and step
// are exact as doubles, and so is their difference).
double curveCapacity(int32_t time, int32_t timeStep, const SubArea &subArea);

// Runs the loss model of `subArea` for the step that ends at `time` and lasts
// `timeStep` minutes.  Reads waterInput, capacityCarry and depressionStorage
// of `state` and writes every other field.  Returns the volume lost in the
// step (in x sq mi).
double subAreaLossStep(int32_t time, int32_t timeStep, const SubArea &subArea, LossState &state);

// The same step with the curve's capacity for it already formed (by
// curveCapacity or a basin's HortonCarry); the carried capacity is added here.
double subAreaLossStep(double curveCapacity, const SubArea &subArea, LossState &state);

} // namespace vesk
