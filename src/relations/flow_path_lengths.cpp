#include "relations/flow_path_lengths.h"

#include "base/elementary_functions.h"

namespace vesk {

namespace {
// The cut-off length (ft) falls from 500 ft by this factor per unit of its
// argument.
constexpr double kLongestCutoff = 500.0; // ft
constexpr double kCutoffDecay = -0.035;
} // namespace

double lengthCutoff(double x) { return kLongestCutoff * correctlyRoundedExp(kCutoffDecay * x); }

double overlandLength(double totalLength, double maxLength) {
    return totalLength > maxLength ? maxLength : totalLength;
}

double channelLength(double totalLength, double overlandLength) {
    return totalLength > overlandLength ? totalLength - overlandLength : 0.0;
}

} // namespace vesk
