// The calculators whose arguments or tables are the earlier level's own: its
// DCIF and RPF lines with their complements and coefficients, its effective
// imperviousness, CT and CP.  They touch no state.
#include "earlier/relations.h"
#include "veskdll.h"

extern "C" {

VESK_API double VESK_CALL vesk_DCIFgetParam(int32_t level, double imperviousPct, const char *key) {
    return vesk::earlier::dcifCoefficient(level, imperviousPct, key);
}

VESK_API double VESK_CALL vesk_RPFgetParam(int32_t level, double imperviousPct, const char *key) {
    return vesk::earlier::rpfCoefficient(level, imperviousPct, key);
}

VESK_API double VESK_CALL vesk_calcDCIF(int32_t level, double imperviousPct) {
    return vesk::earlier::dcifRelation(level, imperviousPct);
}

VESK_API double VESK_CALL vesk_calcRPF(int32_t level, double imperviousPct) {
    return vesk::earlier::rpfRelation(level, imperviousPct);
}

VESK_API double VESK_CALL vesk_calcUIF(int32_t level, double imperviousPct) {
    return 1.0 - vesk::earlier::dcifRelation(level, imperviousPct);
}

VESK_API double VESK_CALL vesk_calcSPF(int32_t level, double imperviousPct) {
    return 1.0 - vesk::earlier::rpfRelation(level, imperviousPct);
}

VESK_API double VESK_CALL vesk_calcEIA(int32_t level, double imperviousPct) {
    return vesk::earlier::effectiveImperviousness(level, imperviousPct);
}

VESK_API double VESK_CALL vesk_getEIAParam(int32_t level, double imperviousPct, const char *key) {
    return vesk::earlier::eiaCoefficient(level, imperviousPct, key);
}

VESK_API double VESK_CALL vesk_calcCT(double imperviousPct, double area) {
    return vesk::earlier::timeToPeakCoefficient(imperviousPct, area);
}

VESK_API double VESK_CALL vesk_calcCP(double imperviousPct, double area) {
    return vesk::earlier::peakCoefficient(imperviousPct, area);
}

} // extern "C"
