// vesk_execute of the earlier level: one step per call, whatever the host's
// integer argument says.
#include <cmath>

#include "earlier/basin_step.h"
#include "frame/basin_registry.h"
#include "frame/level.h"
#include "frame/library_state.h"

extern "C" {

VESK_API double VESK_CALL vesk_execute(const char *name, double rainDepth, int32_t /*unused*/) {
    vesk::Basin *basin = vesk::lookupBasin(vesk::libraryState().registry, name);
    if (vesk::errorCode() != VESK_OK) return -1.0; // failed lookup or a pending code: no step
    // A NaN or infinite depth would poison the basin's storages and ring for
    // good: refuse the call, the basin stays as it was.
    if (!std::isfinite(rainDepth)) return -1.0;
    return vesk::earlier::takeBasinStep(*basin, rainDepth);
}

} // extern "C"
