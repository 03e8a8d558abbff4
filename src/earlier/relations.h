// The earlier level's empirical relations: its coarser DCIF and RPF lines,
// the effective imperviousness that only level 2 adjusts, and the CT and CP
// relations that derive CT from the imperviousness themselves.  Pure
// functions of their arguments; they never touch the error code.
#pragma once

#include <cstdint>

namespace vesk::earlier {

// Table coefficient for `level` (0..2) and the band of imperviousPct: key
// "a" slope, "b" intercept; 0 for any other key (tested first) or level.
double dcifCoefficient(int32_t level, double imperviousPct, const char *key);
double rpfCoefficient(int32_t level, double imperviousPct, const char *key);

// b + imperviousPct * 0.01 * a, unbounded; 0 for a level outside 0..2.
double dcifRelation(int32_t level, double imperviousPct);
double rpfRelation(int32_t level, double imperviousPct);

// Coefficient of the effective-imperviousness line: 0 for any level but 2
// (tested before the key), then key "a" slope, "b" intercept, else 0.
double eiaCoefficient(int32_t level, double imperviousPct, const char *key);

// Level 2: ((b + a * imperviousPct) + imperviousPct) * 0.5; any other level:
// imperviousPct unchanged.
double effectiveImperviousness(int32_t level, double imperviousPct);

// CT of the imperviousness, with the correction for basins under 0.25 sq mi.
double timeToPeakCoefficient(double imperviousPct, double area);

// CP = P(imperviousPct) * area^0.15 * CT, CT uncorrected whatever the area.
double peakCoefficient(double imperviousPct, double area);

} // namespace vesk::earlier
