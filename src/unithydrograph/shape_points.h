// Peak, widths and the times where the hydrograph passes 50 % and 75 % of its
// peak: the frame the pieces of the unit hydrograph are fitted into.
#pragma once

#include "base/common_records.h"
#include "base/operation_order.h"
#include "base/public_header.h"
#include "unithydrograph/hydrograph_geometry.h"

namespace vesk {

struct ShapePoints {
    double tPeak{};        // Tp, min from the start of the unit rain
    double qPeak{};        // Qp, cfs per inch
    double q75{}, q50{};   // 75 % and 50 % of the peak
    double t50r{}, t75r{}; // rising limb
    double t75f{}, t50f{}; // falling limb
    double volume{};       // one inch over the basin, cfs × min
};

// Steps 1 to 3 of the construction: time to peak and peak rates (written to
// `summary`), widths and rise fractions (defaults and the 40 % rule written to
// `shape`), and the shape times.
ShapePoints shapePoints(const HydrographGeometry &geometry, ShapeParameters &shape,
                        UnitHydrographSummary &summary, OperationOrder order);

// Whether every time and rate of `points` is a finite number.
bool isFinite(const ShapePoints &points);

} // namespace vesk
