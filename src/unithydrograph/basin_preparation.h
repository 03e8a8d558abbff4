// The pipeline behind vesk_addbasin: partition, defaults, unit hydrograph,
// insertion into the registry.
#pragma once

#include "frame/basin.h"

namespace vesk {

// Whether every field of `record` that preparation computes with is a
// finite number, the simulation step fits a 32-bit count and, when it is a
// minute or more, equals uhTimeStep, and no infiltration rate, decay or
// depression storage is negative.  eiaPct (only carried), rpaShare, spaShare
// and the outputs are not looked at; the shape is checked by the
// construction itself.
bool recordUsable(const BasinInput &record);

// Prepares a basin from `record` (writing the snapped imperviousPct, dcif and
// rpf back into it) and stores it under `name`.  A code standing on entry, or
// one set on the way, stops the pipeline after the step that finds it;
// nothing is stored then.
void prepareAndStoreBasin(BasinInput &record, const char *name);

} // namespace vesk
