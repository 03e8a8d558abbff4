// What both levels' stored basins hold in the same shape: the unit
// hydrograph's summary and the fraction floor.
#pragma once

#include <cstdint>

namespace vesk {

// The smallest fraction any relation returns, the margin of the area snapping
// and the area (sq mi) below which a sub-area is not stepped.
inline constexpr double kFractionFloor = 0.00001;

// Results of the unit-hydrograph construction other than the ordinates.
struct UnitHydrographSummary {
    double uhPeakTime{};       // min from the start of the unit rain to the peak
    double unitPeakRate{};     // cfs per sq mi
    double uhPeakRate{};       // cfs per inch over the basin
    double unitRunoffVolume{}; // acre-ft of one inch of runoff
};

} // namespace vesk
