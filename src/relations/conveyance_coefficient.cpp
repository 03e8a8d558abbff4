// Conveyance coefficient from the imperviousness: rising along two straight
// lines up to 40 %, 20 up to 100 %, and 0 outside 0 to below 100 %.
#include "level.h"
#include "relations/linear_interpolation.h"

extern "C" {

VESK_API double VESK_CALL vesk_calcConvCoeff(double imperviousPct) {
    if (imperviousPct < 0.0) return 0.0;
    if (imperviousPct < 20.0) return vesk::linearInterpolation(7.0, 5.0, 15.0, 20.0, imperviousPct);
    if (imperviousPct < 40.0) return vesk::linearInterpolation(15.0, 20.0, 20.0, 40.0, imperviousPct);
    if (imperviousPct < 100.0) return 20.0;
    return 0.0;
}

} // extern "C"
