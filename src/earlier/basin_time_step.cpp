#include "earlier/basin_time_step.h"

#include "earlier/lumped_loss_step.h"
#include "simulation/convolution_ring.h"

namespace vesk::earlier {

double takeBasinStep(Basin &basin, double rain) {
    lumpedLossStep(basin, rain);
    return advanceRing(basin.ring, basin.step.stepExcess);
}

} // namespace vesk::earlier
