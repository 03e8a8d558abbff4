#include "relations/rainfall_intensity.h"

#include "base/elementary_functions.h"

namespace vesk {

double rainfallIntensity(double a1, double a2, double a3, double a4, double a5) {
    return (a1 * a3) / correctlyRoundedPow(a2 + a4, a5);
}

} // namespace vesk
