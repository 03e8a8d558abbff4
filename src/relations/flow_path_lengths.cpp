// The split of a flow path into its overland part, limited by a cut-off
// length, and the channel part that follows it.
#include "frame/elementary_functions.h"
#include "level.h"

namespace {
// The cut-off length (ft) falls from 500 ft by this factor per unit of its
// argument.
constexpr double kLongestCutoff = 500.0; // ft
constexpr double kCutoffDecay = -0.035;
} // namespace

extern "C" {

VESK_API double VESK_CALL vesk_maxLengthCutoff(double x) {
    return kLongestCutoff * vesk::correctlyRoundedExp(kCutoffDecay * x);
}

VESK_API double VESK_CALL vesk_calcOverlandLen(double totalLength, double maxLength) {
    return totalLength > maxLength ? maxLength : totalLength;
}

VESK_API double VESK_CALL vesk_calcChannelLen(double totalLength, double overlandLength) {
    return totalLength > overlandLength ? totalLength - overlandLength : 0.0;
}

} // extern "C"
