// The two numeric tools the unit hydrograph is pieced together with: a small
// dense solver that turns point and slope conditions into polynomial
// coefficients, and the grid check that keeps the rising curve from dipping
// below zero.  Shared by both levels; neither allocates.
#pragma once

#include "frame/operation_order.h"

namespace vesk {

// Solves matrix · solution = rhs for an n × n matrix stored row by row
// (element (r, c) at r * n + c) by Gauss–Jordan inversion in place, without
// row exchanges: the order of the conditions matters.  Returns true when
// solved (matrix then holds the inverse and solution is written), false as
// soon as a pivot is exactly zero (matrix partly transformed, solution
// untouched).  rhs is never modified.  n = 0 returns true and does nothing.
// The current order divides a pivot row by its pivot, the earlier order
// multiplies it by the pivot's reciprocal.
bool solveLinearSystem(int n, double *matrix, const double *rhs, double *solution, OperationOrder order);

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
