// Rainfall intensity from an intensity-duration formula.
#pragma once

namespace vesk {

// a1 · a3 / (a2 + a4)^a5.  The positions are fixed, their meaning is the
// caller's.
double rainfallIntensity(double a1, double a2, double a3, double a4, double a5);

} // namespace vesk
