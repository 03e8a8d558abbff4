// One step of the lumped loss model:
//   - one infiltration depth for the whole pervious part, the Horton curve
//     integrated over the step by the trapezoid rule, whatever water the
//     parts receive;
//   - one depression storage shared by the two impervious parts, whose
//     overflow loses 5 % and is split by DCIF into the part that drains
//     directly and the run-on onto the receiving pervious part;
//   - separate storages of the same capacity on the separate and the
//     receiving pervious part;
//   - every contribution weighted by its part's share of the basin (a share
//     of 0 simply gives 0; there is no area threshold).
#include "earlier/lumped_loss_step.h"

#include "simulation/horton_infiltration.h"

namespace vesk::earlier {

namespace {

constexpr double kImperviousLossShare = 0.05;

// Depth infiltrated on the pervious part in the step that ends at `clock`.
// Nothing infiltrates without a positive decay coefficient, nor in a step that
// would begin before the clock's start.
double stepInfiltration(Basin &basin, double clock, double stepMinutes, double rain) {
    if (clock < stepMinutes || basin.infiltrationDecay <= 0.0) return 0.0;
    const HortonCurve curve{basin.initialInfiltrationRate, basin.finalInfiltrationRate, basin.infiltrationDecay};
    const double capacity = basin.infiltration.capacity(curve, clock, stepMinutes, OperationOrder::Earlier);
    return capacity > rain ? rain : capacity;
}

// Adds what is left of `input` after `deduction` (never less than 0) to
// `storage` and returns what spills over `capacity`.
double fillStorage(double &storage, double capacity, double input, double deduction) {
    const double added = input - deduction;
    storage = storage + (added > 0.0 ? added : 0.0);
    if (storage > capacity) {
        const double overflow = storage - capacity;
        storage = capacity;
        return overflow;
    }
    return 0.0;
}

} // namespace

void lumpedLossStep(Basin &basin, double rain) {
    StepState &s = basin.step;
    const double stepMinutes = static_cast<double>(basin.shape.uhTimeStep);

    s.clock = s.clock + stepMinutes;
    s.reserved = 0.0;
    s.infiltration = stepInfiltration(basin, s.clock, stepMinutes, rain);

    const double overflow = fillStorage(s.imperviousStorage, basin.imperviousDepressionStorage, rain, 0.0);
    s.imperviousLoss = kImperviousLossShare * overflow;
    s.imperviousExcess = overflow - kImperviousLossShare * overflow;

    const double perviousShare = (100.0 - basin.imperviousPct) * 0.01;
    const double imperviousShare = 1.0 - perviousShare;
    s.runOn = (1.0 - basin.dcif) * imperviousShare * s.imperviousExcess;
    s.dciaExcess = basin.dcif * imperviousShare * s.imperviousExcess;

    s.spaOverflow = fillStorage(s.spaStorage, basin.perviousDepressionStorage, rain, s.infiltration);
    s.spaExcess = perviousShare * (s.spaOverflow * (1.0 - basin.rpf));

    s.rpaOverflow = fillStorage(s.rpaStorage, basin.perviousDepressionStorage, rain + s.runOn, s.infiltration);
    s.rpaExcess = perviousShare * s.rpaOverflow * basin.rpf;

    s.stepExcess = (s.rpaExcess + s.dciaExcess) + s.spaExcess;
}

} // namespace vesk::earlier
