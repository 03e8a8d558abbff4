#include "simulation/horton_infiltration.h"

#include <cmath>

#include "base/elementary_functions.h"

namespace vesk {

namespace {

constexpr double kSecondsPerMinute = 60.0;
constexpr double kMinutesPerHour = 60.0;

double capacityFromRates(double rateAtStart, double rateAtEnd, double stepMinutes, OperationOrder order) {
    const double meanRate = (rateAtEnd + rateAtStart) * 0.5; // in/h
    if (order == OperationOrder::Earlier) return meanRate * stepMinutes * (1.0 / kMinutesPerHour);
    return (stepMinutes / kMinutesPerHour) * meanRate;
}

// Whether the curve is flat and e^(-k t) certainly lies in [0, 1] (k t >= 0,
// not NaN), so that (f0 - fc) e^(-k t) is +0 for finite f0 = fc.
bool flatCurve(const HortonCurve &curve, double seconds) {
    return curve.initialRate == curve.finalRate && std::isfinite(curve.finalRate) && curve.decay * seconds >= 0.0;
}

// Whether hortonRate takes the flat path at every time from 0 on: there the
// seconds are finite and at least 0, so k t is too.
bool flatFromTimeZero(const HortonCurve &curve) {
    return curve.initialRate == curve.finalRate && std::isfinite(curve.finalRate) && std::isfinite(curve.decay) &&
           curve.decay >= 0.0;
}

} // namespace

double hortonRate(const HortonCurve &curve, double minutes) {
    const double seconds = kSecondsPerMinute * minutes;
    if (flatCurve(curve, seconds)) return curve.finalRate + 0.0;
    return curve.finalRate + (curve.initialRate - curve.finalRate) * correctlyRoundedExp(-curve.decay * seconds);
}

double stepCapacity(const HortonCurve &curve, double endMinutes, double stepMinutes, OperationOrder order) {
    return capacityFromRates(hortonRate(curve, endMinutes - stepMinutes), hortonRate(curve, endMinutes),
                             stepMinutes, order);
}

double HortonCarry::formStep(const HortonCurve &curve, double endMinutes, double stepMinutes,
                             OperationOrder order) {
    const double startMinutes = endMinutes - stepMinutes;
    const double rateAtStart = endMinutes_ == startMinutes ? rateAtEnd_ : hortonRate(curve, startMinutes);
    rateAtEnd_ = hortonRate(curve, endMinutes);
    capacity_ = capacityFromRates(rateAtStart, rateAtEnd_, stepMinutes, order);
    endMinutes_ = endMinutes;
    stepMinutes_ = stepMinutes;
    // Both rates were fc + 0, as they are for every step of this length
    // ending at stepMinutes or later.
    constantFrom_ = flatFromTimeZero(curve) && startMinutes >= 0.0 ? stepMinutes : kNever;
    return capacity_;
}

} // namespace vesk
