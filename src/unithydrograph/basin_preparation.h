// The pipeline behind vesk_addbasin: partition, defaults, unit hydrograph,
// insertion into the registry.
#pragma once

#include "frame/basin_registry.h"
#include "frame/status.h"
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

// Builds the unit hydrograph of a partitioned basin and stores the basin
// under `name`.  Returns Ok, CannotBuild (an unusable record or a shape that
// cannot be built), NoMemory, or the registry's NullArgument or
// DuplicateName; nothing is stored on failure.
Status storeWithHydrograph(PartitionedBasin partitioned, BasinRegistry *registry, const char *name);

} // namespace vesk
