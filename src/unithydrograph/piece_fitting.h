// Fitting the pieces of the unit hydrograph into the shape points: the rising
// limb, the peak, the falling line and the two-segment tail.
#pragma once

#include "base/operation_order.h"
#include "unithydrograph/hydrograph_pieces.h"
#include "unithydrograph/shape_points.h"

namespace vesk {

// The rising cubic through the origin with the initial slope of the mean of
// the two falling-limb secants, through (t50r, q50) and (t75r, q75); replaced
// by the parabola-and-line fallback where it dips below zero on the grid of
// `step`.  False when the system has a zero pivot.
bool fitRisingCurve(const ShapePoints &p, double step, OperationOrder order, RisingCurve &rising);

// The peak cubic through (t75r, q75), (Tp, Qp) with zero slope, and
// (t75f, q75); split into two quadratics when it cannot be solved or its
// inflection lies more than 1 % of width75 inside both ends.  False when a
// split half can neither be solved nor replaced by a line (no width).
bool fitPeakCurve(const ShapePoints &p, double width75, OperationOrder order, PeakCurve &peak);

// The straight falling limb from (t75f, q75) to (t50f, q50).
Line fallingLine(const ShapePoints &p);

// The tail: two segments whose area is `volumeLeft` (cfs × min); the first
// takes a third of the duration and falls from (t50f, q50) to 0.4·q50, the
// second falls on to 0 at tEnd.
Tail fitTail(double volumeLeft, const ShapePoints &p, OperationOrder order);

} // namespace vesk
