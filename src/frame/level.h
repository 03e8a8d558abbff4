// The one place that tells the level being built.  Both libraries compile the
// shared sources; the earlier level defines VESK_EARLIER_LEVEL and gets its own
// public records and its own stored basin, everything else is common code.
#pragma once

#ifdef VESK_EARLIER_LEVEL
#include "veskdll.h"
#include "earlier/basin.h"
#else
#include "veskdll133.h"
#include "frame/basin.h"
#endif
