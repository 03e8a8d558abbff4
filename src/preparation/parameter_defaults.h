// Step two of basin preparation: the fractions and coefficients the host
// left to the library, filled in on the basin only (never written back).
#pragma once

#include <cstdint>

#include "simulation/basin.h"

namespace vesk {

// The DCIF tables know levels 1 and 2; every other level takes level 0.
int32_t dcifTableLevel(int32_t disconnectionLevel);

// dcif and rpf (derived when negative, which after the partition's own
// derivation no longer happens in vesk_addbasin; raised to the floor, clamped
// at 1), then ct (from the imperviousness, corrected for small basins) and cp (with
// the ct now standing), each only when not given.  Sets no error code.
void applyParameterDefaults(Basin &basin);

} // namespace vesk
