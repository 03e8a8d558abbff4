// vesk_getbasin and vesk_getbasin_precip of the earlier level.  The record
// copy is given only while no code is pending; the step block whenever the
// basin is found.
#include "frame/basin_registry.h"
#include "level.h"
#include "frame/library_state.h"

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

// The basin's parameters as preparation stored them, with the hydrograph's
// outputs.
::BasinInput preparedParameters(const Basin &basin) {
    ::BasinInput out{};
    out.area = basin.area;
    out.length = basin.length;
    out.centroidLength = basin.centroidLength;
    out.imperviousPct = basin.imperviousPct;
    out.eiaPct = basin.eiaPct;
    out.slope = basin.slope;
    out.perviousDepressionStorage = basin.perviousDepressionStorage;
    out.imperviousDepressionStorage = basin.imperviousDepressionStorage;
    out.initialInfiltrationRate = basin.initialInfiltrationRate;
    out.finalInfiltrationRate = basin.finalInfiltrationRate;
    out.infiltrationDecay = basin.infiltrationDecay;
    out.disconnectionLevel = basin.disconnectionLevel;
    out.dcif = basin.dcif;
    out.rpf = basin.rpf;
    out.rpaShare = basin.rpaShare;
    out.spaShare = basin.spaShare;
    out.uhPeakTime = basin.uh.uhPeakTime;
    out.unitPeakRate = basin.uh.unitPeakRate;
    out.uhPeakRate = basin.uh.uhPeakRate;
    out.unitRunoffVolume = basin.uh.unitRunoffVolume;
    out.shape = basin.shape;
    return out;
}

} // namespace

} // namespace vesk::earlier

extern "C" {

VESK_API void VESK_CALL vesk_getbasin(const char *name, BasinInput *out) {
    const vesk::Basin *basin = vesk::earlier::foundBasin(name, out);
    if (basin != nullptr && vesk::errorCode() == VESK_OK) *out = vesk::earlier::preparedParameters(*basin);
}

VESK_API void VESK_CALL vesk_getbasin_precip(const char *name, StepState *out) {
    if (const vesk::Basin *basin = vesk::earlier::foundBasin(name, out)) *out = basin->step;
}

} // extern "C"
