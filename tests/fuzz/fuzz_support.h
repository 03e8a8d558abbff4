// What every fuzz target shares: the level's header, a basin record built
// from the fuzzer's bytes around a realistic basin, and the invariants a
// stored basin must keep while it steps.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#ifdef VESK_EARLIER_LEVEL
#include "veskdll.h"
#else
#include "veskdll133.h"
#endif

namespace fuzz {

// Stops the run with a message; libFuzzer keeps the input that led here.
[[noreturn]] inline void fail(const char *what, double value = 0.0) {
    std::fprintf(stderr, "invariant broken: %s (%.17g)\n", what, value);
    std::abort();
}

// Opens the library so that basins can be added at once.
inline void openReady() {
    vesk_free();
    vesk_open();
#ifndef VESK_EARLIER_LEVEL
    const VersionStamp stamp = VESK_VERSION_STAMP_INIT;
    vesk_checkversion(&stamp);
#endif
}

// Values beyond this are absurd for every field of a basin (areas in square
// miles, rates in inches per hour, minutes): arithmetic on them may overflow
// without any fault of the library, so the finite-outflow invariant skips
// them.
inline constexpr double kModest = 1e6;
// The rain the library takes in one step, inches; it refuses any other.
inline constexpr double kMostRain = 1000.0;
// Rounding may leave an outflow this share of the unit-hydrograph peak times
// the deepest rain below 0 (an ordinate at the tail's end a hair below 0).
inline constexpr double kRounding = 1e-9;

inline bool modest(double value) { return std::isfinite(value) && std::fabs(value) <= kModest; }

// A double from the fuzzer: mostly a scaled version of `typical` (zero and
// negative values included), sometimes any bit pattern at all.
inline double fuzzedValue(FuzzedDataProvider &data, double typical) {
    const uint8_t choice = data.ConsumeIntegral<uint8_t>();
    if (choice < 96) return typical;
    if (choice < 200) return typical * (static_cast<int>(choice) - 128) / 16.0;
    if (choice < 232) return static_cast<double>(data.ConsumeIntegralInRange<int32_t>(-1000, 100000)) / 100.0;
    double raw = 0.0;
    const std::string bytes = data.ConsumeBytesAsString(sizeof raw);
    std::memcpy(&raw, bytes.data(), bytes.size());
    return raw;
}

inline int32_t fuzzedInteger(FuzzedDataProvider &data, int32_t typical) {
    const uint8_t choice = data.ConsumeIntegral<uint8_t>();
    if (choice < 128) return typical;
    if (choice < 240) return data.ConsumeIntegralInRange<int32_t>(-3, 120);
    return data.ConsumeIntegral<int32_t>();
}

// A half-impervious basin of one square mile, ct 0.1, cp 0.5, five-minute
// steps, with every field open to the fuzzer.
inline BasinInput fuzzedRecord(FuzzedDataProvider &data) {
    BasinInput r{};
    r.area = fuzzedValue(data, 1.0);
    r.length = fuzzedValue(data, 2.0);
    r.centroidLength = fuzzedValue(data, 1.0);
    r.imperviousPct = fuzzedValue(data, 50.0);
    r.slope = fuzzedValue(data, 0.02);
    r.perviousDepressionStorage = fuzzedValue(data, 0.35);
    r.imperviousDepressionStorage = fuzzedValue(data, 0.1);
    r.initialInfiltrationRate = fuzzedValue(data, 3.0);
    r.finalInfiltrationRate = fuzzedValue(data, 0.5);
    r.infiltrationDecay = fuzzedValue(data, 0.0018);
    r.disconnectionLevel = fuzzedInteger(data, 1);
    r.dcif = fuzzedValue(data, 0.6);
    r.rpf = fuzzedValue(data, 0.3);
    r.shape.ct = fuzzedValue(data, 0.1);
    r.shape.cp = fuzzedValue(data, 0.5);
    r.shape.width50 = fuzzedValue(data, 0.0);
    r.shape.width75 = fuzzedValue(data, 0.0);
    r.shape.rise50Fraction = fuzzedValue(data, 0.0);
    r.shape.rise75Fraction = fuzzedValue(data, 0.0);
    r.shape.uhTimeStep = fuzzedInteger(data, 5);
#ifndef VESK_EARLIER_LEVEL
    r.timeStep = data.ConsumeBool() ? r.shape.uhTimeStep : fuzzedValue(data, 5.0);
#endif
    return r;
}

// Whether every number preparation reads is modest.
inline bool modest(const BasinInput &r) {
    const double values[] = {r.area, r.length, r.centroidLength, r.imperviousPct, r.slope,
                             r.perviousDepressionStorage, r.imperviousDepressionStorage,
                             r.initialInfiltrationRate, r.finalInfiltrationRate, r.infiltrationDecay, r.dcif,
                             r.rpf, r.shape.ct, r.shape.cp, r.shape.width50, r.shape.width75,
                             r.shape.rise50Fraction, r.shape.rise75Fraction};
    for (double value : values)
        if (!modest(value)) return false;
    return true;
}

// No curve reaches beyond 100,000 minutes, so no basin holds more ordinates.
inline void checkStoredLength(const char *name) {
    const int32_t length = vesk_getuhlength(name);
    if (length > 100001) fail("unit hydrograph longer than 100,000 minutes allow", length);
}

// Whether vesk_execute steps the basin at all: at the current level a basin
// stored with a time step below one minute (every basin read from a file)
// never steps, and every call returns -1.
inline bool steps(const char *name) {
#ifdef VESK_EARLIER_LEVEL
    (void)name;
    return true;
#else
    PrecipState state{};
    vesk_getbasin_precip(name, &state);
    return state.timeStep >= 1;
#endif
}

// The basin's unit-hydrograph peak (cfs per inch), the scale of its outflow.
inline double unitPeak(const char *name) {
    BasinInput record{};
    vesk_getbasin(name, &record);
    return std::fabs(record.uhPeakRate);
}

// How far below 0 rounding may leave one step's outflow: a share of the peak,
// and for each ordinate the smallest normal double times the deepest rain,
// because a basin of a vanishing area (2e-323 sq mi) computes its curve among
// subnormal numbers, which carry no relative precision at all.
inline double roundingAllowance(const char *name) {
    const double ordinates = static_cast<double>(vesk_getuhlength(name)) + 1.0;
    return kRounding * unitPeak(name) * kMostRain + ordinates * kMostRain * DBL_MIN;
}

// Checks the outflow of one call of vesk_execute made and left with code 0.
// Rain outside 0 to 1,000 in (NaN and infinity too), or a basin that never
// steps, gives -1; any other call an outflow not below 0 beyond rounding,
// and a finite one for a basin stored from modest numbers.
inline void checkOutflow(const char *name, double rain, double outflow, bool recordModest) {
    if (!(rain >= 0.0 && rain <= kMostRain) || !steps(name)) {
        if (outflow != -1.0) fail("refused rain or a basin that never steps gave an outflow", outflow);
        return;
    }
    if (outflow < -roundingAllowance(name)) fail("negative outflow with code 0", outflow);
    if (recordModest && !std::isfinite(outflow)) fail("basin of modest numbers gave a non-finite outflow", outflow);
}

// One call of vesk_execute that advances the basin by at most a few steps:
// a host asking for millions of steps gets them, which is no fault.
inline double stepOnce(const char *name, double rain, int32_t steps) {
#ifdef VESK_EARLIER_LEVEL
    (void)steps;
    return vesk_execute(name, rain, 0);
#else
    PrecipState state{};
    vesk_getbasin_precip(name, &state);
    const int64_t target = static_cast<int64_t>(state.time) + static_cast<int64_t>(steps) * state.timeStep;
    return vesk_execute(name, rain, target > INT32_MAX ? INT32_MAX : static_cast<int32_t>(target));
#endif
}

// A depth for one step: mostly a storm's, sometimes one the library refuses.
inline double fuzzedRain(FuzzedDataProvider &data) {
    return data.ConsumeBool() ? data.ConsumeFloatingPointInRange<double>(0.0, 3.0) : fuzzedValue(data, 0.5);
}

// Steps a stored basin with fuzzed rain: every call keeps code 0 (refused
// rain leaves it alone) and its outflow passes checkOutflow.
inline void stepAndCheck(FuzzedDataProvider &data, const char *name, bool recordModest) {
    const int calls = data.ConsumeIntegralInRange<int>(0, 24);
    for (int i = 0; i < calls; ++i) {
        const double rain = fuzzedRain(data);
        const double outflow = stepOnce(name, rain, data.ConsumeIntegralInRange<int32_t>(0, 4));
        if (vesk_geterror() != VESK_OK) fail("stepping a stored basin set a code", vesk_geterror());
        checkOutflow(name, rain, outflow, recordModest);
    }
}

} // namespace fuzz
