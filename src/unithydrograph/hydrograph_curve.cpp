#include "unithydrograph/hydrograph_curve.h"

#include <cmath>
#include <limits>

#include "base/finite_values.h"
#include "unithydrograph/piece_fitting.h"

namespace vesk {

namespace {

constexpr double kLargestCount = std::numeric_limits<int32_t>::max();

// No catchment responds for ten weeks: a curve reaching beyond this many
// minutes comes from absurd parameters, and sampling or checking it would
// cost seconds and gigabytes.  With it the arrays stay below 1 MB each at a
// one-minute step.
constexpr double kLongestCurveMinutes = 100000.0;

// What the method needs before it starts: a sampling step of at least one
// minute, a positive slope (its root divides), a positive area (a basin of
// none has no runoff to route, and a negative one gives negative ordinates
// and outflow) and finite numbers throughout.
bool inputsUsable(const HydrographGeometry &g, const ShapeParameters &s) {
    return s.uhTimeStep >= 1 && g.slope > 0.0 && g.area > 0.0 &&
           allFinite({g.area, g.length, g.centroidLength, g.slope, s.ct, s.cp, s.width50, s.width75,
                      s.rise50Fraction, s.rise75Fraction});
}

// Whether every shape time lies within the longest curve; checked before
// the rising-limb check walks its grid up to t75r.
bool shapeTimesBounded(const ShapePoints &p) {
    for (double t : {p.tPeak, p.t50r, p.t75r, p.t75f, p.t50f})
        if (t > kLongestCurveMinutes) return false;
    return true;
}

// Area (cfs × min) the rising, peak and falling pieces leave of the inch.
double volumeLeftForTail(const HydrographCurve &c) {
    const ShapePoints &p = c.points;
    return p.volume - c.rising.volume(p.q50, p.q75) - c.peak.volume() -
           c.falling.integral(p.t75f, p.t50f);
}

bool isFinite(const Tail &t) {
    return allFinite({t.tMid, t.tEnd, t.first.intercept, t.first.slope, t.second.intercept, t.second.slope});
}

// tEnd / step rounded up, or 0 when that is not a 32-bit count.
int32_t ordinateCount(double tEnd, int32_t step) {
    const double quotient = tEnd / step;
    const double whole = std::floor(quotient);
    const double count = whole == quotient ? quotient : whole + 1.0;
    return count >= 1.0 && count <= kLargestCount ? static_cast<int32_t>(count) : 0;
}

} // namespace

bool designUnitHydrograph(const HydrographGeometry &geometry, ShapeParameters &shape,
                          UnitHydrographSummary &summary, OperationOrder order, HydrographCurve &curve) {
    curve = HydrographCurve{};
    if (!inputsUsable(geometry, shape)) return false;
    const int32_t step = shape.uhTimeStep;

    curve.points = shapePoints(geometry, shape, summary, order);
    const ShapePoints &p = curve.points;
    if (!isFinite(p) ||
        !allFinite({shape.width50, shape.width75, shape.rise50Fraction, shape.rise75Fraction}))
        return false;
    if (!shapeTimesBounded(p)) return false;

    if (!fitRisingCurve(p, static_cast<double>(step), order, curve.rising)) return false;
    if (!fitPeakCurve(p, shape.width75, order, curve.peak)) return false;
    curve.falling = fallingLine(p);

    curve.tailVolume = volumeLeftForTail(curve);
    if (!(curve.tailVolume > 0.0)) return false; // the pieces already hold the inch
    curve.tail = fitTail(curve.tailVolume, p, order);
    if (!isFinite(curve.tail) || curve.tail.tEnd > kLongestCurveMinutes) return false;
    // A tail ending within the first step leaves one ordinate, 0: the basin
    // could never give outflow, the step is too coarse for it.
    if (curve.tail.tEnd <= step) return false;
    curve.count = ordinateCount(curve.tail.tEnd, step);
    return curve.count != 0;
}

} // namespace vesk
