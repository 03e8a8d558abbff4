// The small dense solver that turns the unit hydrograph's point and slope
// conditions into polynomial coefficients.  Shared by both levels; it
// allocates nothing.
#pragma once

#include "base/operation_order.h"

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

} // namespace vesk
