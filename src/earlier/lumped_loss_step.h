// The earlier level's lumped loss step: one set of losses for the whole basin
// per step, from the imperviousness, DCIF, RPF, the two depression-storage
// capacities and the Horton parameters.
#pragma once

#include "earlier/basin.h"

namespace vesk::earlier {

// Advances basin.step.clock by shape.uhTimeStep minutes and fills every field
// of basin.step for a step with `rain` inches, ending with stepExcess, the
// excess depth over the whole basin.  Reports no errors.
void lumpedLossStep(Basin &basin, double rain);

} // namespace vesk::earlier
