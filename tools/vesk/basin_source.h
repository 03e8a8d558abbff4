// A basin input file read for the tool: its syntax is checked first, so a
// typing error is reported with its line instead of silently zeroing every
// later value (which is how the library's own reader treats it), then the
// values are taken with the library's reader.
#pragma once

#include <string>

#include "veskdll133.h"

namespace vesk::tool {

struct BasinSource {
    std::string path;
    std::string name;
    BasinInput record{}; // as the file gives it; timeStep 0
};

// Throws InputError naming the file and line of the first fault.
BasinSource readBasinSource(const std::string &path);

} // namespace vesk::tool
