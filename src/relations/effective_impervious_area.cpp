#include "relations/effective_impervious_area.h"

#include "base/common_records.h"
#include "base/elementary_functions.h"

namespace vesk {

namespace {

constexpr double kPercent = 100.0;
// The surviving share of the unconnected runoff is
// exp(receivingShare · kRunOnDecay · infiltration / (rainfall · kRainfallScale · kHalf)).
constexpr double kRunOnDecay = -0.52;
constexpr double kRainfallScale = 1.15;
constexpr double kHalf = 0.5;

// Keeps a fraction strictly inside (0, 1) so that neither share vanishes.
double insideUnitInterval(double fraction) {
    if (fraction <= 0.0) return kFractionFloor;
    if (fraction >= 1.0) return 1.0 - kFractionFloor;
    return fraction;
}

} // namespace

double effectiveImperviousArea(double dcif, double rpf, double imperviousPct, double rainfall,
                               double infiltration) {
    const double impervious = imperviousPct / kPercent;
    if (impervious < kFractionFloor) return 0.0;
    if (impervious >= 1.0 - kFractionFloor) return kPercent;

    const double connected = insideUnitInterval(dcif);
    const double receiving = insideUnitInterval(rpf);

    // Pervious area per unit of impervious area, then receiving pervious area
    // per unit of unconnected impervious area, then its share of both.
    const double perviousRatio = 1.0 / impervious - 1.0;
    const double runOnRatio = receiving * perviousRatio / (1.0 - connected);
    const double receivingShare = 1.0 - 1.0 / (1.0 + runOnRatio);

    // The surviving share of the unconnected runoff falls with the receiving
    // share and with the ratio of infiltration to rainfall.
    const double exponent = receivingShare * kRunOnDecay * infiltration / (rainfall * kRainfallScale * kHalf);
    return kPercent * (connected + (1.0 - connected) * correctlyRoundedExp(exponent)) / (1.0 + perviousRatio);
}

} // namespace vesk
