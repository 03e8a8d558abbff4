// vesk_getbasin and vesk_getbasin_precip of the earlier level.  The record
// copy is given only while no code is pending; the step block whenever the
// basin is found.
#include "earlier/prepared_record.h"
#include "exports/shared/library_state.h"
#include "registry/basin_registry.h"
#include "veskdll.h"

namespace vesk::earlier {

namespace {

// The stored basin, or null: code 5 for a null destination or name (unless a
// code is pending), else the lookup's own code.
const Basin *foundBasin(const char *name, const void *destination) {
    if (destination == nullptr) {
        reportNullPointer(VESK_ERR_NULL);
        return nullptr;
    }
    const FoundBasin found = lookupBasin(libraryState().registry, name);
    reportLookup(name, found.status);
    return found.basin;
}

} // namespace

} // namespace vesk::earlier

extern "C" {

VESK_API void VESK_CALL vesk_getbasin(const char *name, BasinInput *out) {
    const vesk::Basin *basin = vesk::earlier::foundBasin(name, out);
    if (basin != nullptr && vesk::errorCode() == VESK_OK) *out = vesk::earlier::preparedRecord(*basin);
}

VESK_API void VESK_CALL vesk_getbasin_precip(const char *name, StepState *out) {
    if (const vesk::Basin *basin = vesk::earlier::foundBasin(name, out)) *out = basin->step;
}

} // extern "C"
