#include "relations/flow_times.h"

#include "base/elementary_functions.h"

namespace vesk {

namespace {
// At this imperviousness or less a basin counts as rural: a longer minimum
// time and the regional limit apply.
constexpr double kRuralImperviousPct = 25.0;

// Overland flow time (min) = kOverlandFactor · (kOverlandRunoffLimit − C)
// · L^kOverlandLengthExponent / S^kOverlandSlopeExponent, L in ft, S in ft/ft.
constexpr double kOverlandFactor = 0.395;
constexpr double kOverlandRunoffLimit = 1.1;
constexpr double kOverlandLengthExponent = 0.5;
constexpr double kOverlandSlopeExponent = 0.33;

constexpr double kSecondsPerMinute = 60.0;

constexpr double kRuralMinimumTc = 10.0; // min
constexpr double kUrbanMinimumTc = 5.0;  // min
// Regional time of concentration (min) = L / kRegionalFeetPerMinute + kRegionalBaseTc, L in ft.
constexpr double kRegionalFeetPerMinute = 180.0;
constexpr double kRegionalBaseTc = 10.0; // min
} // namespace

double overlandFlowTime(double runoffCoefficient, double overlandLength, double slope) {
    if (slope == 0.0) return 0.0;
    return kOverlandFactor * (kOverlandRunoffLimit - runoffCoefficient) *
           correctlyRoundedPow(overlandLength, kOverlandLengthExponent) /
           correctlyRoundedPow(slope, kOverlandSlopeExponent);
}

// The time in seconds length / velocity (ft over ft/s), in minutes.
double travelTime(double length, double velocity) {
    if (velocity == 0.0) return 0.0;
    return length / (kSecondsPerMinute * velocity);
}

double minimumTc(double imperviousPct) {
    return imperviousPct <= kRuralImperviousPct ? kRuralMinimumTc : kUrbanMinimumTc;
}

double regionalTc(double length) { return length / kRegionalFeetPerMinute + kRegionalBaseTc; }

double timeOfConcentration(double initialTime, double travelTime, double minTime, double regionalTime,
                           double imperviousPct) {
    double time = initialTime + travelTime;
    if (time > regionalTime && imperviousPct <= kRuralImperviousPct) time = regionalTime;
    return minTime > time ? minTime : time;
}

} // namespace vesk
