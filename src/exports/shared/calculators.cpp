// The calculators both levels export alike: each passes its arguments to the
// relation and returns what it gives.  They touch no state.
#include "base/public_header.h"
#include "relations/conveyance_coefficient.h"
#include "relations/flow_path_lengths.h"
#include "relations/flow_times.h"
#include "relations/linear_interpolation.h"
#include "relations/peaking_tables.h"
#include "relations/rainfall_intensity.h"
#include "relations/runoff_coefficient.h"

extern "C" {

VESK_API double VESK_CALL vesk_calcConvCoeff(double imperviousPct) {
    return vesk::conveyanceCoefficient(imperviousPct);
}

VESK_API double VESK_CALL vesk_maxLengthCutoff(double x) { return vesk::lengthCutoff(x); }

VESK_API double VESK_CALL vesk_calcOverlandLen(double totalLength, double maxLength) {
    return vesk::overlandLength(totalLength, maxLength);
}

VESK_API double VESK_CALL vesk_calcChannelLen(double totalLength, double overlandLength) {
    return vesk::channelLength(totalLength, overlandLength);
}

VESK_API double VESK_CALL vesk_initialFlowTime(double runoffCoefficient, double overlandLength,
                                               double slope, double /*unused*/) {
    return vesk::overlandFlowTime(runoffCoefficient, overlandLength, slope);
}

VESK_API double VESK_CALL vesk_flowTravelTime(double length, double velocity, double /*unused*/) {
    return vesk::travelTime(length, velocity);
}

VESK_API double VESK_CALL vesk_calcMinTc(double imperviousPct) { return vesk::minimumTc(imperviousPct); }

VESK_API double VESK_CALL vesk_calcRegionalTc(double length) { return vesk::regionalTc(length); }

VESK_API double VESK_CALL vesk_calcTc(double initialTime, double travelTime, double minTime,
                                      double regionalTime, double imperviousPct) {
    return vesk::timeOfConcentration(initialTime, travelTime, minTime, regionalTime, imperviousPct);
}

VESK_API double VESK_CALL vesk_linterp(double y1, double x1, double y2, double x2, double x) {
    return vesk::linearInterpolation(y1, x1, y2, x2, x);
}

VESK_API double VESK_CALL vesk_CTgetParam(double imperviousPct, const char *key) {
    return vesk::ctCoefficient(imperviousPct, key);
}

VESK_API double VESK_CALL vesk_CPgetParam(double imperviousPct, double /*unused*/, const char *key) {
    return vesk::peakingCoefficient(imperviousPct, key);
}

VESK_API double VESK_CALL vesk_calcCT_Cutoff(double imperviousPct) {
    return vesk::ctFromImperviousness(imperviousPct);
}

VESK_API double VESK_CALL vesk_calcIntensity(double a1, double a2, double a3, double a4, double a5) {
    return vesk::rainfallIntensity(a1, a2, a3, a4, a5);
}

VESK_API double VESK_CALL vesk_runoffCoeffCorr(const char *soilGroup, int32_t returnPeriod,
                                               double imperviousPct) {
    return vesk::runoffCoefficientCorrection(soilGroup, returnPeriod, imperviousPct);
}

VESK_API double VESK_CALL vesk_runoffCoeff(const char *soilGroup, int32_t returnPeriod,
                                           double imperviousPct) {
    return vesk::runoffCoefficient(soilGroup, returnPeriod, imperviousPct);
}

} // extern "C"
