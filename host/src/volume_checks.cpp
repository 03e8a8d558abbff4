#include "volume_checks.h"

#include <cmath>

namespace vesk::host {

double VolumeCheck::ratio() const {
    if (expected == 0.0) return actual == 0.0 ? 1.0 : HUGE_VAL;
    return actual / expected;
}

bool VolumeCheck::off(double tolerance) const {
    return !(std::fabs(actual - expected) <= tolerance * std::fabs(expected));
}

double hydrographVolume(const std::vector<double> &flows, int stepMinutes) {
    double sum = 0.0;
    for (double flow : flows) sum += flow;
    return flowSumVolume(sum, stepMinutes);
}

double flowSumVolume(double flowSum, int stepMinutes) { return flowSum * stepMinutes * 60.0 / kSquareFeetPerAcre; }

double depthVolume(double depthInches, double areaSquareMiles) {
    return depthInches * areaSquareMiles * kAcresPerSquareMile / kInchesPerFoot;
}

VolumeCheck unitHydrographCheck(const std::vector<double> &ordinates, int uhTimeStep, double area) {
    return VolumeCheck{depthVolume(1.0, area), hydrographVolume(ordinates, uhTimeStep)};
}

VolumeCheck outflowCheck(double outflowSum, int stepMinutes, double excessDepth, double area) {
    return VolumeCheck{depthVolume(excessDepth, area), flowSumVolume(outflowSum, stepMinutes)};
}

} // namespace vesk::host
