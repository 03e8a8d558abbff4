// Which public header the level being built compiles against: the earlier
// level defines VESK_EARLIER_LEVEL and gets veskdll.h, the current level
// veskdll133.h.  Code shared by both levels includes this for the records
// and export macros the two headers declare alike (BasinInput, the shape,
// VESK_API, the error codes).  It lies on the ground floor: the public
// headers are all it includes.
#pragma once

#ifdef VESK_EARLIER_LEVEL
#include "veskdll.h"
#else
#include "veskdll133.h"
#endif
