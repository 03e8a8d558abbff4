// The synthetic unit hydrograph of a basin: the outflow, every uhTimeStep
// minutes, that one inch of excess rain spread evenly over the basin during
// one uhTimeStep produces.  Shared by both levels.
#pragma once

#include "frame/common_records.h"
#include "frame/level.h"
#include "unithydrograph/curve_fitting.h"

namespace vesk {

// The basin's extent as the construction needs it.
struct HydrographGeometry {
    double area;           // sq mi
    double length;         // mi
    double centroidLength; // mi
    double slope;          // ft/ft
};

// Builds the unit hydrograph from the geometry and the shape (ct and cp
// already filled in; widths and rise fractions <= 0 are derived and stored in
// `shape`, as are fractions the 40 % rule moves).  Writes `summary` and gives
// `ring` (which must hold no arrays: it is overwritten) two new arrays of uhLength doubles: the ordinates and a zeroed
// convolution buffer, position 0.
//
// Returns 0 when built (the error code is left alone), 2 with code 2 when the
// basin cannot be built (uhTimeStep below 1, slope not above 0, a NaN or
// infinite input, shape time or rate, a rising system with a zero pivot, a
// split peak with no width, no volume left for the tail, a hydrograph that
// ends within the first uhTimeStep or would reach beyond 100,000 minutes,
// refused before anything is allocated), 3 with code 3 when an array cannot
// be allocated.
// On 2 and 3 the ring holds nothing; summary and shape may be partly written.
int buildUnitHydrograph(const HydrographGeometry &geometry, ShapeParameters &shape,
                        UnitHydrographSummary &summary, ConvolutionRing &ring,
                        Rounding rounding = Rounding::Current);

} // namespace vesk
