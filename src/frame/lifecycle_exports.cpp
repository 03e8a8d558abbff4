// vesk_free and vesk_geterror: the same at both levels.
#include "frame/basin_registry.h"
#include "frame/library_state.h"

extern "C" {

VESK_API void VESK_CALL vesk_free(void) {
    vesk::LibraryState &state = vesk::libraryState();
    vesk::teardownRegistry(state.registry);
    state.registry = nullptr;
    state.errorCode = VESK_OK;
}

VESK_API int32_t VESK_CALL vesk_geterror(void) { return vesk::errorCode(); }

} // extern "C"
