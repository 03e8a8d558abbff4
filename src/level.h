// The one place that tells the level being built.  Both libraries compile the
// shared sources; the earlier level defines VESK_EARLIER_LEVEL and gets its own
// public records and its own stored basin, everything else is common code.
// It sits above every directory: the frame, the unit hydrograph, the
// simulation and the relations never include the earlier level's headers.
#pragma once

#ifdef VESK_EARLIER_LEVEL
#include "veskdll.h"
#include "earlier/basin.h"
#else
#include "veskdll133.h"
#include "simulation/basin.h"
#endif
