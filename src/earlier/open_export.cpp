// vesk_open of the earlier level: there is no version handshake, so opening
// sets no code and basins can be added at once.
#include "frame/basin_registry.h"
#include "frame/level.h"
#include "frame/library_state.h"

extern "C" {

VESK_API void VESK_CALL vesk_open(void) {
    // createRegistry sets code 3 itself when the table cannot be allocated.
    vesk::libraryState().registry = vesk::createRegistry();
}

} // extern "C"
