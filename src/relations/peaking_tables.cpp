// CT and P as quadratics a * pct^2 + b * pct + c with band-wise coefficients.
#include "relations/peaking_tables.h"

#include "relations/selector.h"

namespace vesk {

namespace {

struct Quadratic {
    double a; // times the square of the imperviousness
    double b; // times the imperviousness
    double c; // constant
};

// ---------------------------------------------------------------------------
// Time-to-peak coefficient CT.
// ---------------------------------------------------------------------------
constexpr Quadratic kCtTable[] = {
    //   a           b           c
    {0.0,       -0.00371,  0.163}, // below 10 %
    {0.000023,  -0.00224,  0.146}, // 10 to below 40 %
    {0.0000033, -0.000801, 0.12},  // 40 % and above
};

const Quadratic &ctBand(double imperviousPct) {
    if (imperviousPct < 10.0) return kCtTable[0];
    if (imperviousPct < 40.0) return kCtTable[1];
    return kCtTable[2]; // also a value that is not a number
}

// ---------------------------------------------------------------------------
// Peaking parameter P.
// ---------------------------------------------------------------------------
constexpr Quadratic kPeakingTable[] = {
    //   a          b        c
    {0.00245,  -0.012, 2.16},  // below 40 %
    {-0.00091, 0.228,  -2.06}, // 40 % and above
};

const Quadratic &peakingBand(double imperviousPct) {
    return imperviousPct < 40.0 ? kPeakingTable[0] : kPeakingTable[1];
}

double column(const Quadratic &band, const char *key) {
    switch (selectorOf(key)) {
    case 'a': return band.a;
    case 'b': return band.b;
    case 'c': return band.c;
    default: return 0.0;
    }
}

double evaluate(const Quadratic &band, double x) {
    return band.a * (x * x) + band.b * x + band.c;
}

} // namespace

double ctCoefficient(double imperviousPct, const char *key) {
    return column(ctBand(imperviousPct), key);
}

double peakingCoefficient(double imperviousPct, const char *key) {
    return column(peakingBand(imperviousPct), key);
}

double ctFromImperviousness(double imperviousPct) {
    return evaluate(ctBand(imperviousPct), imperviousPct);
}

double peakingParameter(double imperviousPct) {
    return evaluate(peakingBand(imperviousPct), imperviousPct);
}

} // namespace vesk
