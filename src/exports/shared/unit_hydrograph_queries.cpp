// vesk_getuhlength and vesk_getuhordinatevalue: they answer from the lookup
// alone, whatever code is pending.  A failed lookup sets its code, except
// that a null name leaves a pending code standing.
#include "base/public_header.h"
#include "exports/shared/library_state.h"
#include "registry/basin_registry.h"

extern "C" {

VESK_API int32_t VESK_CALL vesk_getuhlength(const char *name) {
    const vesk::FoundBasin found = vesk::lookupBasin(vesk::libraryState().registry, name);
    vesk::reportLookup(name, found.status);
    return found.basin ? found.basin->ring.uhLength : -1;
}

VESK_API double VESK_CALL vesk_getuhordinatevalue(const char *name, int32_t index) {
    const vesk::FoundBasin found = vesk::lookupBasin(vesk::libraryState().registry, name);
    vesk::reportLookup(name, found.status);
    if (found.basin == nullptr) return -1.0;
    const vesk::ConvolutionRing &ring = found.basin->ring;
    if (index < 0 || index >= ring.uhLength || ring.uhOrdinates == nullptr) return 0.0;
    return ring.uhOrdinates[index];
}

} // extern "C"
