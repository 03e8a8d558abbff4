#include "volume_checks.h"

#include <cmath>

namespace vesk::host {

double VolumeCheck::ratio() const {
    if (expected == 0.0) return actual == 0.0 ? 1.0 : HUGE_VAL;
    return actual / expected;
}

bool VolumeCheck::off() const {
    return !(std::fabs(actual - expected) <= kVolumeTolerance * std::fabs(expected));
}

double hydrographVolume(const std::vector<double> &flows, int stepMinutes) {
    double sum = 0.0;
    for (double flow : flows) sum += flow;
    return sum * stepMinutes * 60.0 / kSquareFeetPerAcre;
}

double depthVolume(double depthInches, double areaSquareMiles) {
    return depthInches * areaSquareMiles * kAcresPerSquareMile / kInchesPerFoot;
}

VolumeCheck unitHydrographCheck(const std::vector<double> &ordinates, int uhTimeStep, double area) {
    return VolumeCheck{depthVolume(1.0, area), hydrographVolume(ordinates, uhTimeStep)};
}

VolumeCheck outflowCheck(const std::vector<double> &outflow, int timeStep, const std::vector<double> &stepExcess,
                         double area) {
    double excess = 0.0;
    for (double depth : stepExcess) excess += depth;
    return VolumeCheck{depthVolume(excess, area), hydrographVolume(outflow, timeStep)};
}

} // namespace vesk::host
