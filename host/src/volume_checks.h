// The volume checks a hydrologist relies on: the sampled unit hydrograph
// against one inch over the basin, and the outflow hydrograph against the
// excess rain of the run.  Flows are cfs, steps minutes, volumes acre-ft.
#pragma once

#include <vector>

namespace vesk::host {

inline constexpr double kSquareFeetPerAcre = 43560.0;
inline constexpr double kAcresPerSquareMile = 640.0;
inline constexpr double kInchesPerFoot = 12.0;
// Relative difference beyond which the unit hydrograph a user builds at a
// step of their own choosing (vesk uh) is reported as off.  Runs choose
// their steps with a tolerance of their own (computation_step.h).
inline constexpr double kVolumeTolerance = 0.10;

struct VolumeCheck {
    double expected = 0.0; // acre-ft
    double actual = 0.0;   // acre-ft
    double ratio() const;  // actual / expected; 1 when both are 0
    bool off(double tolerance = kVolumeTolerance) const; // differs by more than `tolerance` of expected
};

// Acre-ft of a hydrograph sampled every `stepMinutes` (a sum of rates x step).
double hydrographVolume(const std::vector<double> &flows, int stepMinutes);

// The same from the sum of the rates (cfs).
double flowSumVolume(double flowSum, int stepMinutes);

// Acre-ft of `depthInches` over `areaSquareMiles`.
double depthVolume(double depthInches, double areaSquareMiles);

// Ordinates (cfs per inch, every uhTimeStep) against one inch over the basin.
VolumeCheck unitHydrographCheck(const std::vector<double> &ordinates, int uhTimeStep, double area);

// Outflow of the run (the sum of its rates every `stepMinutes`) against the
// excess depth of the run over the basin.
VolumeCheck outflowCheck(double outflowSum, int stepMinutes, double excessDepth, double area);

} // namespace vesk::host
