// vesk_addbasin and vesk_loadandadd of the earlier level: preparation, then
// the unit hydrograph, then the registry; a pending code stops the pipeline
// before the hydrograph, and a record holding a NaN or infinite number is
// refused with code 2 there.
#include <utility>

#include "earlier/basin_preparation.h"
#include "exports/shared/basin_file_loading.h"
#include "exports/shared/library_state.h"
#include "registry/basin_registry.h"
#include "veskdll.h"

namespace vesk::earlier {

namespace {

void addBasin(const ::BasinInput &record, const char *name) {
    const bool finite = recordFinite(record);
    Basin basin = preparedBasin(record);
    if (errorCode() != VESK_OK) return;
    if (!finite) {
        setErrorCode(VESK_ERR_UH_FIT);
        return;
    }
    const Status built = buildBasinHydrograph(basin);
    reportStatus(built == Status::Ok ? insertBasin(libraryState().registry, name, std::move(basin)) : built);
}

} // namespace

} // namespace vesk::earlier

extern "C" {

VESK_API void VESK_CALL vesk_addbasin(const BasinInput *record, const char *name) {
    if (record == nullptr) {
        // A pending code stands: the call does nothing, as for any record.
        vesk::reportNullPointer(VESK_ERR_NULL);
        return;
    }
    vesk::earlier::addBasin(*record, name);
}

VESK_API void VESK_CALL vesk_loadandadd(const char *path) {
    vesk::LoadedBasin loaded;
    if (vesk::loadBasinFile(path, loaded)) vesk::earlier::addBasin(loaded.record, loaded.name);
}

} // extern "C"
