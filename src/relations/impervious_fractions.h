// The relations that split a basin's impervious part into its directly
// connected and unconnected shares (DCIF, UIF) and its pervious part into the
// receiving and separate shares (RPF, SPF).  Basin preparation calls them for
// the fractions the host leaves to the library.
#pragma once

#include <cstdint>

namespace vesk {

// Coefficient of the DCIF / RPF table for `level` (0..2) and the band of
// imperviousPct (10 % bands, the last one 90..100 inclusive): key "a" gives
// the slope, "b" the intercept.  0 for any other key or level, and for an
// imperviousPct below 0, above 100 or not a number.
double dcifCoefficient(int32_t level, double imperviousPct, const char *key);
double rpfCoefficient(int32_t level, double imperviousPct, const char *key);

// b + imperviousPct / 100 * a, at least the fraction floor.  A level or
// imperviousness outside the table gives the floor.
double dcifRelation(int32_t level, double imperviousPct);
double rpfRelation(int32_t level, double imperviousPct);

// 1 - fraction, at least the fraction floor (UIF from DCIF, SPF from RPF).
double complementFraction(double fraction);

} // namespace vesk
