#include "earlier/basin_shares.h"

#include <cmath>
#include <limits>

namespace vesk::earlier {

namespace {
// What the receiving share becomes when the whole impervious part drains
// directly and no run-on reaches it.
constexpr double kFullyConnectedRpaShare = 0.001;
} // namespace

double ieeeQuotient(double numerator, double denominator) {
    if (denominator != 0.0) return numerator / denominator;
    if (numerator == 0.0 || std::isnan(numerator)) return std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    return std::signbit(numerator) != std::signbit(denominator) ? -infinity : infinity;
}

BasinShares basinShares(double imperviousPct, double dcif, double rpf) {
    const double c = imperviousPct * 0.01;
    BasinShares shares{};
    shares.rpaShare = dcif == 1.0 ? kFullyConnectedRpaShare : (1.0 - c) * rpf;
    shares.spaShare = (1.0 - c) * (1.0 - rpf);
    shares.runOnRatio = ieeeQuotient(c - c * dcif, (1.0 - c) * rpf);
    return shares;
}

} // namespace vesk::earlier
