// The synthetic unit hydrograph of a basin: the outflow, every uhTimeStep
// minutes, that one inch of excess rain spread evenly over the basin during
// one uhTimeStep produces.  Shared by both levels.
#pragma once

#include "base/common_records.h"
#include "base/operation_order.h"
#include "base/public_header.h"
#include "base/status.h"
#include "simulation/convolution_ring.h"
#include "unithydrograph/hydrograph_geometry.h"

namespace vesk {

// Builds the unit hydrograph from the geometry and the shape (ct and cp
// already filled in; widths and rise fractions <= 0 are derived and stored in
// `shape`, as are fractions the 40 % rule moves).  Writes `summary` and gives
// `ring` two new arrays of uhLength doubles: the ordinates and a zeroed
// convolution buffer, position 0 (whatever the ring held is released).
//
// Returns Ok when built, CannotBuild when the basin cannot be built
// (uhTimeStep below 1, slope not above 0, a NaN or infinite input, shape time
// or rate, a rising system with a zero pivot, a split peak with no width, no
// volume left for the tail, a hydrograph that ends within the first
// uhTimeStep or would reach beyond 100,000 minutes, refused before anything
// is allocated, an ordinate that is not finite), NoMemory when an array cannot be allocated.
// On failure the ring holds nothing; summary and shape may be partly written.
Status buildUnitHydrograph(const HydrographGeometry &geometry, ShapeParameters &shape,
                           UnitHydrographSummary &summary, ConvolutionRing &ring, OperationOrder order);

} // namespace vesk
