// The library's version, held once as text; the stamp is derived from it on
// every call.
#pragma once

#include "veskdll133.h"

namespace vesk {

inline constexpr const char *kVersionText = "1,3,3,6/0";

// Reads up to four numbers from `text`: digits accumulate, any other character
// ends a number (an empty number reads as 0).  Digits after the last
// separator are never read.  The third number goes to `release`, the fourth
// to `build`.
VersionStamp stampFromVersionText(const char *text);

} // namespace vesk
