#include "unithydrograph/non_negative_rise.h"

#include "base/elementary_functions.h"

namespace vesk {

namespace {

// The rising cubic at t, summed from the constant up, the cube by correctlyRoundedPow.
double risingCubicAt(const double c[4], double t) {
    return ((c[0] + c[1] * t) + c[2] * (t * t)) + c[3] * correctlyRoundedPow(t, 3.0);
}

// Parabola through the origin and (t50, q50), then the line on to (t75, q75).
void replaceByFallback(double c[4], double q50, double q75, double t50, double t75) {
    c[0] = q50 / (t50 * t50);
    c[1] = (q75 - q50) / (t75 - t50);
    c[2] = q50 + (t50 * q50 - t50 * q75) / (t75 - t50);
    c[3] = 0.0;
}

} // namespace

bool ensureNonNegativeRise(double coefficients[4], double step, double q50, double q75,
                           double t50, double t75) {
    if (!(t75 > 0.0)) return false;
    for (double t = 0.0; t < t75; t += step) {
        if (risingCubicAt(coefficients, t) < 0.0) {
            replaceByFallback(coefficients, q50, q75, t50, t75);
            return true;
        }
    }
    return false;
}

} // namespace vesk
