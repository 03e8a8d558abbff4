// The banded quadratics in the imperviousness that give the time-to-peak
// coefficient CT and the peaking parameter P of the peak coefficient CP.
// Neither table has limits: negative imperviousness falls in the first band,
// imperviousness above 100 in the last.
#pragma once

namespace vesk {

// Coefficient of the CT quadratic for the band of imperviousPct (below 10,
// 10 to below 40, 40 and above): key "a" (square), "b" (linear), "c"
// (constant); 0 for any other key.
double ctCoefficient(double imperviousPct, const char *key);

// Coefficient of the P quadratic for the band of imperviousPct (below 40,
// 40 and above), keys as ctCoefficient.
double peakingCoefficient(double imperviousPct, const char *key);

// CT from the imperviousness, without the small-area correction.
double ctFromImperviousness(double imperviousPct);

// The peaking parameter P: CP = P * CT * area^0.15.
double peakingParameter(double imperviousPct);

} // namespace vesk
