// vesk_addbasin of the earlier level: preparation, then the unit hydrograph,
// then the registry; a pending code stops the pipeline before the hydrograph,
// and a record holding a NaN or infinite number is refused with code 2 there.
#include <utility>

#include "earlier/basin_preparation.h"
#include "frame/basin_registry.h"
#include "level.h"
#include "frame/library_state.h"

extern "C" {

VESK_API void VESK_CALL vesk_addbasin(const BasinInput *record, const char *name) {
    if (record == nullptr) {
        // A pending code stands: the call does nothing, as for any record.
        vesk::reportNullPointer(VESK_ERR_NULL);
        return;
    }
    const bool finite = vesk::earlier::recordFinite(*record);
    vesk::Basin basin = vesk::earlier::preparedBasin(*record);
    if (vesk::errorCode() != VESK_OK) return;
    if (!finite) {
        vesk::setErrorCode(VESK_ERR_UH_FIT);
        return;
    }
    const vesk::Status built = vesk::earlier::buildBasinHydrograph(basin);
    vesk::reportStatus(built == vesk::Status::Ok
                           ? vesk::insertBasin(vesk::libraryState().registry, name, std::move(basin))
                           : built);
}

} // extern "C"
