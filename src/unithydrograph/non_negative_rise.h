// The grid check that keeps the unit hydrograph's rising curve from dipping
// below zero.  Shared by both levels.
#pragma once

namespace vesk {

// Walks the grid 0, step, 2·step, ... below t75 and evaluates the cubic
// c0 + c1·t + c2·t² + c3·t³ held in coefficients.  At the first negative value
// the coefficients are replaced by the fallback (c0 = the parabola through the
// origin and (t50, q50), c1 and c2 = slope and intercept of the line through
// (t50, q50) and (t75, q75), c3 = 0) and the result is true; otherwise the
// coefficients stay and the result is false.  The grid point t75 itself is
// never sampled.  The caller guarantees step > 0 and a grid of bounded length.
bool ensureNonNegativeRise(double coefficients[4], double step, double q50, double q75,
                           double t50, double t75);

} // namespace vesk
