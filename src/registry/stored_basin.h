// Which stored basin the level being built keeps: the earlier level (built
// with VESK_EARLIER_LEVEL) its lumped basin, the current level the basin of
// four sub-areas.  Both are vesk::Basin; the registry, its node and the code
// shared by both levels above it see the level's own.
#pragma once

#ifdef VESK_EARLIER_LEVEL
#include "earlier/basin.h"
#else
#include "simulation/basin.h"
#endif
