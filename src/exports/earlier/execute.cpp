// vesk_execute of the earlier level: one step per call, whatever the host's
// integer argument says.
#include "earlier/basin_time_step.h"
#include "exports/shared/library_state.h"
#include "registry/basin_registry.h"
#include "simulation/rain_depth.h"
#include "veskdll.h"

extern "C" {

VESK_API double VESK_CALL vesk_execute(const char *name, double rainDepth, int32_t /*unused*/) {
    const vesk::FoundBasin found = vesk::lookupBasin(vesk::libraryState().registry, name);
    vesk::reportLookup(name, found.status);
    if (vesk::errorCode() != VESK_OK) return -1.0; // failed lookup or a pending code: no step
    // Rain outside 0 to 1,000 in (NaN and infinity included) is refused; the
    // code stays as it is.
    if (!vesk::rainDepthAccepted(rainDepth)) return -1.0;
    return vesk::earlier::takeBasinStep(*found.basin, rainDepth);
}

} // extern "C"
