// One simulation step of a stored basin: clock, losses, convolution, peak.
#pragma once

#include <cstdint>
#include <limits>

#include "simulation/basin.h"
#include "simulation/basin_loss_step.h"

namespace vesk {

// Advances the basin's clock by its timeStep, applies `rainDepth` (in) to the
// step, turns the step's excess into outflow and keeps the peak.  The caller
// makes sure the clock can advance (timeStep >= 1, no int32 overflow).
void takeBasinStep(Basin &basin, double rainDepth);

// Whether one more step fits the int32 clock.
inline bool clockCanAdvance(const Basin &basin) {
    return basin.precip.time <= std::numeric_limits<int32_t>::max() - basin.precip.timeStep;
}

// Steps the basin with `rainDepth` (in) in every step until its clock reaches
// `targetTime`.  Near the end of the int32 clock the target may be out of
// reach: stepping stops where the next step would wrap the clock round.
// Returns the latest outflow (cfs).  The caller makes sure timeStep >= 1.
double stepUntil(Basin &basin, double rainDepth, int32_t targetTime);

} // namespace vesk
