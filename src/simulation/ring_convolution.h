// Convolution of each step's excess with the unit hydrograph through the
// ring of pending outflow contributions.  Used by both levels.
#pragma once

#include "frame/common_records.h"

namespace vesk {

// Spreads `stepExcess` (in) over the coming uhLength steps, one ordinate per
// step, then takes the coming step's slot out of the ring as the new outflow
// (cfs), clears it and moves on one slot.  Returns the new outflow.  A ring
// without ordinates yields outflow 0.
double advanceRing(ConvolutionRing &ring, double stepExcess);

} // namespace vesk
