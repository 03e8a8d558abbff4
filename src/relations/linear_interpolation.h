// The ordinate at x on the straight line through (x1, y1) and (x2, y2).
#pragma once

namespace vesk {

// y1 + (x - x1) * ((y2 - y1) / (x2 - x1)); equal abscissae are not guarded.
inline double linearInterpolation(double y1, double x1, double y2, double x2, double x) {
    return y1 + (x - x1) * ((y2 - y1) / (x2 - x1));
}

} // namespace vesk
