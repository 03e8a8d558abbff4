// The basin step evaluates each distinct Horton rate once per step (sub-areas
// with the same curve share it), carries the rate at a step's end into the
// next step, uses the area quotients formed at preparation and skips the
// spread of a step without excess.  The formulas as first written, every
// rate evaluated at both ends of every step for every sub-area, every
// quotient formed in the step and every excess spread, are kept here; random
// basins stepped through random storms must give the same bits in every
// field.
#include <cmath>
#include <cstring>
#include <random>

#include "base/elementary_functions.h"
#include "frame_test_support.h"
#include "hand_built_basin.h"
#include "simulation/basin_time_step.h"
#include "simulation/convolution_ring.h"
#include "simulation/step_constants.h"
#include "../written_convolution.h"

namespace {

namespace written {

double hortonRate(const vesk::SubArea &s, int64_t minutes) {
    const int64_t seconds = 60 * minutes;
    return s.finalInfiltrationRate + (s.initialInfiltrationRate - s.finalInfiltrationRate) *
                                         vesk::correctlyRoundedExp(-s.infiltrationDecay * static_cast<double>(seconds));
}

double stepCapacity(int32_t time, int32_t timeStep, const vesk::SubArea &s, double carry) {
    const double rateAtEnd = hortonRate(s, time);
    const double rateAtStart = hortonRate(s, static_cast<int64_t>(time) - timeStep);
    return (static_cast<double>(timeStep) / 60.0) * ((rateAtEnd + rateAtStart) * 0.5) + carry;
}

double subAreaLossStep(int32_t time, int32_t timeStep, const vesk::SubArea &s, LossState &state) {
    state.infiltration = 0.0;
    state.otherLoss = 0.0;
    state.excessLoss = 0.0;
    state.excess = 0.0;
    const double capacity = stepCapacity(time, timeStep, s, state.capacityCarry);
    double remainder = 0.0;
    if (capacity >= state.waterInput) {
        state.infiltration = state.waterInput;
    } else {
        state.infiltration = capacity;
        remainder = state.waterInput - capacity;
    }
    state.capacityCarry = 0.0;
    state.previousStorage = state.depressionStorage;
    const double room = s.maxDepressionStorage - state.depressionStorage;
    if (room > remainder) {
        state.depressionStorage += remainder;
        remainder = 0.0;
    } else {
        state.depressionStorage = s.maxDepressionStorage;
        remainder = remainder - room;
    }
    state.otherLoss = 0.0;
    const double passing = remainder - state.otherLoss;
    state.excessLoss = s.excessLossPercent * passing / 100.0;
    state.excess = passing - state.excessLoss;
    return s.area * state.infiltration + s.area * (state.depressionStorage - state.previousStorage) +
           s.area * state.otherLoss + s.area * state.excessLoss;
}

void stepSubArea(vesk::Basin &b, const vesk::SubArea &s, LossState &state, double waterInput) {
    state.waterInput = waterInput;
    b.lossVolume += subAreaLossStep(b.precip.time, b.precip.timeStep, s, state);
}

void basinStep(vesk::Basin &b, double rain, WrittenConvolution &convolution) {
    PrecipState &p = b.precip;
    p.time += p.timeStep;
    p.stepRain = rain;
    p.stepExcess = 0.0;
    b.rainVolume += p.stepRain * b.area;
    auto runs = [](const vesk::SubArea &s) { return s.area > vesk::kFractionFloor; };
    if (runs(b.dcia)) {
        stepSubArea(b, b.dcia, p.dcia, p.stepRain);
        p.stepExcess += (b.dcia.area / b.area) * p.dcia.excess;
    }
    if (runs(b.uia)) stepSubArea(b, b.uia, p.uia, p.stepRain);
    if (runs(b.rpa)) {
        double waterInput = p.stepRain;
        if (b.uia.area > vesk::kFractionFloor) waterInput = p.stepRain + (b.uia.area / b.rpa.area) * p.uia.excess;
        stepSubArea(b, b.rpa, p.rpa, waterInput);
        p.stepExcess += (b.rpa.area / b.area) * p.rpa.excess;
    }
    if (runs(b.spa)) {
        stepSubArea(b, b.spa, p.spa, p.stepRain);
        p.stepExcess += (b.spa.area / b.area) * p.spa.excess;
    }
    b.runoffVolume += p.stepExcess * b.area;
    b.ring.previousOutflow = b.ring.outflow;
    b.ring.outflow = convolution.advance(p.stepExcess);
    const double outflow = b.ring.outflow;
    if (outflow > b.peakOutflow) {
        b.peakOutflow = outflow;
        b.peakTime = static_cast<double>(p.time);
    }
}

} // namespace written

// A random basin; the same seed gives the same basin.  The pervious
// sub-areas share their curve as preparation makes them, or (one basin in
// four) the SPA's differs in one parameter; the impervious ones have none.
vesk::Basin randomBasin(uint64_t seed) {
    std::mt19937_64 random(seed);
    auto uniform = [&random](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    vesk::Basin basin;
    basin.area = uniform(0.01, 5.0);
    const double impervious = uniform(0.0, 1.0), dcif = uniform(0.0, 1.0), rpf = uniform(0.0, 1.0);
    basin.dcia = handbuilt::impervious(basin.area * impervious * dcif, uniform(0.0, 0.2));
    basin.uia = handbuilt::impervious(basin.area * impervious * (1.0 - dcif), uniform(0.0, 0.2));
    const double f0 = uniform(0.5, 6.0), fc = uniform(0.0, 1.0), k = uniform(0.0001, 0.005), storage = uniform(0.0, 0.5);
    basin.rpa = handbuilt::pervious(basin.area * (1.0 - impervious) * rpf, f0, fc, k, storage);
    basin.spa = handbuilt::pervious(basin.area * (1.0 - impervious) * (1.0 - rpf), f0, fc, k, storage);
    if (random() % 4 == 0) { // the SPA's curve differs from the RPA's in one parameter
        const uint64_t which = random() % 3;
        if (which == 0) basin.spa.initialInfiltrationRate = uniform(0.5, 6.0);
        if (which == 1) basin.spa.finalInfiltrationRate = uniform(0.0, 1.0);
        if (which == 2) basin.spa.infiltrationDecay = uniform(0.0001, 0.005);
    }
    vesk::formStepConstants(basin); // as preparation does
    basin.precip.timeStep = static_cast<int32_t>(1 + random() % 60);
    handbuilt::giveRing(basin, {uniform(0, 50), uniform(50, 500), uniform(100, 900), uniform(0, 300), uniform(0, 40)});
    return basin;
}

TEST(StepBitIdentity, RandomBasinsAndStormsGiveTheBitsOfTheWrittenFormulas) {
    std::mt19937_64 storms(20261208);
    for (uint64_t seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE(seed);
        vesk::Basin basin = randomBasin(seed);
        vesk::Basin reference = randomBasin(seed);
        WrittenConvolution convolution(reference.ring);
        const int steps = static_cast<int>(50 + storms() % 250);
        for (int step = 0; step < steps; ++step) {
            const uint64_t draw = storms();
            const double rain = draw % 3 == 0 ? 0.0 : std::ldexp(static_cast<double>(draw >> 11), -53) * 0.8;
            vesk::takeBasinStep(basin, rain);
            written::basinStep(reference, rain, convolution);
            ASSERT_EQ(std::memcmp(&basin.precip, &reference.precip, sizeof(PrecipState)), 0) << "step " << step;
            ASSERT_EQ(std::memcmp(&basin.ring.outflow, &reference.ring.outflow, sizeof(double)), 0) << "step " << step;
        }
        EXPECT_EQ(std::memcmp(&basin.lossVolume, &reference.lossVolume, sizeof(double)), 0);
        EXPECT_EQ(std::memcmp(&basin.runoffVolume, &reference.runoffVolume, sizeof(double)), 0);
        EXPECT_EQ(std::memcmp(&basin.peakOutflow, &reference.peakOutflow, sizeof(double)), 0);
        EXPECT_EQ(basin.peakTime, reference.peakTime);
    }
}

} // namespace
