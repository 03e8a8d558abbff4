// Whether a group of numbers is free of NaN and infinity: the construction
// refuses a basin rather than build a hydrograph from such values.
#pragma once

#include <cmath>
#include <initializer_list>

namespace vesk {

inline bool allFinite(std::initializer_list<double> values) {
    for (double value : values)
        if (!std::isfinite(value)) return false;
    return true;
}

} // namespace vesk
