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

// A fresh registry with the version confirmed and no code pending, kept open
// when the caller returns (the C interface's runs leave their basins
// stored).  Throws LibraryError when the handshake fails.
void openFreshRegistry();

// Clears a pending error code without dropping the stored basins: a stamp
// the library rejects replaces any code with VESK_ERR_VERSION_UNCONFIRMED,
// which the right stamp then clears.
void clearPendingCode();

// The version stamp this program was built against (note the library's
// order: major, minor, build, release).
VersionStamp builtAgainstVersion();

// Adds `record` under `name`; throws LibraryError naming `source` on refusal.
void addBasin(BasinInput &record, const std::string &name, const std::string &source);

// The basin's prepared parameters and its unit-hydrograph ordinates.
BasinInput preparedBasin(const std::string &name);
std::vector<double> unitHydrograph(const std::string &name);

} // namespace vesk::host
