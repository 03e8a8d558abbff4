// vesk_execute: steps a stored basin up to the host's target time.
#include "frame/basin_registry.h"
#include "level.h"
#include "frame/library_state.h"
#include "frame/rain_depth.h"
#include "simulation/basin_time_step.h"

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
    // Near the end of the int32 clock the target may be out of reach; stop
    // where the next step would wrap the clock round.
    while (basin->precip.time < targetTime && vesk::clockCanAdvance(*basin))
        vesk::takeBasinStep(*basin, rainDepth);
    return basin->ring.outflow;
}

} // extern "C"
