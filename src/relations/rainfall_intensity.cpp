// Rainfall intensity from an intensity-duration formula a1 * a3 / (a2 + a4)^a5.
// The positions are fixed, their meaning is the caller's.
#include "frame/elementary_functions.h"
#include "level.h"

extern "C" {

VESK_API double VESK_CALL vesk_calcIntensity(double a1, double a2, double a3, double a4, double a5) {
    return (a1 * a3) / vesk::correctlyRoundedPow(a2 + a4, a5);
}

} // extern "C"
