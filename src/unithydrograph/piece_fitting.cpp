#include "unithydrograph/piece_fitting.h"

#include "base/elementary_functions.h"
#include "unithydrograph/linear_system.h"
#include "unithydrograph/non_negative_rise.h"

namespace vesk {

namespace {

// Mean of the secants from the origin to the two falling points, with the
// ten-digit third the method was calibrated with.
double initialRisingSlope(const ShapePoints &p) {
    return (p.q50 / p.t50f + p.q75 / p.t75f) * 0.3333333333;
}

// Row of a value condition q(t) for a polynomial of `n` coefficients.
void valueRow(double *row, int n, double t) {
    row[0] = 1.0;
    row[1] = t;
    row[2] = (t * t);
    if (n == 4) row[3] = correctlyRoundedPow(t, 3.0);
}

// Row of a slope condition q′(t).
void slopeRow(double *row, int n, double t) {
    row[0] = 0.0;
    row[1] = 1.0;
    row[2] = 2.0 * t;
    if (n == 4) row[3] = 3.0 * (t * t);
}

// Whether the cubic's inflection lies more than 1 % of width75 inside both
// ends of the peak interval.
bool inflectionWellInside(const Cubic &cubic, const ShapePoints &p, double width75) {
    if (cubic.c3 == 0.0) return false;
    const double tInflection = cubic.c2 / (-3.0 * cubic.c3);
    return (tInflection - p.t75r) / width75 > 0.01 && (p.t75f - tInflection) / width75 > 0.01;
}

// The quadratic from (tEdge, q75) to the peak with zero slope there; when
// that system is singular, the straight line between the two points instead.
// False when even the line has no width (tEdge is the peak time).
bool fitPeakHalf(const ShapePoints &p, double tEdge, OperationOrder order, Quadratic &half) {
    double m[9];
    valueRow(m + 0, 3, tEdge);
    valueRow(m + 3, 3, p.tPeak);
    slopeRow(m + 6, 3, p.tPeak);
    const double rhs[3] = {p.q75, p.qPeak, 0.0};
    double a[3];
    if (solveLinearSystem(3, m, rhs, a, order)) {
        half = Quadratic{a[0], a[1], a[2]};
        return true;
    }
    if (tEdge == p.tPeak) return false;
    const double slope = (p.qPeak - p.q75) / (p.tPeak - tEdge);
    half = Quadratic{p.qPeak - slope * p.tPeak, slope, 0.0};
    return true;
}

} // namespace

bool fitRisingCurve(const ShapePoints &p, double step, OperationOrder order, RisingCurve &rising) {
    double m[16] = {1.0, 0.0, 0.0, 0.0, //
                    0.0, 1.0, 0.0, 0.0};
    valueRow(m + 8, 4, p.t50r);
    valueRow(m + 12, 4, p.t75r);
    const double rhs[4] = {0.0, initialRisingSlope(p), p.q50, p.q75};
    double c[4];
    if (!solveLinearSystem(4, m, rhs, c, order)) return false;

    rising = RisingCurve{};
    rising.t50r = p.t50r;
    rising.t75r = p.t75r;
    rising.fallback = ensureNonNegativeRise(c, step, p.q50, p.q75, p.t50r, p.t75r);
    if (rising.fallback) {
        rising.parabola = c[0];
        rising.line = Line{c[2], c[1]};
    } else {
        rising.cubic = Cubic{c[0], c[1], c[2], c[3]};
    }
    return true;
}

bool fitPeakCurve(const ShapePoints &p, double width75, OperationOrder order, PeakCurve &peak) {
    double m[16];
    valueRow(m + 0, 4, p.t75r);
    valueRow(m + 4, 4, p.tPeak);
    slopeRow(m + 8, 4, p.tPeak);
    valueRow(m + 12, 4, p.t75f);
    const double rhs[4] = {p.q75, p.qPeak, 0.0, p.q75};
    double c[4];
    peak = PeakCurve{};
    peak.t75r = p.t75r;
    peak.tPeak = p.tPeak;
    peak.t75f = p.t75f;

    const bool solved = solveLinearSystem(4, m, rhs, c, order);
    if (solved) peak.cubic = Cubic{c[0], c[1], c[2], c[3]};
    peak.split = !solved || inflectionWellInside(peak.cubic, p, width75);
    if (!peak.split) return true;
    return fitPeakHalf(p, p.t75r, order, peak.before) && fitPeakHalf(p, p.t75f, order, peak.after);
}

Line fallingLine(const ShapePoints &p) {
    const double slope = (p.q75 - p.q50) / (p.t75f - p.t50f);
    return Line{p.q75 - slope * p.t75f, slope};
}

Tail fitTail(double volumeLeft, const ShapePoints &p, OperationOrder order) {
    // The earlier order writes the factor 1/3 + 0.4 as one rounded constant.
    const double shapeFactor = order == OperationOrder::Earlier ? 0.7333333333333334 : 1.0 / 3.0 + 0.4;
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

} // namespace vesk
