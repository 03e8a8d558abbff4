// Records that both levels' stored basins hold in the same shape: the unit
// hydrograph's summary and its convolution ring.
#pragma once

#include <cstdint>

namespace vesk {

// The smallest fraction any relation returns, the margin of the area snapping
// and the area (sq mi) below which a sub-area is not stepped.
inline constexpr double kFractionFloor = 0.00001;

// Results of the unit-hydrograph construction other than the ordinates.
struct UnitHydrographSummary {
    double uhPeakTime{};       // min from the start of the unit rain to the peak
    double unitPeakRate{};     // cfs per sq mi
    double uhPeakRate{};       // cfs per inch over the basin
    double unitRunoffVolume{}; // acre-ft of one inch of runoff
};

// The sampled unit hydrograph and the ring of pending outflow contributions.
// Both arrays are owned by the basin that carries the ring; releaseRing frees
// them.  Before a step, slot convolutionPosition holds everything earlier
// excess contributes to the coming step's outflow, the next slots (cyclically)
// what it contributes to later steps.
struct ConvolutionRing {
    int32_t uhLength{};             // number of ordinates
    double *uhOrdinates{};          // cfs per inch, spaced uhTimeStep apart
    double *convolutionBuffer{};    // cfs, uhLength slots
    int32_t convolutionPosition{};  // slot of the coming step
    double previousOutflow{};       // cfs, outflow of the step before the latest
    double outflow{};               // cfs, outflow of the latest step
};

// Frees both arrays and leaves the ring empty.  Harmless on an empty ring.
void releaseRing(ConvolutionRing &ring);

} // namespace vesk
