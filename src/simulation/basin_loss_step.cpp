#include "simulation/basin_loss_step.h"

#include "simulation/sub_area_loss_step.h"

namespace vesk {

namespace {

// Sub-areas of a hair's breadth are never stepped.
bool largeEnough(const SubArea &subArea) { return subArea.area > kFractionFloor; }

// Runs one sub-area with `waterInput` and books its loss volume.  The
// basin's HortonSteps evaluates each distinct rate once.
void stepSubArea(Basin &basin, const SubArea &subArea, LossState &state, double waterInput) {
    state.waterInput = waterInput;
    const double capacity =
        basin.infiltrationSteps.capacity(hortonCurve(subArea), static_cast<double>(basin.precip.time),
                                         static_cast<double>(basin.precip.timeStep), OperationOrder::Current);
    basin.lossVolume += subAreaLossStep(capacity, subArea, state);
}

// The sub-area's excess depth spread over the whole basin.
double basinShare(const Basin &basin, const SubArea &subArea, const LossState &state) {
    return (subArea.area / basin.area) * state.excess;
}

} // namespace

void basinLossStep(Basin &basin, SubAreaStepping stepping) {
    const bool stepped = stepping == SubAreaStepping::Run;
    auto processes = [stepped](const SubArea &subArea) { return stepped && largeEnough(subArea); };
    PrecipState &precip = basin.precip;
    precip.stepExcess = 0.0;
    basin.rainVolume += precip.stepRain * basin.area;

    if (processes(basin.dcia)) {
        stepSubArea(basin, basin.dcia, precip.dcia, precip.stepRain);
        precip.stepExcess += basinShare(basin, basin.dcia, precip.dcia);
    }
    // The UIA drains onto the RPA, not to the outlet.
    if (processes(basin.uia)) stepSubArea(basin, basin.uia, precip.uia, precip.stepRain);
    if (processes(basin.rpa)) {
        // The UIA excess as a depth over the RPA: same volume, other area.
        double waterInput = precip.stepRain;
        if (basin.uia.area > kFractionFloor)
            waterInput = precip.stepRain + (basin.uia.area / basin.rpa.area) * precip.uia.excess;
        stepSubArea(basin, basin.rpa, precip.rpa, waterInput);
        precip.stepExcess += basinShare(basin, basin.rpa, precip.rpa);
    }
    if (processes(basin.spa)) {
        stepSubArea(basin, basin.spa, precip.spa, precip.stepRain);
        precip.stepExcess += basinShare(basin, basin.spa, precip.spa);
    }

    basin.runoffVolume += precip.stepExcess * basin.area;
}

} // namespace vesk
