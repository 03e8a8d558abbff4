// vesk_open with the version handshake, vesk_getversion and vesk_checkversion.
#include "base/version.h"
#include "exports/shared/library_state.h"
#include "registry/basin_registry.h"
#include "veskdll133.h"

extern "C" {

VESK_API void VESK_CALL vesk_open(void) {
    vesk::LibraryState &state = vesk::libraryState();
    // A registry left by an earlier open is out of the host's reach now.
    vesk::teardownRegistry(state.registry);
    state.registry = vesk::createRegistry();
    if (state.registry == nullptr) state.errorCode = VESK_ERR_NO_MEMORY;
    // A failed allocation (3) or any earlier pending code survives the open.
    if (state.errorCode == VESK_OK) state.errorCode = VESK_ERR_VERSION_UNCONFIRMED;
}

VESK_API void VESK_CALL vesk_getversion(VersionStamp *stamp) {
    if (stamp != nullptr) *stamp = vesk::stampFromVersionText(vesk::kVersionText);
}

VESK_API void VESK_CALL vesk_checkversion(const VersionStamp *stamp) {
    // No stamp confirms nothing; it replaces no pending code, which a
    // matching stamp may still clear.
    if (stamp == nullptr) {
        vesk::reportNullPointer(VESK_ERR_VERSION_UNCONFIRMED);
        return;
    }
    if (!vesk::stampAccepted(*stamp))
        vesk::setErrorCode(VESK_ERR_VERSION_UNCONFIRMED);
    else if (vesk::errorCode() == VESK_ERR_VERSION_UNCONFIRMED)
        vesk::setErrorCode(VESK_OK);
}

} // extern "C"
