// The split of a flow path into its overland part, limited by a cut-off
// length, and the channel part that follows it.
#include <cmath>

#include "level.h"

extern "C" {

VESK_API double VESK_CALL vesk_maxLengthCutoff(double x) { return 500.0 * std::exp(-0.035 * x); }

VESK_API double VESK_CALL vesk_calcOverlandLen(double totalLength, double maxLength) {
    return totalLength > maxLength ? maxLength : totalLength;
}

VESK_API double VESK_CALL vesk_calcChannelLen(double totalLength, double overlandLength) {
    return totalLength > overlandLength ? totalLength - overlandLength : 0.0;
}

} // extern "C"
