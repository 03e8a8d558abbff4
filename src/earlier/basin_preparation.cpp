#include "earlier/basin_preparation.h"

#include "base/finite_values.h"
#include "earlier/basin_shares.h"
#include "earlier/parameter_defaults.h"
#include "unithydrograph/unit_hydrograph.h"

namespace vesk::earlier {

namespace {

Basin copiedRecord(const ::BasinInput &record) {
    Basin basin;
    basin.area = record.area;
    basin.length = record.length;
    basin.centroidLength = record.centroidLength;
    basin.imperviousPct = record.imperviousPct;
    basin.eiaPct = record.eiaPct;
    basin.slope = record.slope;
    basin.perviousDepressionStorage = record.perviousDepressionStorage;
    basin.imperviousDepressionStorage = record.imperviousDepressionStorage;
    basin.initialInfiltrationRate = record.initialInfiltrationRate;
    basin.finalInfiltrationRate = record.finalInfiltrationRate;
    basin.infiltrationDecay = record.infiltrationDecay;
    basin.disconnectionLevel = record.disconnectionLevel;
    basin.dcif = record.dcif;
    basin.rpf = record.rpf;
    basin.rpaShare = record.rpaShare;
    basin.spaShare = record.spaShare;
    basin.uh = UnitHydrographSummary{record.uhPeakTime, record.unitPeakRate, record.uhPeakRate,
                                     record.unitRunoffVolume};
    basin.shape = record.shape;
    return basin;
}

// The loss step computes with these; the hydrograph checks its own inputs.
// Negative rates, decay or storages would make more runoff than rain, and
// with nothing to snap it an imperviousness outside 0 to 100 % gives
// negative shares and outflow.
bool lossParametersUsable(const Basin &basin) {
    if (!allFinite({basin.imperviousPct, basin.dcif, basin.rpf, basin.perviousDepressionStorage,
                    basin.imperviousDepressionStorage, basin.initialInfiltrationRate,
                    basin.finalInfiltrationRate, basin.infiltrationDecay}))
        return false;
    for (double value : {basin.perviousDepressionStorage, basin.imperviousDepressionStorage,
                         basin.initialInfiltrationRate, basin.finalInfiltrationRate, basin.infiltrationDecay})
        if (value < 0.0) return false;
    return basin.imperviousPct >= 0.0 && basin.imperviousPct <= 100.0;
}

} // namespace

bool recordFinite(const ::BasinInput &r) {
    return allFinite({r.area, r.length, r.centroidLength, r.imperviousPct, r.slope, r.perviousDepressionStorage,
                      r.imperviousDepressionStorage, r.initialInfiltrationRate, r.finalInfiltrationRate,
                      r.infiltrationDecay, r.dcif, r.rpf, r.shape.ct, r.shape.cp, r.shape.width50,
                      r.shape.width75, r.shape.rise50Fraction, r.shape.rise75Fraction});
}

Basin preparedBasin(const ::BasinInput &record) {
    Basin basin = copiedRecord(record);
    // The shares read only the imperviousness and the fractions, which the
    // defaults settle before the coefficients.
    applyParameterDefaults(basin);
    const BasinShares shares = basinShares(basin.imperviousPct, basin.dcif, basin.rpf);
    basin.rpaShare = shares.rpaShare;
    basin.spaShare = shares.spaShare;
    basin.runOnRatio = shares.runOnRatio;
    return basin;
}

Status buildBasinHydrograph(Basin &basin) {
    if (!lossParametersUsable(basin)) return Status::CannotBuild;
    const HydrographGeometry geometry{basin.area, basin.length, basin.centroidLength, basin.slope};
    return buildUnitHydrograph(geometry, basin.shape, basin.uh, basin.ring, OperationOrder::Earlier);
}

} // namespace vesk::earlier
