#include "unithydrograph/hydrograph_curve.h"

#include <cmath>
#include <limits>

#include "frame/library_state.h"
#include "unithydrograph/finite_values.h"
#include "unithydrograph/piece_fitting.h"

namespace vesk {

namespace {

constexpr double kLargestCount = std::numeric_limits<int32_t>::max();

// No catchment responds for ten weeks: a curve reaching beyond this many
// minutes comes from absurd parameters, and sampling or checking it would
// cost seconds and gigabytes.  With it the arrays stay below 1 MB each at a
// one-minute step.
constexpr double kLongestCurveMinutes = 100000.0;

int cannotBuild() {
    setErrorCode(VESK_ERR_UH_FIT);
    return VESK_ERR_UH_FIT;
}

// What the method needs before it starts: a sampling step of at least one
// minute, a positive slope (its root divides) and finite numbers throughout.
bool inputsUsable(const HydrographGeometry &g, const ShapeParameters &s) {
    return s.uhTimeStep >= 1 && g.slope > 0.0 &&
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

// Two segments whose area is the volume left: the first takes a third of the
// duration and falls to 0.4·q50, the second falls on to 0.
Tail tailClosing(double volumeLeft, const ShapePoints &p, Rounding rounding) {
    const double shapeFactor = rounding == Rounding::Earlier ? 0.7333333333333334 : 1.0 / 3.0 + 0.4;
    const double duration = 2.0 * volumeLeft / (p.q50 * shapeFactor);
    Tail tail;
    tail.tMid = p.t50f + duration / 3.0;
    tail.tEnd = p.t50f + duration;
    const double slope1 = (p.q50 - 0.4 * p.q50) / (p.t50f - tail.tMid);
    tail.first = Line{p.q50 - slope1 * p.t50f, slope1};
    const double slope2 = (0.4 * p.q50 - 0.0) / (tail.tMid - tail.tEnd);
    tail.second = Line{0.4 * p.q50 - slope2 * tail.tMid, slope2};
    return tail;
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

int designUnitHydrograph(const HydrographGeometry &geometry, ShapeParameters &shape,
                         UnitHydrographSummary &summary, Rounding rounding, HydrographCurve &curve) {
    curve = HydrographCurve{};
    if (!inputsUsable(geometry, shape)) return cannotBuild();
    const int32_t step = shape.uhTimeStep;

    curve.points = shapePoints(geometry, shape, summary, rounding);
    const ShapePoints &p = curve.points;
    if (!isFinite(p) ||
        !allFinite({shape.width50, shape.width75, shape.rise50Fraction, shape.rise75Fraction}))
        return cannotBuild();
    if (!shapeTimesBounded(p)) return cannotBuild();

    if (!fitRisingCurve(p, static_cast<double>(step), rounding, curve.rising)) return cannotBuild();
    if (!fitPeakCurve(p, shape.width75, rounding, curve.peak)) return cannotBuild();
    curve.falling = fallingLine(p);

    curve.tailVolume = volumeLeftForTail(curve);
    if (!(curve.tailVolume > 0.0)) return cannotBuild(); // the pieces already hold the inch
    curve.tail = tailClosing(curve.tailVolume, p, rounding);
    if (!isFinite(curve.tail) || curve.tail.tEnd > kLongestCurveMinutes) return cannotBuild();
    // A tail ending within the first step leaves one ordinate, 0: the basin
    // could never give outflow, the step is too coarse for it.
    if (curve.tail.tEnd <= step) return cannotBuild();
    curve.count = ordinateCount(curve.tail.tEnd, step);
    if (curve.count == 0) return cannotBuild();
    return 0;
}

} // namespace vesk
