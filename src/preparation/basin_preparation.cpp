#include "preparation/basin_preparation.h"

#include "base/finite_values.h"
#include "preparation/area_partition.h"
#include "preparation/parameter_defaults.h"
#include "simulation/step_minutes.h"
#include "unithydrograph/unit_hydrograph.h"

namespace vesk {

namespace {

// Rates, decay and storages below zero would make more runoff than rain, or
// (a negative decay) an infiltration curve that grows without end.
bool lossParametersPhysical(const BasinInput &r) {
    for (double value : {r.initialInfiltrationRate, r.finalInfiltrationRate, r.infiltrationDecay,
                         r.imperviousDepressionStorage, r.perviousDepressionStorage})
        if (value < 0.0) return false;
    return true;
}

// The ring takes one ordinate per simulation step, so a basin that steps at
// all must step at the unit hydrograph's own spacing.  A step below one
// minute (every basin read from a file) never steps and is not compared.
bool stepMatchesHydrograph(const BasinInput &r) {
    const int32_t step = wholeMinutes(r.timeStep);
    return step < 1 || step == r.shape.uhTimeStep;
}

} // namespace

// The shape's doubles are judged here too: an infinite ct or cp below 0
// would otherwise be replaced by the defaults before the construction sees it.
bool recordUsable(const BasinInput &r) {
    const ShapeParameters &s = r.shape;
    return allFinite({r.area, r.length, r.centroidLength, r.imperviousPct, r.slope, r.timeStep,
                      r.perviousDepressionStorage, r.imperviousDepressionStorage,
                      r.initialInfiltrationRate, r.finalInfiltrationRate, r.infiltrationDecay,
                      r.dcif, r.rpf, s.ct, s.cp, s.width50, s.width75, s.rise50Fraction,
                      s.rise75Fraction}) &&
           fitsWholeMinutes(r.timeStep) && lossParametersPhysical(r) && stepMatchesHydrograph(r);
}

PartitionedBasin partitionedBasin(BasinInput &record) {
    // Judged on the record as the host passed it, before any write-back.
    PartitionedBasin partitioned{Basin{}, recordUsable(record)};
    partitionArea(record, partitioned.basin);
    applyParameterDefaults(partitioned.basin);
    return partitioned;
}

Status buildBasinHydrograph(PartitionedBasin &partitioned) {
    if (!partitioned.usable) return Status::CannotBuild;
    Basin &basin = partitioned.basin;
    const HydrographGeometry geometry{basin.area, basin.length, basin.centroidLength, basin.slope};
    return buildUnitHydrograph(geometry, basin.shape, basin.uh, basin.ring, OperationOrder::Current);
}

} // namespace vesk
