#include "simulation/horton_infiltration.h"

#include <cmath>

namespace vesk {

namespace {
constexpr double kSecondsPerMinute = 60.0;
constexpr double kMinutesPerHour = 60.0;
} // namespace

double hortonRate(const HortonCurve &curve, double minutes) {
    const double seconds = kSecondsPerMinute * minutes;
    return curve.finalRate + (curve.initialRate - curve.finalRate) * std::exp(-curve.decay * seconds);
}

double stepCapacity(const HortonCurve &curve, double endMinutes, double stepMinutes, OperationOrder order) {
    const double rateAtEnd = hortonRate(curve, endMinutes);
    const double rateAtStart = hortonRate(curve, endMinutes - stepMinutes);
    const double meanRate = (rateAtEnd + rateAtStart) * 0.5; // in/h
    if (order == OperationOrder::Earlier) return meanRate * stepMinutes * (1.0 / kMinutesPerHour);
    return (stepMinutes / kMinutesPerHour) * meanRate;
}

} // namespace vesk
