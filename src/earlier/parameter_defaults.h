// Step two of earlier-level preparation: the fractions and coefficients the
// host left to the library.  The straight lines fill in a DCIF or RPF that
// the host left at 0 or below.  Each level has one line up to a
// threshold imperviousness (inclusive) and one above it.  For 0..100 % and
// after the limit to 1 they give the values of the exported relations; a
// level outside 0..2 takes level 0's lines, where the relations give 0.
#pragma once

#include <cstdint>

#include "earlier/basin.h"

namespace vesk::earlier {

// DCIF and RPF given or from the default lines and limited to 1, then the
// effective imperviousness and ct and cp given or derived from it.
void applyParameterDefaults(Basin &basin);

// Default fractions from c = imperviousPct * 0.01.
double defaultDcif(int32_t level, double imperviousPct);
double defaultRpf(int32_t level, double imperviousPct);

} // namespace vesk::earlier
