#include "simulation/convolution_ring.h"

#include <cstddef>

namespace vesk {

std::optional<ConvolutionRing> ConvolutionRing::withLength(int32_t length) {
    const auto count = static_cast<std::size_t>(length);
    ConvolutionRing ring;
    ring.uhOrdinates.reset(allocateArray<double>(count));
    if (ring.uhOrdinates == nullptr) return std::nullopt;
    ring.convolutionBuffer.reset(allocateArray<double>(count));
    if (ring.convolutionBuffer == nullptr) return std::nullopt; // the ring frees the ordinates
    for (std::size_t i = 0; i < count; ++i) ring.convolutionBuffer[i] = 0.0;
    ring.uhLength = length;
    return ring;
}

namespace {

// Adds `ordinates[i]` times the excess to `slots[i]` for i < count.  The
// arrays never overlap; each slot gets one product and one sum, so doing
// several slots at once in vector registers gives the same bits.
void addScaled(double *__restrict slots, const double *__restrict ordinates, int32_t count, double stepExcess) {
    for (int32_t i = 0; i < count; ++i) slots[i] += ordinates[i] * stepExcess;
}

// Adds ordinate i times the excess to slot (position + i) mod length: the run
// up to the end of the ring, then the wrapped run from slot 0, so no modulo
// is needed and every slot still receives exactly one addition.
void spreadExcess(ConvolutionRing &ring, double stepExcess) {
    double *const slots = ring.convolutionBuffer.get();
    const double *const ordinates = ring.uhOrdinates.get();
    const int32_t untilEnd = ring.uhLength - ring.convolutionPosition;
    addScaled(slots + ring.convolutionPosition, ordinates, untilEnd, stepExcess);
    addScaled(slots, ordinates + untilEnd, ring.convolutionPosition, stepExcess);
}

} // namespace

double advanceRing(ConvolutionRing &ring, double stepExcess) {
    ring.previousOutflow = ring.outflow;
    if (ring.uhLength <= 0 || ring.uhOrdinates == nullptr || ring.convolutionBuffer == nullptr) {
        ring.outflow = 0.0; // no ordinates: nothing ever reaches the outlet
        return ring.outflow;
    }
    // A step without excess adds a zero to every slot, which leaves each as
    // it is: a slot starts at +0 and is only ever added to, so it is never
    // -0, and the ordinates are finite (sampling refuses any other).
    // Skipping the spread gives the same bits.
    if (stepExcess != 0.0) spreadExcess(ring, stepExcess);
    const int32_t position = ring.convolutionPosition;
    ring.outflow = ring.convolutionBuffer[position];
    ring.convolutionBuffer[position] = 0.0;
    ring.convolutionPosition = position + 1 < ring.uhLength ? position + 1 : 0;
    return ring.outflow;
}

} // namespace vesk
