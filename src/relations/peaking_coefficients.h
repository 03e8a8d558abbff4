// The coefficients a basin's unit hydrograph is shaped by: CT corrected for
// small basins, and the peak coefficient CP.
#pragma once

namespace vesk {

// ct * 0.65 * area^-0.31 for basins under 0.25 sq mi, ct otherwise (also for
// an area that is not a number).
double smallAreaCorrectedCt(double ct, double area);

// CP = P(imperviousPct) * ct * area^0.15, with the ct the basin actually uses.
double peakCoefficient(double imperviousPct, double area, double ct);

} // namespace vesk
