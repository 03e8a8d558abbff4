// vesk_addbasin: prepare a basin from the host's record and store it.
#include "frame/level.h"
#include "frame/library_state.h"
#include "unithydrograph/basin_preparation.h"

extern "C" {

VESK_API void VESK_CALL vesk_addbasin(BasinInput *record, const char *name) {
    if (record == nullptr) {
        // A pending code stands: the call does nothing, as for any record.
        if (vesk::errorCode() == VESK_OK) vesk::setErrorCode(VESK_ERR_NULL);
        return;
    }
    vesk::prepareAndStoreBasin(*record, name);
}

} // extern "C"
