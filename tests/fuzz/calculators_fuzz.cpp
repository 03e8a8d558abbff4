// Every calculator with fuzzed arguments: no crash and no undefined
// behaviour, whatever the numbers, levels, periods and keys; and they touch
// no state, so the error code stays as it was.
#include "fuzz_support.h"

namespace {

double anyValue(FuzzedDataProvider &data) { return fuzz::fuzzedValue(data, 35.0); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    while (data.remaining_bytes() > 0) {
        const int32_t level = fuzz::fuzzedInteger(data, 1);
        const int32_t period = fuzz::fuzzedInteger(data, 10);
        const std::string key = data.ConsumeRandomLengthString(3);
        const char *text = data.ConsumeBool() ? key.c_str() : nullptr;
        const double a = anyValue(data), b = anyValue(data), c = anyValue(data), d = anyValue(data),
                     e = anyValue(data);
        switch (data.ConsumeIntegralInRange<int>(0, 25)) {
        case 0: vesk_DCIFgetParam(level, a, text); break;
        case 1: vesk_RPFgetParam(level, a, text); break;
        case 2: vesk_calcDCIF(level, a); break;
        case 3: vesk_calcRPF(level, a); break;
#ifdef VESK_EARLIER_LEVEL
        case 4: vesk_calcUIF(level, a); break;
        case 5: vesk_calcSPF(level, a); break;
        case 6: vesk_calcEIA(level, a); break;
        case 7: vesk_getEIAParam(level, a, text); break;
        case 8: vesk_calcCT(a, b); break;
        case 9: vesk_calcCP(a, b); break;
#else
        case 4: vesk_calcUIF(a); break;
        case 5: vesk_calcSPF(a); break;
        case 6: vesk_calcEIA(a, b, c, d, e); break;
        case 7: vesk_calcCT(a, b); break;
        case 8: vesk_calcCP(a, b, c); break;
        case 9: break;
#endif
        case 10: vesk_CTgetParam(a, text); break;
        case 11: vesk_calcCT_Cutoff(a); break;
        case 12: vesk_CPgetParam(a, b, text); break;
        case 13: vesk_runoffCoeffCorr(text, period, a); break;
        case 14: vesk_runoffCoeff(text, period, a); break;
        case 15: vesk_maxLengthCutoff(a); break;
        case 16: vesk_calcOverlandLen(a, b); break;
        case 17: vesk_calcChannelLen(a, b); break;
        case 18: vesk_initialFlowTime(a, b, c, d); break;
        case 19: vesk_flowTravelTime(a, b, c); break;
        case 20: vesk_calcMinTc(a); break;
        case 21: vesk_calcRegionalTc(a); break;
        case 22: vesk_calcTc(a, b, c, d, e); break;
        case 23: vesk_calcConvCoeff(a); break;
        case 24: vesk_calcIntensity(a, b, c, d, e); break;
        default: vesk_linterp(a, b, c, d, e); break;
        }
        if (vesk_geterror() != VESK_OK) fuzz::fail("a calculator set the error code", vesk_geterror());
    }
    return 0;
}
