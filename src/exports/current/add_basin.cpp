// vesk_addbasin and vesk_loadandadd: prepare a basin from the host's record
// (or a basin input file's) and store it.
#include <utility>

#include "exports/shared/basin_file_loading.h"
#include "exports/shared/library_state.h"
#include "preparation/basin_preparation.h"
#include "registry/basin_registry.h"
#include "veskdll133.h"

namespace vesk {

namespace {

// The partition writes its snapped values back whatever code is pending; a
// pending code stops the pipeline before the hydrograph.
void addBasin(BasinInput &record, const char *name) {
    PartitionedBasin partitioned = partitionedBasin(record);
    if (errorCode() != VESK_OK) return;
    const Status built = buildBasinHydrograph(partitioned);
    reportStatus(built == Status::Ok ? insertBasin(libraryState().registry, name, std::move(partitioned.basin))
                                     : built);
}

} // namespace

} // namespace vesk

extern "C" {

VESK_API void VESK_CALL vesk_addbasin(BasinInput *record, const char *name) {
    if (record == nullptr) {
        // A pending code stands: the call does nothing, as for any record.
        vesk::reportNullPointer(VESK_ERR_NULL);
        return;
    }
    vesk::addBasin(*record, name);
}

VESK_API void VESK_CALL vesk_loadandadd(const char *path) {
    vesk::LoadedBasin loaded;
    if (vesk::loadBasinFile(path, loaded)) vesk::addBasin(loaded.record, loaded.name);
}

} // extern "C"
