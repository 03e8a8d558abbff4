// The two numeric tools the unit hydrograph is pieced together with: a small
// dense solver that turns point and slope conditions into polynomial
// coefficients, and the grid check that keeps the rising curve from dipping
// below zero.  Shared by both levels; neither allocates.
#pragma once

namespace vesk {

// The earlier level forms a few products in another order; the difference
// reaches at most the last bits of the results.  Current divides a pivot row
// by its pivot, Earlier multiplies it by the pivot's reciprocal (the other two
// differences live in the construction).
enum class Rounding { Current, Earlier };

// Solves matrix · solution = rhs for an n × n matrix stored row by row
// (element (r, c) at r * n + c) by Gauss–Jordan inversion in place, without
// row exchanges: the order of the conditions matters.  Returns -1 on success
// (matrix then holds the inverse and solution is written) or 0 as soon as a
// pivot is exactly zero (matrix partly transformed, solution untouched).
// rhs is never modified.  n = 0 returns -1 and does nothing.
int solveLinearSystem(int n, double *matrix, const double *rhs, double *solution,
                      Rounding rounding = Rounding::Current);

// Walks the grid 0, step, 2·step, ... below t75 and evaluates the cubic
// c0 + c1·t + c2·t² + c3·t³ held in coefficients.  At the first negative value
// the coefficients are replaced by the fallback (c0 = the parabola through the
// origin and (t50, q50), c1 and c2 = slope and intercept of the line through
// (t50, q50) and (t75, q75), c3 = 0) and fallbackFlag becomes -1; otherwise it
// ends as 0.  The grid point t75 itself is never sampled.  The caller
// guarantees step > 0 and a grid of bounded length.
void ensureNonNegativeRise(double coefficients[4], double step, double q50, double q75,
                           double t50, double t75, int &fallbackFlag);

} // namespace vesk
