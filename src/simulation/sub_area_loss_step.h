// Losses of one sub-area in one time step: Horton infiltration, depression
// storage and the percentage loss of the remainder.
#pragma once

#include <cstdint>

#include "simulation/basin.h"
#include "simulation/horton_infiltration.h"

namespace vesk {

// The sub-area's Horton curve.
HortonCurve hortonCurve(const SubArea &subArea);

// Runs the loss model of `subArea` for the step that ends at `time` and lasts
// `timeStep` minutes.  Reads waterInput, capacityCarry and depressionStorage
// of `state` and writes every other field.  Returns the volume lost in the
// step (in x sq mi).
double subAreaLossStep(int32_t time, int32_t timeStep, const SubArea &subArea, LossState &state);

} // namespace vesk
