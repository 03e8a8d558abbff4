// The earlier level's basin record and step block, laid out as its public
// header lays them out.  Its header cannot be included beside the current
// level's (both declare BasinInput and the same export names), so the core
// fills these instead; a test compares every offset with the header's.
#pragma once

#include <cstdint>

namespace vesk::host {

struct EarlierShape {
    double ct, cp, width50, width75, rise50Fraction, rise75Fraction;
    int32_t uhTimeStep;
    int32_t gap;
};

struct EarlierBasinRecord {
    double area, length, centroidLength, imperviousPct, eiaPct, slope;
    double perviousDepressionStorage, imperviousDepressionStorage;
    double initialInfiltrationRate, finalInfiltrationRate, infiltrationDecay;
    int32_t disconnectionLevel;
    int32_t gap;
    double dcif, rpf, rpaShare, spaShare;
    double uhPeakTime, unitPeakRate, uhPeakRate, unitRunoffVolume;
    EarlierShape shape;
};
static_assert(sizeof(EarlierBasinRecord) == 216, "the earlier level's record is 216 bytes");

// Fifteen doubles; the last is the step's excess over the whole basin.
struct EarlierStepState {
    double values[15];
    double stepExcess() const { return values[14]; }
};
static_assert(sizeof(EarlierStepState) == 120, "the earlier level's step block is 120 bytes");

} // namespace vesk::host
