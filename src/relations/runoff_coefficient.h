// Runoff coefficient of an area from its soil group, return period and
// imperviousness, and its return-period correction.  Only the first
// character of the soil group counts (upper case A to D); a null pointer
// selects nothing.
#pragma once

#include <cstdint>

namespace vesk {

// The return-period correction: intercept + slope · imperviousPct / 100 for
// soil A, or C and D (one column); 0 for any other group (B included) or a
// return period other than 5, 10, 25, 50 and 100 years.
double runoffCoefficientCorrection(const char *soilGroup, int32_t returnPeriod, double imperviousPct);

// The corrected cubic in the imperviousness fraction: soil A (never below
// 0), C and D alike, B halfway between A and C; 0 for any other group.
double runoffCoefficient(const char *soilGroup, int32_t returnPeriod, double imperviousPct);

} // namespace vesk
