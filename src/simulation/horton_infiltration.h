// Horton infiltration, the same curve at both levels: the rate a pervious
// surface takes in at a time on the basin's clock, and the depth it can take
// in over one step (the trapezoid under the curve between the step's start
// and end).  Only the last product of the step capacity is formed in another
// order at the earlier level.
#pragma once

#include "frame/operation_order.h"

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
// capacity already formed.  Same arguments, same bits as stepCapacity.  A
// carry serves one curve in one order: a basin keeps one per distinct curve.
class HortonCarry {
public:
    double capacity(const HortonCurve &curve, double endMinutes, double stepMinutes, OperationOrder order) {
        if (formed_ && endMinutes_ == endMinutes && stepMinutes_ == stepMinutes) return capacity_;
        return formStep(curve, endMinutes, stepMinutes, order);
    }

private:
    // Evaluates the step's capacity, carrying the start rate when it can.
    double formStep(const HortonCurve &curve, double endMinutes, double stepMinutes, OperationOrder order);

    bool formed_ = false;  // whether the fields below hold a step
    double endMinutes_{};  // end of the latest step formed
    double stepMinutes_{}; // length of that step
    double rateAtEnd_{};   // in/h at endMinutes_
    double capacity_{};    // in, of that step
};

} // namespace vesk
