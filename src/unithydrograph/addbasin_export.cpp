// vesk_addbasin: prepare a basin from the host's record and store it.
#include <utility>

#include "frame/library_state.h"
#include "level.h"
#include "unithydrograph/basin_preparation.h"

extern "C" {

VESK_API void VESK_CALL vesk_addbasin(BasinInput *record, const char *name) {
    if (record == nullptr) {
        // A pending code stands: the call does nothing, as for any record.
        vesk::reportNullPointer(VESK_ERR_NULL);
        return;
    }
    // The partition writes its snapped values back whatever code is pending;
    // a pending code stops the pipeline before the hydrograph.
    vesk::PartitionedBasin partitioned = vesk::partitionedBasin(*record);
    if (vesk::errorCode() != VESK_OK) return;
    vesk::reportStatus(
        vesk::storeWithHydrograph(std::move(partitioned), vesk::libraryState().registry, name));
}

} // extern "C"
