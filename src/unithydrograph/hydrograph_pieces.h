// The pieces the synthetic unit hydrograph is assembled from, each a small
// value with its ordinate at time t (minutes) and its area (rate × minutes)
// over an interval.  A square is t * t, the exactly rounded square; higher
// powers go through correctlyRoundedPow, the same bits on every platform.  Sums
// run from the constant term up, as the construction's figures were fixed with.
#pragma once

#include "base/elementary_functions.h"

namespace vesk {

// c0 + c1·t + c2·t² + c3·t³.
struct Cubic {
    double c0{}, c1{}, c2{}, c3{};

    double value(double t) const {
        return ((c0 + c1 * t) + c2 * (t * t)) + c3 * correctlyRoundedPow(t, 3.0);
    }
    double antiderivative(double t) const {
        return ((c0 * t + c1 * (t * t) / 2.0) + c2 * correctlyRoundedPow(t, 3.0) / 3.0) +
               c3 * correctlyRoundedPow(t, 4.0) / 4.0;
    }
    double integral(double from, double to) const { return antiderivative(to) - antiderivative(from); }
};

// a0 + a1·t + a2·t²: one half of a split peak.
struct Quadratic {
    double a0{}, a1{}, a2{};

    double value(double t) const { return (a0 + a1 * t) + a2 * (t * t); }
    double antiderivative(double t) const {
        return (a0 * t + a1 * (t * t) / 2.0) + a2 * correctlyRoundedPow(t, 3.0) / 3.0;
    }
    double integral(double from, double to) const { return antiderivative(to) - antiderivative(from); }
};

// intercept + slope·t: the falling limb and the two tail segments.
struct Line {
    double intercept{}, slope{};

    double value(double t) const { return intercept + slope * t; }
    double antiderivative(double t) const { return intercept * t + slope * (t * t) / 2.0; }
    double integral(double from, double to) const { return antiderivative(to) - antiderivative(from); }
};

// The rising limb from 0 to t75r: the fitted cubic, or, where that cubic dips
// below zero on the sampling grid, a parabola through the origin up to t50r
// followed by a straight line up to t75r.
struct RisingCurve {
    bool fallback{};
    Cubic cubic{};          // the fit; unused once fallback is set
    double parabola{};      // fallback: q = parabola · t² up to t50r
    Line line{};            // fallback: beyond t50r
    double t50r{}, t75r{};

    // Whether the rising limb supplies the ordinate at t (the cubic stops just
    // before t75r, the fallback line includes it).
    bool holds(double t) const { return fallback ? t <= t75r : t < t75r; }
    double value(double t) const {
        if (!fallback) return cubic.value(t);
        return t <= t50r ? parabola * (t * t) : line.value(t);
    }
    // Area under the limb from 0 to t75r.
    double volume(double q50, double q75) const {
        if (!fallback) return cubic.antiderivative(t75r); // it is 0 at t = 0
        return q50 * t50r / 3.0 + (q50 + q75) * (t75r - t50r) * 0.5;
    }
};

// The peak from t75r to t75f: one cubic, or two quadratics meeting at the
// peak time when the cubic's inflection lies well inside the interval.
struct PeakCurve {
    bool split{};
    Cubic cubic{};
    Quadratic before{}, after{}; // split: t75r..Tp and Tp..t75f
    double t75r{}, tPeak{}, t75f{};

    bool holds(double t) const { return t < t75f; }
    double value(double t) const {
        if (!split) return cubic.value(t);
        return t < tPeak ? before.value(t) : after.value(t);
    }
    double volume() const {
        if (!split) return cubic.integral(t75r, t75f);
        return before.integral(t75r, tPeak) + after.integral(tPeak, t75f);
    }
};

// Two straight segments from (t50f, q50) through (tMid, 0.4·q50) to (tEnd, 0).
struct Tail {
    Line first{}, second{};
    double tMid{}, tEnd{};
};

} // namespace vesk
