// Overland and travel times, and the time of concentration with its minimum
// and its regional limit.  Lengths in feet, velocities in feet per second,
// slopes in ft/ft, times in minutes.
#include "frame/elementary_functions.h"
#include "level.h"

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

extern "C" {

// A flat path (slope 0 or -0) would divide by zero: it gets no time at all.
VESK_API double VESK_CALL vesk_initialFlowTime(double runoffCoefficient, double overlandLength,
                                               double slope, double /*unused*/) {
    if (slope == 0.0) return 0.0;
    return kOverlandFactor * (kOverlandRunoffLimit - runoffCoefficient) *
           vesk::correctlyRoundedPow(overlandLength, kOverlandLengthExponent) /
           vesk::correctlyRoundedPow(slope, kOverlandSlopeExponent);
}

// The time in seconds length / velocity (ft over ft/s), in minutes; no
// velocity gives no time.
VESK_API double VESK_CALL vesk_flowTravelTime(double length, double velocity, double /*unused*/) {
    if (velocity == 0.0) return 0.0;
    return length / (kSecondsPerMinute * velocity);
}

VESK_API double VESK_CALL vesk_calcMinTc(double imperviousPct) {
    return imperviousPct <= kRuralImperviousPct ? kRuralMinimumTc : kUrbanMinimumTc;
}

VESK_API double VESK_CALL vesk_calcRegionalTc(double length) {
    return length / kRegionalFeetPerMinute + kRegionalBaseTc;
}

VESK_API double VESK_CALL vesk_calcTc(double initialTime, double travelTime, double minTime,
                                      double regionalTime, double imperviousPct) {
    double time = initialTime + travelTime;
    if (time > regionalTime && imperviousPct <= kRuralImperviousPct) time = regionalTime;
    return minTime > time ? minTime : time;
}

} // extern "C"
