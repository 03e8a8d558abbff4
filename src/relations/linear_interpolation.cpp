// Export of the general linear interpolation.
#include "relations/linear_interpolation.h"

#include "level.h"

extern "C" {

VESK_API double VESK_CALL vesk_linterp(double y1, double x1, double y2, double x2, double x) {
    return vesk::linearInterpolation(y1, x1, y2, x2, x);
}

} // extern "C"
