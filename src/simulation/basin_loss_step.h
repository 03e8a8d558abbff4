// The loss step of a whole basin: the four sub-areas in order, the UIA's
// run-on over the RPA, the basin's excess depth and the running volumes.
#pragma once

#include "simulation/basin.h"

namespace vesk {

// Expects the clock already advanced and stepRain set for this step.  Writes
// stepExcess, the loss state of every sub-area it processes and the running
// rain, loss and runoff volumes.  A sub-area is processed only when its area
// exceeds kFractionFloor.
void basinLossStep(Basin &basin);

} // namespace vesk
