// The two unit systems vesk reads and reports in.  The library always
// computes in US customary units; SI values are converted exactly at the
// boundary with the defined lengths of the inch and the foot.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vesk::host {

inline constexpr double kKilometresPerMile = 1.609344;
inline constexpr double kSquareKilometresPerSquareMile = 2.589988110336; // 1.609344 squared
inline constexpr double kMillimetresPerInch = 25.4;
inline constexpr double kCubicMetresPerCubicFoot = 0.028316846592;       // 0.3048 cubed
inline constexpr double kCubicMetresPerAcreFoot = 1233.48183754752;      // 43560 ft2 x 1 ft

enum class UnitSystem { Us, Si };

// What a value measures, which fixes its unit and conversion.
enum class Quantity {
    Area,        // sq mi | km2
    Length,      // mi | km
    Depth,       // in | mm
    Rate,        // in/h | mm/h
    Flow,        // cfs | m3/s
    Volume,      // acre-ft | m3
    UnitFlow,    // cfs per in | m3/s per mm (unit-hydrograph ordinates)
    Unchanged,   // the same number in both systems (%, ft/ft = m/m, 1/s, min, fractions)
};

// The unit system a user names: "us" or "si" in any letter case.
std::optional<UnitSystem> unitSystemNamed(std::string_view name);

// The inch of runoff the unit hydrograph stands for, as the units say it:
// "one inch" or "25.4 mm".
std::string oneInch(UnitSystem units);

// The unit's symbol, empty for Unchanged.
std::string unitName(Quantity quantity, UnitSystem units);

// A value given in `units` converted to the library's US customary units.
double toLibraryUnits(double value, Quantity quantity, UnitSystem units);

// A library value (US customary) converted to `units` for reporting.
double fromLibraryUnits(double value, Quantity quantity, UnitSystem units);

} // namespace vesk::host
