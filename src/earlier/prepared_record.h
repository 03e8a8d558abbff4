// A stored earlier-level basin's parameters as preparation stored them, with
// the hydrograph's outputs, in the host's record: what vesk_getbasin hands
// back.
#pragma once

#include "earlier/basin.h"

namespace vesk::earlier {

::BasinInput preparedRecord(const Basin &basin);

} // namespace vesk::earlier
