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
// how the clock is counted.
double hortonRate(const HortonCurve &curve, double minutes);

// Depth (in) the curve allows over the step of `stepMinutes` that ends at
// `endMinutes`: the mean of the rates at the two ends times the step in
// hours, formed as (stepMinutes / 60) · mean in the current order and as
// mean · stepMinutes · (1 / 60) in the earlier one.
double stepCapacity(const HortonCurve &curve, double endMinutes, double stepMinutes, OperationOrder order);

} // namespace vesk
