// vesk_open of the earlier level: there is no version handshake, so opening
// sets no code and basins can be added at once.
#include "exports/shared/library_state.h"
#include "registry/basin_registry.h"
#include "veskdll.h"

extern "C" {

VESK_API void VESK_CALL vesk_open(void) {
    vesk::LibraryState &state = vesk::libraryState();
    // A registry left by an earlier open is out of the host's reach now.
    vesk::teardownRegistry(state.registry);
    state.registry = vesk::createRegistry();
    if (state.registry == nullptr) state.errorCode = VESK_ERR_NO_MEMORY;
}

} // extern "C"
