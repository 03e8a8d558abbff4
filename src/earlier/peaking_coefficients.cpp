// The earlier level's CT and CP relations.  Both derive CT from the
// imperviousness with the shared CT table; only CT itself gets the small-area
// correction, CP always uses the uncorrected CT.
#include "base/elementary_functions.h"
#include "earlier/relations.h"
#include "relations/peaking_constants.h"
#include "relations/peaking_tables.h"

namespace vesk::earlier {

double timeToPeakCoefficient(double imperviousPct, double area) {
    const double ct = ctFromImperviousness(imperviousPct);
    if (area < kSmallAreaLimit) return correctlyRoundedPow(area, kSmallAreaExponent) * ct * kSmallAreaFactor;
    return ct;
}

double peakCoefficient(double imperviousPct, double area) {
    return peakingParameter(imperviousPct) * correctlyRoundedPow(area, kPeakAreaExponent) *
           ctFromImperviousness(imperviousPct);
}

} // namespace vesk::earlier
