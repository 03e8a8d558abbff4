#include "simulation/step_constants.h"

#include <cstring>

#include "simulation/sub_area_loss_step.h"

namespace vesk {

namespace {

bool sameCurve(const HortonCurve &a, const HortonCurve &b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void shareEqualCurves(Basin &basin) {
    const HortonCurve curves[kSubAreaCount] = {hortonCurve(basin.dcia), hortonCurve(basin.uia),
                                               hortonCurve(basin.rpa), hortonCurve(basin.spa)};
    for (int area = 0; area < kSubAreaCount; ++area) {
        int first = 0;
        while (!sameCurve(curves[first], curves[area])) ++first;
        basin.infiltration.carryOf[area] = static_cast<uint8_t>(first);
    }
}

} // namespace

void formStepConstants(Basin &basin) {
    for (SubArea *subArea : {&basin.dcia, &basin.uia, &basin.rpa, &basin.spa})
        subArea->basinFraction = subArea->area / basin.area;
    // Read only while both the UIA and the RPA are stepped.
    const bool runOn = basin.uia.area > kFractionFloor && basin.rpa.area > kFractionFloor;
    basin.runOnRatio = runOn ? basin.uia.area / basin.rpa.area : 0.0;
    shareEqualCurves(basin);
}

} // namespace vesk
