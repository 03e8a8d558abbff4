// Random sequences of the whole interface over a few basin names: the frame's
// state (registry, code, handshake) must survive any order of calls, a null
// pointer never replaces a pending code, and every stored basin keeps the
// invariants of the other targets.
#include "fuzz_support.h"

namespace {

const char *const kNames[] = {"Creek", "CREEK", "kerec", "", "Marsh"};

// Whether basin `name` was stored from a modest record; kept per name so the
// finite-outflow invariant knows which basins it applies to.
bool modestBasin[5];

int nameIndex(FuzzedDataProvider &data) { return data.ConsumeIntegralInRange<int>(0, 4); }

// Sets the flag of basin `n` under every spelling of its name: names 0 and 1
// are one name in two spellings; name 2 has their letters in another order
// (the same chain of the registry, but another basin).
void markBasin(int n, bool modest) {
    for (int i = 0; i < 5; ++i)
        if ((n <= 1 && i <= 1) || i == n) modestBasin[i] = modest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    vesk_free();
    for (bool &flag : modestBasin) flag = false;
    for (int call = 0; call < 64 && data.remaining_bytes() > 0; ++call) {
        const int n = nameIndex(data);
        const char *name = data.ConsumeIntegralInRange<int>(0, 15) == 0 ? nullptr : kNames[n];
        const int32_t before = vesk_geterror();
        const int chosen = data.ConsumeIntegralInRange<int>(0, 11);
        // Calls 3 to 8 take the name; 2, 3 and 9 may pass another null pointer.
        bool nullPointer = name == nullptr && chosen >= 3 && chosen <= 8;
        switch (chosen) {
        case 0: vesk_open(); break;
        case 1:
            vesk_free();
            for (bool &flag : modestBasin) flag = false;
            break;
#ifndef VESK_EARLIER_LEVEL
        case 2: {
            VersionStamp stamp = VESK_VERSION_STAMP_INIT;
            if (data.ConsumeBool()) stamp.release = data.ConsumeIntegral<int32_t>();
            nullPointer = data.ConsumeIntegralInRange<int>(0, 7) == 0;
            vesk_checkversion(nullPointer ? nullptr : &stamp);
            break;
        }
#endif
        case 3: {
            BasinInput record = fuzz::fuzzedRecord(data);
            const bool recordModest = fuzz::modest(record);
            const bool noRecord = data.ConsumeIntegralInRange<int>(0, 15) == 0;
            nullPointer = nullPointer || noRecord;
            vesk_addbasin(noRecord ? nullptr : &record, name);
            if (before == VESK_OK && vesk_geterror() == VESK_OK) {
                markBasin(n, recordModest);
                fuzz::checkStoredLength(name);
            }
            if (before != VESK_OK && vesk_geterror() != before && name != nullptr)
                fuzz::fail("vesk_addbasin replaced a pending code", vesk_geterror());
            break;
        }
        case 4: {
            const double rain = fuzz::fuzzedRain(data);
            const double outflow = fuzz::stepOnce(name, rain, data.ConsumeIntegralInRange<int32_t>(0, 4));
            if (before == VESK_OK && vesk_geterror() == VESK_OK)
                fuzz::checkOutflow(name, rain, outflow, modestBasin[n]);
            break;
        }
        case 5: {
            BasinInput out{};
            vesk_getbasin(name, &out);
            break;
        }
        case 6: {
#ifdef VESK_EARLIER_LEVEL
            StepState out{};
#else
            PrecipState out{};
#endif
            vesk_getbasin_precip(name, &out);
            break;
        }
        case 7: {
            const int32_t length = vesk_getuhlength(name);
            if (length < -1) fuzz::fail("negative unit-hydrograph length", length);
            break;
        }
        case 8: vesk_getuhordinatevalue(name, data.ConsumeIntegralInRange<int32_t>(-2, 200)); break;
        case 9:
            nullPointer = !data.ConsumeBool();
            vesk_loadandadd(nullPointer ? nullptr : "/nonexistent/vesk.basin");
            break;
        case 10: {
            const int32_t code = vesk_geterror();
            if (code < 0 || code > 7) fuzz::fail("error code outside 0 to 7", code);
            break;
        }
        default: vesk_calcConvCoeff(fuzz::fuzzedValue(data, 30.0)); break;
        }
        if (nullPointer && before != VESK_OK && vesk_geterror() != before)
            fuzz::fail("a null pointer replaced a pending code", vesk_geterror());
    }
    vesk_free();
    return 0;
}
