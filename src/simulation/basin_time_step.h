// One simulation step of a stored basin: clock, losses, convolution, peak.
#pragma once

#include "frame/basin.h"

namespace vesk {

// Advances the basin's clock by its timeStep, applies `rainDepth` (in) to the
// step, turns the step's excess into outflow and keeps the peak.  The caller
// makes sure the clock can advance (timeStep >= 1, no int32 overflow).
void takeBasinStep(Basin &basin, double rainDepth);

// Whether one more step fits the int32 clock.
bool clockCanAdvance(const Basin &basin);

} // namespace vesk
