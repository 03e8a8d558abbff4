// The sampled unit hydrograph and the ring of pending outflow contributions:
// its two arrays and their ownership, sampling a curve into it, and the
// convolution of each step's excess through it.  Used by both levels.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>

#include "base/allocation.h"

namespace vesk {

// An array of doubles from allocateArray, released when its owner ends.
using OwnedDoubles = std::unique_ptr<double[], Releaser>;

// Before a step, slot convolutionPosition holds everything earlier excess
// contributes to the coming step's outflow, the next slots (cyclically) what
// it contributes to later steps.  The ring owns both arrays: it can be moved
// (the source keeps no arrays) but not copied, and frees them when it ends.
struct ConvolutionRing {
    int32_t uhLength{};             // number of ordinates
    OwnedDoubles uhOrdinates;       // cfs per inch, spaced uhTimeStep apart
    OwnedDoubles convolutionBuffer; // cfs, uhLength slots
    int32_t convolutionPosition{};  // slot of the coming step
    double previousOutflow{};       // cfs, outflow of the step before the latest
    double outflow{};               // cfs, outflow of the latest step

    // A ring of `length` (>= 1) zeroed ordinates and zeroed slots at position
    // 0, or nothing when either array cannot be allocated (the ordinates are
    // allocated first; nothing is kept on failure).
    static std::optional<ConvolutionRing> withLength(int32_t length);
};

// Writes curve.value(t) at t = i · step (formed exactly from the two
// integers) into ordinate i - 1 for i = 1 .. uhLength.  False as soon as a
// value is not finite (the ordinates are then partly written).
template <class Curve> bool sampleInto(ConvolutionRing &ring, int32_t step, const Curve &curve) {
    for (int32_t i = 1; i <= ring.uhLength; ++i) {
        const double t = static_cast<double>(static_cast<int64_t>(i) * step);
        ring.uhOrdinates[i - 1] = curve.value(t);
        if (!std::isfinite(ring.uhOrdinates[i - 1])) return false;
    }
    return true;
}

// Spreads `stepExcess` (in) over the coming uhLength steps, one ordinate per
// step, then takes the coming step's slot out of the ring as the new outflow
// (cfs), clears it and moves on one slot.  Returns the new outflow.  A ring
// without ordinates yields outflow 0.
double advanceRing(ConvolutionRing &ring, double stepExcess);

} // namespace vesk
