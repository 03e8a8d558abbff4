// Earlier-level preparation of a host's record: copied as it is (nothing is
// snapped, nothing written back), the missing fractions and coefficients
// filled in, the basin shares and the effective imperviousness stored, then
// the shared unit hydrograph in this level's order of operations.
#pragma once

#include "base/status.h"
#include "earlier/basin.h"

namespace vesk::earlier {

// The stored basin before its unit hydrograph: the record's fields, DCIF and
// RPF given or defaulted and limited to 1, the shares, the run-on ratio, the
// effective imperviousness and ct and cp given or derived from it.  Cannot
// fail.
Basin preparedBasin(const ::BasinInput &record);

// Whether every number of the record that preparation reads is finite, judged
// on the record as the caller passed it: an infinite dcif or rpf is refused,
// not limited to 1 or replaced by a default.  The outputs, eiaPct, the shares
// and the shape (checked by the hydrograph after ct and cp are filled in) are
// not looked at.
bool recordFinite(const ::BasinInput &record);

// Builds the basin's unit hydrograph.  Returns Ok when built, CannotBuild
// when the basin holds a NaN or infinite parameter, a negative infiltration
// rate, decay or depression storage, an imperviousPct outside 0 to 100, or the
// shape cannot be built, NoMemory when the arrays cannot be allocated (nothing
// is kept then).
Status buildBasinHydrograph(Basin &basin);

} // namespace vesk::earlier
