// vesk_getbasin and vesk_getbasin_precip: copies of a stored basin, given
// only while no error code is pending.
#include "exports/shared/library_state.h"
#include "preparation/prepared_record.h"
#include "registry/basin_registry.h"
#include "veskdll133.h"

namespace vesk {

namespace {

// The stored basin for a gated query, or null when nothing may be written:
// a null destination or name (code 5 unless a code is pending), a failed
// lookup or any pending code.
const Basin *gatedBasin(const char *name, const void *destination) {
    if (destination == nullptr) {
        reportNullPointer(VESK_ERR_NULL);
        return nullptr;
    }
    const FoundBasin found = lookupBasin(libraryState().registry, name);
    reportLookup(name, found.status);
    return errorCode() == VESK_OK ? found.basin : nullptr;
}

} // namespace

} // namespace vesk

extern "C" {

VESK_API void VESK_CALL vesk_getbasin(const char *name, BasinInput *out) {
    if (const vesk::Basin *basin = vesk::gatedBasin(name, out)) *out = vesk::preparedRecord(*basin);
}

VESK_API void VESK_CALL vesk_getbasin_precip(const char *name, PrecipState *out) {
    if (const vesk::Basin *basin = vesk::gatedBasin(name, out)) *out = basin->precip;
}

} // extern "C"
