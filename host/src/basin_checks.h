// Physical checks of a basin before the library sees it.  The library takes
// any finite number; vesk, as a careful host, refuses values no basin can
// have and warns about values that are legal but unusual.
#pragma once

#include <string>
#include <vector>

#include "basin_source.h"

namespace vesk::host {

// Unusual but accepted.
inline constexpr double kUnusualSlope = 0.5;      // ft/ft
inline constexpr double kUnusualAreaSqMi = 100.0; // sq mi

// Throws InputError naming the value's place and its allowed range (in the
// units the file was read in) for the first impossible value; returns one
// warning per unusual value.
std::vector<std::string> checkBasin(const BasinSource &source, UnitSystem units);

} // namespace vesk::host
