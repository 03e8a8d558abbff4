// Overland and travel times, and the time of concentration with its minimum
// and its regional limit.  Times in minutes.
#include <cmath>

#include "level.h"

namespace {
// At this imperviousness or less a basin counts as rural: a longer minimum
// time and the regional limit apply.
constexpr double kRuralImperviousPct = 25.0;
} // namespace

extern "C" {

// A flat path (slope 0 or -0) would divide by zero: it gets no time at all.
VESK_API double VESK_CALL vesk_initialFlowTime(double runoffCoefficient, double overlandLength,
                                               double slope, double /*unused*/) {
    if (slope == 0.0) return 0.0;
    return 0.395 * (1.1 - runoffCoefficient) * std::pow(overlandLength, 0.5) /
           std::pow(slope, 0.33);
}

// The time in seconds length / velocity, in minutes; no velocity gives no time.
VESK_API double VESK_CALL vesk_flowTravelTime(double length, double velocity, double /*unused*/) {
    if (velocity == 0.0) return 0.0;
    return length / (60.0 * velocity);
}

VESK_API double VESK_CALL vesk_calcMinTc(double imperviousPct) {
    return imperviousPct <= kRuralImperviousPct ? 10.0 : 5.0;
}

VESK_API double VESK_CALL vesk_calcRegionalTc(double length) { return length / 180.0 + 10.0; }

VESK_API double VESK_CALL vesk_calcTc(double initialTime, double travelTime, double minTime,
                                      double regionalTime, double imperviousPct) {
    double time = initialTime + travelTime;
    if (time > regionalTime && imperviousPct <= kRuralImperviousPct) time = regionalTime;
    return minTime > time ? minTime : time;
}

} // extern "C"
