// The current level's preparation of a host's record, behind vesk_addbasin:
// partition, defaults, unit hydrograph.  Storing the basin is the export's.
#pragma once

#include "base/public_header.h"
#include "base/status.h"
#include "simulation/basin.h"

namespace vesk {

// Whether every field of `record` that preparation computes with is a
// finite number, the simulation step fits a 32-bit count and, when it is a
// minute or more, equals uhTimeStep, and no infiltration rate, decay or
// depression storage is negative.  eiaPct (only carried), rpaShare, spaShare
// and the outputs are not looked at; the shape is checked by the
// construction itself.
bool recordUsable(const BasinInput &record);

// A basin after the partition and the defaults, before its hydrograph, with
// the record's usability judged as the host passed it.
struct PartitionedBasin {
    Basin basin;
    bool usable;
};

// Partitions `record` into a new basin (writing the snapped imperviousPct,
// dcif and rpf back into it) and fills in the defaults.  Cannot fail.
PartitionedBasin partitionedBasin(BasinInput &record);

// Builds the unit hydrograph of a partitioned basin.  Returns Ok,
// CannotBuild (an unusable record or a shape that cannot be built) or
// NoMemory; the basin's ring holds nothing on failure.
Status buildBasinHydrograph(PartitionedBasin &partitioned);

} // namespace vesk
