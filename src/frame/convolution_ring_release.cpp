#include "frame/allocation.h"
#include "frame/common_records.h"

namespace vesk {

void releaseRing(ConvolutionRing &ring) {
    release(ring.uhOrdinates);
    release(ring.convolutionBuffer);
    ring.uhOrdinates = nullptr;
    ring.convolutionBuffer = nullptr;
    ring.uhLength = 0;
}

} // namespace vesk
