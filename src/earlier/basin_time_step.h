// One earlier-level step of a stored basin: the lumped loss step, then the
// shared ring convolution of its excess.  The step lasts shape.uhTimeStep
// minutes, one ordinate of the unit hydrograph; there is no peak tracking.
#pragma once

#include "earlier/basin.h"

namespace vesk::earlier {

// Returns the step's outflow (cfs), also left in basin.ring.outflow.
double takeBasinStep(Basin &basin, double rain);

} // namespace vesk::earlier
