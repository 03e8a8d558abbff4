#include "relations/conveyance_coefficient.h"

#include "relations/linear_interpolation.h"

namespace vesk {

double conveyanceCoefficient(double imperviousPct) {
    if (imperviousPct < 0.0) return 0.0;
    if (imperviousPct < 20.0) return linearInterpolation(7.0, 5.0, 15.0, 20.0, imperviousPct);
    if (imperviousPct < 40.0) return linearInterpolation(15.0, 20.0, 20.0, 40.0, imperviousPct);
    if (imperviousPct < 100.0) return 20.0;
    return 0.0;
}

} // namespace vesk
