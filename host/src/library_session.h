// One use of the library: opened and the version confirmed on construction,
// every basin released on destruction.
#pragma once

#include <string>
#include <vector>

#include "veskdll133.h"

namespace vesk::host {

class LibrarySession {
public:
    LibrarySession(); // throws LibraryError when the handshake fails
    ~LibrarySession();
    LibrarySession(const LibrarySession &) = delete;
    LibrarySession &operator=(const LibrarySession &) = delete;
};

// The version stamp this program was built against (note the library's
// order: major, minor, build, release).
VersionStamp builtAgainstVersion();

// Adds `record` under `name`; throws LibraryError naming `source` on refusal.
void addBasin(BasinInput &record, const std::string &name, const std::string &source);

// The basin's prepared parameters and its unit-hydrograph ordinates.
BasinInput preparedBasin(const std::string &name);
std::vector<double> unitHydrograph(const std::string &name);

} // namespace vesk::host
