// The whole unit-hydrograph curve before it is sampled: its shape points, the
// fitted pieces, the tail that closes the inch and the number of ordinates.
#pragma once

#include <cstdint>

#include "base/common_records.h"
#include "base/operation_order.h"
#include "base/public_header.h"
#include "unithydrograph/hydrograph_geometry.h"
#include "unithydrograph/hydrograph_pieces.h"
#include "unithydrograph/shape_points.h"

namespace vesk {

struct HydrographCurve {
    ShapePoints points{};
    RisingCurve rising{};
    PeakCurve peak{};
    Line falling{};
    double tailVolume{}; // cfs × min left for the tail
    Tail tail{};
    int32_t count{};     // ordinates at uhTimeStep, 2·uhTimeStep, ... up to tEnd

    // Ordinate at t, from the first piece (in the order rising, peak,
    // falling, tail) that holds t; 0 from tEnd on.
    double value(double t) const {
        if (rising.holds(t)) return rising.value(t);
        if (peak.holds(t)) return peak.value(t);
        if (t < points.t50f) return falling.value(t);
        if (t < tail.tMid) return tail.first.value(t);
        if (t < tail.tEnd) return tail.second.value(t);
        return 0.0;
    }
};

// Every step of the construction except the arrays: writes `summary` and the
// derived or moved widths and fractions of `shape` and fills `curve`.
// Returns false when the basin cannot be built (the reasons of
// buildUnitHydrograph other than memory).  Allocates nothing.
bool designUnitHydrograph(const HydrographGeometry &geometry, ShapeParameters &shape,
                          UnitHydrographSummary &summary, OperationOrder order, HydrographCurve &curve);

} // namespace vesk
