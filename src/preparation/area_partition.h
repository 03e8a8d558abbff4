// Step one of basin preparation: copy the host's record into the basin and
// split the basin into its four sub-areas, snapping away parts too small to
// matter and writing the snapped values back into the host's record.
#pragma once

#include "simulation/basin.h"

namespace vesk {

// Copies `record` into the fresh `basin`, replaces a negative dcif or rpf by
// its relation's value at the imperviousness as snapped, snaps imperviousPct,
// dcif and rpf (writing back what snapping changes; a derived fraction that
// snapping leaves alone is not written back) and fills the sub-areas from the
// snapped values.  Sets no error code.
void partitionArea(BasinInput &record, Basin &basin);

} // namespace vesk
