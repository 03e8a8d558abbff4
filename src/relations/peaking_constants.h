// The numbers of the CT small-area correction and of CP's growth with the
// basin area, written once for both levels (each level combines them in its
// own order).
#pragma once

namespace vesk {

// Basins under this area (sq mi) get CT · kSmallAreaFactor · area^kSmallAreaExponent.
inline constexpr double kSmallAreaLimit = 0.25;
inline constexpr double kSmallAreaFactor = 0.65;
inline constexpr double kSmallAreaExponent = -0.31;

// CP grows with area^kPeakAreaExponent (area in sq mi).
inline constexpr double kPeakAreaExponent = 0.15;

} // namespace vesk
