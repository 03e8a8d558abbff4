// The small-area correction of CT and the peak coefficient CP, and their
// exports.
#include "relations/peaking_coefficients.h"

#include "frame/elementary_functions.h"
#include "level.h"
#include "relations/peaking_constants.h"
#include "relations/peaking_tables.h"

namespace vesk {

double smallAreaCorrectedCt(double ct, double area) {
    if (area < kSmallAreaLimit) return correctlyRoundedPow(area, kSmallAreaExponent) * (ct * kSmallAreaFactor);
    return ct;
}

double peakCoefficient(double imperviousPct, double area, double ct) {
    return (peakingParameter(imperviousPct) * ct) * correctlyRoundedPow(area, kPeakAreaExponent);
}

} // namespace vesk

extern "C" {

VESK_API double VESK_CALL vesk_calcCT(double ct, double area) {
    return vesk::smallAreaCorrectedCt(ct, area);
}

VESK_API double VESK_CALL vesk_calcCP(double imperviousPct, double area, double ct) {
    return vesk::peakCoefficient(imperviousPct, area, ct);
}

} // extern "C"
