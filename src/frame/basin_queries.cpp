// vesk_getbasin and vesk_getbasin_precip: copies of a stored basin, given
// only while no error code is pending.
#include "frame/basin_registry.h"
#include "level.h"
#include "frame/library_state.h"

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

// The basin's parameters as prepared, in the host's record.  The pervious
// loss parameters come from the RPA, the impervious storage from the DCIA;
// the RPA and SPA shares are not kept and come back 0.
BasinInput preparedParameters(const Basin &basin) {
    BasinInput out{};
    out.area = basin.area;
    out.length = basin.length;
    out.centroidLength = basin.centroidLength;
    out.imperviousPct = basin.imperviousPct;
    out.eiaPct = basin.eiaPct;
    out.slope = basin.slope;
    out.timeStep = static_cast<double>(basin.precip.timeStep);
    out.perviousDepressionStorage = basin.rpa.maxDepressionStorage;
    out.imperviousDepressionStorage = basin.dcia.maxDepressionStorage;
    out.initialInfiltrationRate = basin.rpa.initialInfiltrationRate;
    out.finalInfiltrationRate = basin.rpa.finalInfiltrationRate;
    out.infiltrationDecay = basin.rpa.infiltrationDecay;
    out.disconnectionLevel = basin.disconnectionLevel;
    out.dcif = basin.dcif;
    out.rpf = basin.rpf;
    out.uhPeakTime = basin.uh.uhPeakTime;
    out.peakTime = basin.peakTime;
    out.unitPeakRate = basin.uh.unitPeakRate;
    out.uhPeakRate = basin.uh.uhPeakRate;
    out.unitRunoffVolume = basin.uh.unitRunoffVolume;
    out.shape = basin.shape;
    return out;
}

} // namespace

} // namespace vesk

extern "C" {

VESK_API void VESK_CALL vesk_getbasin(const char *name, BasinInput *out) {
    if (const vesk::Basin *basin = vesk::gatedBasin(name, out)) *out = vesk::preparedParameters(*basin);
}

VESK_API void VESK_CALL vesk_getbasin_precip(const char *name, PrecipState *out) {
    if (const vesk::Basin *basin = vesk::gatedBasin(name, out)) *out = basin->precip;
}

} // extern "C"
