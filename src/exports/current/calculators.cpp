// The calculators whose arguments or tables are the current level's own: the
// DCIF and RPF relations with their complements and coefficient tables, the
// effective impervious area, CT's small-area correction and CP.  They touch
// no state.
#include "relations/effective_impervious_area.h"
#include "relations/impervious_fractions.h"
#include "relations/peaking_coefficients.h"
#include "veskdll133.h"

extern "C" {

VESK_API double VESK_CALL vesk_DCIFgetParam(int32_t level, double imperviousPct, const char *key) {
    return vesk::dcifCoefficient(level, imperviousPct, key);
}

VESK_API double VESK_CALL vesk_RPFgetParam(int32_t level, double imperviousPct, const char *key) {
    return vesk::rpfCoefficient(level, imperviousPct, key);
}

VESK_API double VESK_CALL vesk_calcDCIF(int32_t level, double imperviousPct) {
    return vesk::dcifRelation(level, imperviousPct);
}

VESK_API double VESK_CALL vesk_calcRPF(int32_t level, double imperviousPct) {
    return vesk::rpfRelation(level, imperviousPct);
}

VESK_API double VESK_CALL vesk_calcUIF(double dcif) { return vesk::complementFraction(dcif); }

VESK_API double VESK_CALL vesk_calcSPF(double rpf) { return vesk::complementFraction(rpf); }

VESK_API double VESK_CALL vesk_calcEIA(double dcif, double rpf, double imperviousPct, double rainfall,
                                       double infiltration) {
    return vesk::effectiveImperviousArea(dcif, rpf, imperviousPct, rainfall, infiltration);
}

VESK_API double VESK_CALL vesk_calcCT(double ct, double area) { return vesk::smallAreaCorrectedCt(ct, area); }

VESK_API double VESK_CALL vesk_calcCP(double imperviousPct, double area, double ct) {
    return vesk::peakCoefficient(imperviousPct, area, ct);
}

} // extern "C"
