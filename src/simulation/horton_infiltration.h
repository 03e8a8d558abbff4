// Horton infiltration, the same curve at both levels: the rate a pervious
// surface takes in at a time on the basin's clock, and the depth it can take
// in over one step (the trapezoid under the curve between the step's start
// and end).  Only the last product of the step capacity is formed in another
// order at the earlier level.
#pragma once

#include <limits>

#include "base/operation_order.h"

namespace vesk {

struct HortonCurve {
    double initialRate; // f0, in/h
    double finalRate;   // fc, in/h
    double decay;       // k, 1/s
};

// fc + (f0 - fc) e^(-k t) with t = 60 · minutes seconds.  For a whole number
// of minutes below 2^47 the seconds are exact, so the rate does not depend on
// how the clock is counted.  A flat curve (f0 = fc, as on impervious ground)
// skips the exponential: its product is +0 whenever the exponential lies in
// [0, 1], so the sum is fc + 0 whatever the time.
double hortonRate(const HortonCurve &curve, double minutes);

// Depth (in) the curve allows over the step of `stepMinutes` that ends at
// `endMinutes`: the mean of the rates at the two ends times the step in
// hours, formed as (stepMinutes / 60) · mean in the current order and as
// mean · stepMinutes · (1 / 60) in the earlier one.
double stepCapacity(const HortonCurve &curve, double endMinutes, double stepMinutes, OperationOrder order);

// The step capacities of one Horton curve, step after step, evaluating each
// rate once: the rate at a step's start is the rate the previous step
// evaluated at its end (kept with the exact time it belongs to), and asking
// again for the same step (another sub-area with the same curve) returns the
// capacity already formed.  A flat curve with a finite decay of at least 0
// has the rate fc + 0 at every time from 0 on, so once formed, its capacity
// serves every later step of the same length that starts at 0 or later.
// Same arguments, same bits as stepCapacity.  A carry serves one curve in
// one order: a basin keeps one per distinct curve.
class HortonCarry {
public:
    // Whether the capacity of the step of `stepMinutes` ending at
    // `endMinutes` is already formed (then `formed()` returns it).
    bool holds(double endMinutes, double stepMinutes) const {
        return stepMinutes_ == stepMinutes && (endMinutes_ == endMinutes || constantFrom_ <= endMinutes);
    }
    double formed() const { return capacity_; }

    // Evaluates the step's capacity, carrying the start rate when it can.
    double formStep(const HortonCurve &curve, double endMinutes, double stepMinutes, OperationOrder order);

    double capacity(const HortonCurve &curve, double endMinutes, double stepMinutes, OperationOrder order) {
        return holds(endMinutes, stepMinutes) ? capacity_ : formStep(curve, endMinutes, stepMinutes, order);
    }

private:
    static constexpr double kNever = std::numeric_limits<double>::infinity();
    static constexpr double kNothing = std::numeric_limits<double>::quiet_NaN(); // equals no time

    double endMinutes_ = kNothing;  // end of the latest step formed
    double stepMinutes_ = kNothing; // length of that step
    double rateAtEnd_{};            // in/h at endMinutes_
    double capacity_{};             // in, of that step
    double constantFrom_ = kNever;  // end from which capacity_ serves every step of that length
};

} // namespace vesk
