// The volume checks a hydrologist relies on: the sampled unit hydrograph
// against one inch over the basin, and the outflow hydrograph against the
// excess rain of the run.  Flows are cfs, steps minutes, volumes acre-ft.
#pragma once

#include <vector>

namespace vesk::host {

inline constexpr double kSquareFeetPerAcre = 43560.0;
inline constexpr double kAcresPerSquareMile = 640.0;
inline constexpr double kInchesPerFoot = 12.0;
// Relative difference beyond which a volume is reported as off.
inline constexpr double kVolumeTolerance = 0.10;

struct VolumeCheck {
    double expected = 0.0; // acre-ft
    double actual = 0.0;   // acre-ft
    double ratio() const;  // actual / expected; 1 when both are 0
    bool off() const;      // differs by more than kVolumeTolerance
};

// Acre-ft of a hydrograph sampled every `stepMinutes` (a sum of rates x step).
double hydrographVolume(const std::vector<double> &flows, int stepMinutes);

// Acre-ft of `depthInches` over `areaSquareMiles`.
double depthVolume(double depthInches, double areaSquareMiles);

// Ordinates (cfs per inch, every uhTimeStep) against one inch over the basin.
VolumeCheck unitHydrographCheck(const std::vector<double> &ordinates, int uhTimeStep, double area);

// Outflow of the run against the sum of the steps' excess depths over the basin.
VolumeCheck outflowCheck(const std::vector<double> &outflow, int timeStep, const std::vector<double> &stepExcess,
                         double area);

} // namespace vesk::host
