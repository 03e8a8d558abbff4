#include "earlier/parameter_defaults.h"

#include "earlier/relations.h"

namespace vesk::earlier {

namespace {

// slope * c + intercept, one pair up to `threshold` percent and one above.
struct DefaultLines {
    double threshold;
    double lowSlope, lowIntercept;
    double highSlope, highIntercept;
};

//                                        threshold  up to it       above it
constexpr DefaultLines kDcifDefaults[] = {{40.0,     2.0, 0.0,      0.5, 0.6},    // level 0 and others
                                          {80.0,     1.25, 0.0,     1.25, 0.0},   // level 1
                                          {80.0,     0.5, 0.0,      6.0, -4.4}};  // level 2

constexpr DefaultLines kRpfDefaults[] = {{40.0,      0.35, 0.05,    0.35, 0.05},  // level 0 and others
                                         {40.0,      0.625, 0.05,   1.0, -0.1},   // level 1
                                         {40.0,      1.25, 0.1,     0.8, 0.28}};  // level 2

const DefaultLines &linesOf(const DefaultLines (&table)[3], int32_t level) {
    return (level == 1 || level == 2) ? table[level] : table[0];
}

// Adding an intercept of 0 or multiplying by a slope of 1 is exact, so one
// form serves every line as written (1.25 c, c - 0.1, 6 c - 4.4 ...).
double lineValue(const DefaultLines &lines, double imperviousPct) {
    const double c = imperviousPct * 0.01;
    if (imperviousPct > lines.threshold) return lines.highSlope * c + lines.highIntercept;
    return lines.lowSlope * c + lines.lowIntercept;
}

} // namespace

double defaultDcif(int32_t level, double imperviousPct) {
    return lineValue(linesOf(kDcifDefaults, level), imperviousPct);
}

double defaultRpf(int32_t level, double imperviousPct) {
    return lineValue(linesOf(kRpfDefaults, level), imperviousPct);
}

namespace {

// A fraction of 0 or below asks for the default line; none is above 1.
void fillFractions(Basin &basin) {
    if (basin.dcif <= 0.0) basin.dcif = defaultDcif(basin.disconnectionLevel, basin.imperviousPct);
    if (basin.rpf <= 0.0) basin.rpf = defaultRpf(basin.disconnectionLevel, basin.imperviousPct);
    if (basin.dcif > 1.0) basin.dcif = 1.0;
    if (basin.rpf > 1.0) basin.rpf = 1.0;
}

// The coefficients follow the effective imperviousness, not the plain one.
void fillCoefficients(Basin &basin) {
    basin.eiaPct = effectiveImperviousness(basin.disconnectionLevel, basin.imperviousPct);
    if (basin.shape.ct <= 0.0) basin.shape.ct = timeToPeakCoefficient(basin.eiaPct, basin.area);
    if (basin.shape.cp <= 0.0) basin.shape.cp = peakCoefficient(basin.eiaPct, basin.area);
}

} // namespace

void applyParameterDefaults(Basin &basin) {
    fillFractions(basin);
    fillCoefficients(basin);
}

} // namespace vesk::earlier
