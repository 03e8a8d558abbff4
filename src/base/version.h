// The library's version, held once as text; the stamp is derived from it on
// every call.  The text is spelled from the public header's version macros
// (which a test holds to project(VERSION)): "major,minor,release,build/0".
#pragma once

#include "veskdll133.h"

#define VESK_VERSION_SPELLED(number) #number
#define VESK_VERSION_NUMBER_TEXT(number) VESK_VERSION_SPELLED(number)

namespace vesk {

inline constexpr const char *kVersionText = VESK_VERSION_NUMBER_TEXT(VESK_VERSION_MAJOR) ","
    VESK_VERSION_NUMBER_TEXT(VESK_VERSION_MINOR) "," VESK_VERSION_NUMBER_TEXT(VESK_VERSION_RELEASE) ","
    VESK_VERSION_NUMBER_TEXT(VESK_VERSION_BUILD) "/0";

// Reads up to four numbers from `text`: digits accumulate, any other character
// ends a number (an empty number reads as 0).  Digits after the last
// separator are never read.  The third number goes to `release`, the fourth
// to `build`.
VersionStamp stampFromVersionText(const char *text);

// Whether a host's stamp names this library's version: major, minor and
// release must match; the build is not compared.
bool stampAccepted(const VersionStamp &stamp);

} // namespace vesk
