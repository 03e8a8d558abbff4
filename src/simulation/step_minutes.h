// The simulation step of a current-level basin in whole minutes, as the
// host's double is turned into the basin's int32 clock increment.
#pragma once

#include <cstdint>

namespace vesk {

// Whether the simulation step truncated toward zero is a 32-bit count (NaN
// and infinities are not).
inline bool fitsWholeMinutes(double timeStep) { return timeStep > -2147483649.0 && timeStep < 2147483648.0; }

// The simulation step in whole minutes, truncated toward zero; 0 when it does
// not fit (preparation refuses such a record).
inline int32_t wholeMinutes(double timeStep) {
    return fitsWholeMinutes(timeStep) ? static_cast<int32_t>(timeStep) : 0;
}

} // namespace vesk
