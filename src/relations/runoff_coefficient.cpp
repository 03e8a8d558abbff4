// All coefficients here are 32-bit floats; the arithmetic is in double, so
// results carry the float values of the coefficients (1.3 enters as
// 1.2999999523162842).
#include "relations/runoff_coefficient.h"

#include "base/elementary_functions.h"
#include "relations/selector.h"

namespace vesk {

namespace {

constexpr float kPercent = 100.0f;

// ---------------------------------------------------------------------------
// Return-period correction: intercept + slope * imperviousPct / 100, indexed
// by 5 * soil column + return-period row.  Soil groups C and D share a column.
// ---------------------------------------------------------------------------
constexpr int kReturnPeriods = 5;

constexpr float kCorrectionIntercept[2 * kReturnPeriods] = {
    //   5      10     25     50     100 years
    0.09f, 0.17f, 0.24f, 0.28f, 0.32f, // soil A
    0.11f, 0.21f, 0.33f, 0.40f, 0.46f, // soil C and D
};

constexpr float kCorrectionSlope[2 * kReturnPeriods] = {
    //   5       10      25      50      100 years
    -0.08f, -0.14f, -0.19f, -0.22f, -0.25f, // soil A
    -0.10f, -0.18f, -0.28f, -0.33f, -0.39f, // soil C and D
};

// Row of a return period in years, -1 when the table has none.
int returnPeriodRow(int32_t years) {
    switch (years) {
    case 5: return 0;
    case 10: return 1;
    case 25: return 2;
    case 50: return 3;
    case 100: return 4;
    default: return -1;
    }
}

// Column of a soil group (upper case only), -1 for any other character.
int soilColumn(char group) {
    switch (group) {
    case 'A': return 0;
    case 'C':
    case 'D': return 1;
    default: return -1;
    }
}

double returnPeriodCorrection(char group, int32_t returnPeriod, double imperviousPct) {
    const int row = returnPeriodRow(returnPeriod);
    if (row < 0) return 0.0;
    const int column = soilColumn(group);
    if (column < 0) return 0.0;
    const int index = kReturnPeriods * column + row;
    return (imperviousPct / kPercent) * kCorrectionSlope[index] + kCorrectionIntercept[index];
}

// ---------------------------------------------------------------------------
// Cubic in the imperviousness fraction i.  The correction K joins right after
// the cubic term: cubic * i^3 + K + square * i^2 + linear * i + constant,
// summed left to right.
// ---------------------------------------------------------------------------
struct SoilCubic {
    float cubic;
    float square;
    float linear;
    float constant;
};

//                           i^3     i^2      i       1
constexpr SoilCubic kSoilA = {1.3f, -1.44f, 1.135f, -0.12f};
constexpr SoilCubic kSoilC = {0.858f, -0.786f, 0.774f, 0.04f};

double corrected(const SoilCubic &soil, double correction, double imperviousPct) {
    const double i = imperviousPct / kPercent;
    return soil.cubic * correctlyRoundedPow(i, 3.0) + correction + soil.square * (i * i) +
           soil.linear * i + soil.constant;
}

// Soil A cannot shed less than nothing; soil C is left as it comes.
double soilAResult(int32_t returnPeriod, double imperviousPct) {
    const double value =
        corrected(kSoilA, returnPeriodCorrection('A', returnPeriod, imperviousPct), imperviousPct);
    return value < 0.0 ? 0.0 : value;
}

double soilCResult(int32_t returnPeriod, double imperviousPct) {
    return corrected(kSoilC, returnPeriodCorrection('C', returnPeriod, imperviousPct), imperviousPct);
}

} // namespace

double runoffCoefficientCorrection(const char *soilGroup, int32_t returnPeriod, double imperviousPct) {
    return returnPeriodCorrection(selectorOf(soilGroup), returnPeriod, imperviousPct);
}

double runoffCoefficient(const char *soilGroup, int32_t returnPeriod, double imperviousPct) {
    switch (selectorOf(soilGroup)) {
    case 'A': return soilAResult(returnPeriod, imperviousPct);
    case 'C':
    case 'D': return soilCResult(returnPeriod, imperviousPct);
    case 'B': // halfway between A (already limited at 0) and C
        return 0.5f * (soilCResult(returnPeriod, imperviousPct) +
                       soilAResult(returnPeriod, imperviousPct));
    default: return 0.0;
    }
}

} // namespace vesk
