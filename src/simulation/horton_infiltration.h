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

// The step capacities of a basin's Horton curves, evaluating each distinct
// rate once: a curve met again in the same step (sub-areas with the same
// parameters) reuses that step's capacity, and the rate at the start of a
// step is the rate the previous step evaluated at its end, kept with the
// exact time it was evaluated at.  Same curve, same arguments, same bits as
// stepCapacity.  Holds up to four curves; a fifth replaces the oldest.
class HortonSteps {
public:
    double capacity(const HortonCurve &curve, double endMinutes, double stepMinutes, OperationOrder order);

private:
    struct Entry {
        HortonCurve curve;
        double endMinutes;   // end of the latest step evaluated for the curve
        double stepMinutes;  // length of that step
        OperationOrder order;
        double rateAtEnd;    // in/h at endMinutes
        double capacity;     // in, of that step
    };
    static constexpr int kEntries = 4;
    Entry entries_[kEntries]{};
    int used_ = 0;
    int oldest_ = 0;
};

} // namespace vesk
