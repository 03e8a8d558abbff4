#include "relations/peaking_coefficients.h"

#include "base/elementary_functions.h"
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
