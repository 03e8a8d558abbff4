// The rain a call of vesk_execute may apply to each of its steps.  A depth
// below 0 would be taken as negative infiltration, and one of thousands of
// inches, or a NaN or infinite one, overflows the basin's storages and ring
// so that every later outflow is infinite or NaN.  Such a call takes no
// step: the basin stays as it was.
#pragma once

namespace vesk {

// Inches of rain in one step beyond which no storm goes.
inline constexpr double kMostRainPerStep = 1000.0;

// Whether `depth` (in) lies from 0 to kMostRainPerStep; NaN fails both
// comparisons.
inline bool rainDepthAccepted(double depth) { return depth >= 0.0 && depth <= kMostRainPerStep; }

} // namespace vesk
