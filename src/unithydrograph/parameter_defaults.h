// Step two of basin preparation: the fractions and coefficients the host
// left to the library, filled in on the basin only (never written back).
#pragma once

#include "simulation/basin.h"

namespace vesk {

// dcif and rpf (derived when negative, raised to the floor, clamped at 1),
// then ct (from the imperviousness, corrected for small basins) and cp (with
// the ct now standing), each only when not given.  Cannot fail.
void applyParameterDefaults(Basin &basin);

} // namespace vesk
