// Physical checks of a basin before the library sees it.  The library takes
// any finite number; vesk, as a careful host, refuses values no basin can
// have and warns about values that are legal but unusual.
#pragma once

#include <string>
#include <vector>

#include "basin_source.h"
#include "warnings.h"

namespace vesk::host {

// Unusual but accepted.
inline constexpr double kUnusualSlope = 0.5;      // ft/ft
inline constexpr double kUnusualAreaSqMi = 100.0; // sq mi

// Throws InputError naming the value's place and its allowed range (in the
// units the file was read in) for the first impossible value; returns one
// warning per unusual value.
Warnings checkBasin(const BasinSource &source, UnitSystem units);

// Every basin of the files (basin files or tables, in any mix), each checked.
// Warnings are appended.  A name repeated across files is left to the
// library, which refuses the second with its own code.
std::vector<BasinSource> readCheckedBasins(const std::vector<std::string> &paths, UnitSystem units,
                                           Warnings &warnings);

} // namespace vesk::host
