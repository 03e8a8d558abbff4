#include "library_session.h"

#include "library_errors.h"

namespace vesk::host {

VersionStamp builtAgainstVersion() {
    const VersionStamp stamp = VESK_VERSION_STAMP_INIT;
    return stamp;
}

void openFreshRegistry() {
    // Opening again releases the old registry but leaves a pending code (a
    // refusal's, which no handshake clears); freeing first clears it.
    vesk_free();
    vesk_open();
    const VersionStamp stamp = builtAgainstVersion();
    vesk_checkversion(&stamp);
    const int32_t code = vesk_geterror();
    if (code != VESK_OK) throw LibraryError("opening the library", code);
}

void clearPendingCode() {
    const VersionStamp rejected{0, 0, 0, 0};
    vesk_checkversion(&rejected);
    const VersionStamp stamp = builtAgainstVersion();
    vesk_checkversion(&stamp);
}

LibrarySession::LibrarySession() {
    try {
        openFreshRegistry();
    } catch (...) {
        vesk_free();
        throw;
    }
}

LibrarySession::~LibrarySession() { vesk_free(); }

void addBasin(BasinInput &record, const std::string &name, const std::string &source) {
    vesk_addbasin(&record, name.c_str());
    const int32_t code = vesk_geterror();
    if (code != VESK_OK) throw LibraryError(source + ": adding basin " + name, code);
}

BasinInput preparedBasin(const std::string &name) {
    BasinInput record{};
    vesk_getbasin(name.c_str(), &record);
    const int32_t code = vesk_geterror();
    if (code != VESK_OK) throw LibraryError("reading basin " + name, code);
    return record;
}

std::vector<double> unitHydrograph(const std::string &name) {
    const int32_t length = vesk_getuhlength(name.c_str());
    if (length < 0) throw LibraryError("reading the unit hydrograph of " + name, vesk_geterror());
    std::vector<double> ordinates;
    ordinates.reserve(static_cast<std::size_t>(length));
    for (int32_t i = 0; i < length; ++i) ordinates.push_back(vesk_getuhordinatevalue(name.c_str(), i));
    return ordinates;
}

} // namespace vesk::host
