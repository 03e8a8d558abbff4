#include "simulation/basin_loss_step.h"

#include "simulation/sub_area_loss_step.h"

namespace vesk {

namespace {

// Sub-areas of a hair's breadth are never stepped.
bool largeEnough(const SubArea &subArea) { return subArea.area > kFractionFloor; }

// The clock of the step being taken, as the Horton curve reads it.
struct StepMinutes {
    double end;    // min, end of the step
    double length; // min
};

// Runs sub-area `index` with `waterInput` and books its loss volume.  Its
// capacity comes from the carry it shares with every sub-area of the same
// curve, so each distinct rate is evaluated once.
void stepSubArea(Basin &basin, SubAreaIndex index, const SubArea &subArea, LossState &state, double waterInput,
                 StepMinutes minutes) {
    state.waterInput = waterInput;
    HortonCarry &carry = basin.infiltration.carries[basin.infiltration.carryOf[index]];
    // The curve is gathered only when the carry must form the step; handing
    // it to capacity() would gather it for every sub-area.
    const double capacity = carry.holds(minutes.end, minutes.length)
                                ? carry.formed()
                                : carry.formStep(hortonCurve(subArea), minutes.end, minutes.length, OperationOrder::Current);
    basin.lossVolume += subAreaLossStep(capacity, subArea, state);
}

// The sub-area's excess depth spread over the whole basin.
double basinShare(const SubArea &subArea, const LossState &state) {
    return subArea.basinFraction * state.excess;
}

} // namespace

void basinLossStep(Basin &basin) {
    PrecipState &precip = basin.precip;
    const StepMinutes minutes{static_cast<double>(precip.time), static_cast<double>(precip.timeStep)};
    precip.stepExcess = 0.0;
    basin.rainVolume += precip.stepRain * basin.area;

    if (largeEnough(basin.dcia)) {
        stepSubArea(basin, kDcia, basin.dcia, precip.dcia, precip.stepRain, minutes);
        precip.stepExcess += basinShare(basin.dcia, precip.dcia);
    }
    // The UIA drains onto the RPA, not to the outlet.
    if (largeEnough(basin.uia)) stepSubArea(basin, kUia, basin.uia, precip.uia, precip.stepRain, minutes);
    if (largeEnough(basin.rpa)) {
        // The UIA excess as a depth over the RPA: same volume, other area.
        double waterInput = precip.stepRain;
        if (basin.uia.area > kFractionFloor)
            waterInput = precip.stepRain + basin.runOnRatio * precip.uia.excess;
        stepSubArea(basin, kRpa, basin.rpa, precip.rpa, waterInput, minutes);
        precip.stepExcess += basinShare(basin.rpa, precip.rpa);
    }
    if (largeEnough(basin.spa)) {
        stepSubArea(basin, kSpa, basin.spa, precip.spa, precip.stepRain, minutes);
        precip.stepExcess += basinShare(basin.spa, precip.spa);
    }

    basin.runoffVolume += precip.stepExcess * basin.area;
}

} // namespace vesk
