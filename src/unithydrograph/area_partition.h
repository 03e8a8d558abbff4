// Step one of basin preparation: copy the host's record into the basin and
// split the basin into its four sub-areas, snapping away parts too small to
// matter and writing the snapped values back into the host's record.
#pragma once

#include "simulation/basin.h"

namespace vesk {

// Copies `record` into the fresh `basin`, snaps imperviousPct, dcif and rpf
// (writing every snapped value back into `record`) and fills the sub-areas
// from the snapped values.  Cannot fail.
void partitionArea(BasinInput &record, Basin &basin);

} // namespace vesk
