// The earlier level's basin shares: the shares of the basin that the
// receiving and the separate pervious part take, and the unconnected
// impervious area per unit of receiving area.  This level splits the basin
// into no sub-areas; the shares are stored for the host and no step reads
// them.
#pragma once

namespace vesk::earlier {

struct BasinShares {
    double rpaShare;   // (1 - c) * RPF, or 0.001 when DCIF is exactly 1
    double spaShare;   // (1 - c) * (1 - RPF)
    double runOnRatio; // (c - c * DCIF) / ((1 - c) * RPF)
};

// Shares for c = imperviousPct * 0.01.  A fully impervious basin or an RPF of
// 0 leaves no receiving area: the ratio is then what IEEE division gives
// (infinite, or NaN for 0 / 0), formed without dividing by zero.
BasinShares basinShares(double imperviousPct, double dcif, double rpf);

// numerator / denominator as IEEE arithmetic defines it, also for a zero
// denominator: infinite with the sign of the operands for a non-zero
// numerator, NaN for a zero or NaN numerator.
double ieeeQuotient(double numerator, double denominator);

} // namespace vesk::earlier
