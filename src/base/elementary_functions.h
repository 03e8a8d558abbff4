// The exponential and the power function, correctly rounded: each returns the
// double nearest the exact result (ties to even), with gradual underflow and
// overflow to infinity, for every pair of double arguments.  They use nothing
// but IEEE double additions, subtractions, multiplications, divisions and
// square roots plus exact bit manipulation, so every platform that rounds
// doubles to nearest (SSE2, not the x87 unit's extended registers) gives the
// same bits.  The library's results promise their last bit; a C runtime's exp
// or pow may round the last bit either way (and runtimes differ), these do not.
#pragma once

namespace vesk {

// e^x.
double correctlyRoundedExp(double x);

// x^y with the special cases of C99 Annex F: pow(x, +-0) = 1 and pow(1, y) = 1
// for any x and y (NaN too), pow(-1, +-inf) = 1, a negative finite x with a
// finite non-integer y gives NaN, a negative x with an integer y the signed
// power, pow(+-0, y) for odd integers y < 0 is +-inf, and so on.
double correctlyRoundedPow(double x, double y);

namespace detail {

// The fast evaluations alone, for the tests: true and the correctly rounded
// result in `result` when the fast path's error bound proves the rounding,
// false when the accurate path would be needed (or the argument is not one
// the fast path takes).
bool fastExp(double x, double &result);
bool fastPow(double x, double y, double &result);

} // namespace detail

} // namespace vesk
