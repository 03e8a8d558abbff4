#include "simulation/basin_time_step.h"

#include <cstdint>
#include <limits>

#include "simulation/basin_loss_step.h"
#include "simulation/convolution_ring.h"

namespace vesk {

namespace {

// The first of equal maxima keeps the peak; a NaN outflow never compares
// greater, so it never becomes the peak.
void trackPeak(Basin &basin, double outflow) {
    if (outflow > basin.peakOutflow) {
        basin.peakOutflow = outflow;
        basin.peakTime = static_cast<double>(basin.precip.time);
    }
}

} // namespace

void takeBasinStep(Basin &basin, double rainDepth) {
    basin.precip.time += basin.precip.timeStep;
    basin.precip.stepRain = rainDepth;
    basinLossStep(basin);
    trackPeak(basin, advanceRing(basin.ring, basin.precip.stepExcess));
}

double stepUntil(Basin &basin, double rainDepth, int32_t targetTime) {
    while (basin.precip.time < targetTime && clockCanAdvance(basin)) takeBasinStep(basin, rainDepth);
    return basin.ring.outflow;
}

} // namespace vesk
