// vesk_execute: steps a stored basin up to the host's target time.
#include "exports/shared/library_state.h"
#include "registry/basin_registry.h"
#include "simulation/basin_time_step.h"
#include "simulation/rain_depth.h"
#include "veskdll133.h"

extern "C" {

VESK_API double VESK_CALL vesk_execute(const char *name, double rainDepth, int32_t targetTime) {
    const vesk::FoundBasin found = vesk::lookupBasin(vesk::libraryState().registry, name);
    vesk::reportLookup(name, found.status);
    if (vesk::errorCode() != VESK_OK) return -1.0; // failed lookup or a pending code: no step
    vesk::Basin *basin = found.basin;
    // A clock that cannot move (every basin loaded from a file has step 0)
    // would never reach the target: refuse instead of looping.
    if (basin->precip.timeStep < 1) return -1.0;
    // Rain outside 0 to 1,000 in (NaN and infinity included) is refused; the
    // code stays as it is.
    if (!vesk::rainDepthAccepted(rainDepth)) return -1.0;
    return vesk::stepUntil(*basin, rainDepth, targetTime);
}

} // extern "C"
