// The lumped loss step carries the Horton rate at a step's end into the next
// step instead of evaluating it again, and the convolution skips the spread
// of a step without excess.  The step as first written, both rates evaluated
// and the excess spread in every step, is kept here; random basins stepped
// through random storms must give the same bits in every field of the step
// block and the outflow.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>
#include <random>
#include <utility>

#include "base/elementary_functions.h"
#include "earlier/basin_time_step.h"
#include "earlier/lumped_loss_step.h"
#include "simulation/convolution_ring.h"
#include "../written_convolution.h"

namespace {

namespace written {

double hortonRate(const vesk::Basin &basin, double minutes) {
    const double f0 = basin.initialInfiltrationRate;
    const double fc = basin.finalInfiltrationRate;
    return fc + (f0 - fc) * vesk::correctlyRoundedExp(-basin.infiltrationDecay * (60.0 * minutes));
}

double stepInfiltration(const vesk::Basin &basin, double clock, double stepMinutes, double rain) {
    if (clock < stepMinutes || basin.infiltrationDecay <= 0.0) return 0.0;
    const double capacity =
        0.5 * (hortonRate(basin, clock - stepMinutes) + hortonRate(basin, clock)) * stepMinutes * (1.0 / 60.0);
    return capacity > rain ? rain : capacity;
}

double fillStorage(double &storage, double capacity, double input, double deduction) {
    const double added = input - deduction;
    storage = storage + (added > 0.0 ? added : 0.0);
    if (storage > capacity) {
        const double overflow = storage - capacity;
        storage = capacity;
        return overflow;
    }
    return 0.0;
}

double basinStep(vesk::Basin &basin, double rain, WrittenConvolution &convolution) {
    StepState &s = basin.step;
    const double stepMinutes = static_cast<double>(basin.shape.uhTimeStep);
    s.clock = s.clock + stepMinutes;
    s.reserved = 0.0;
    s.infiltration = stepInfiltration(basin, s.clock, stepMinutes, rain);
    const double overflow = fillStorage(s.imperviousStorage, basin.imperviousDepressionStorage, rain, 0.0);
    s.imperviousLoss = 0.05 * overflow;
    s.imperviousExcess = overflow - 0.05 * overflow;
    const double perviousShare = (100.0 - basin.imperviousPct) * 0.01;
    const double imperviousShare = 1.0 - perviousShare;
    s.runOn = (1.0 - basin.dcif) * imperviousShare * s.imperviousExcess;
    s.dciaExcess = basin.dcif * imperviousShare * s.imperviousExcess;
    s.spaOverflow = fillStorage(s.spaStorage, basin.perviousDepressionStorage, rain, s.infiltration);
    s.spaExcess = perviousShare * (s.spaOverflow * (1.0 - basin.rpf));
    s.rpaOverflow = fillStorage(s.rpaStorage, basin.perviousDepressionStorage, rain + s.runOn, s.infiltration);
    s.rpaExcess = perviousShare * s.rpaOverflow * basin.rpf;
    s.stepExcess = (s.rpaExcess + s.dciaExcess) + s.spaExcess;
    return convolution.advance(s.stepExcess);
}

} // namespace written

vesk::Basin randomBasin(uint64_t seed) {
    std::mt19937_64 random(seed);
    auto uniform = [&random](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    vesk::Basin basin;
    basin.imperviousPct = uniform(0.0, 100.0);
    basin.dcif = uniform(0.0, 1.0);
    basin.rpf = uniform(0.0, 1.0);
    basin.perviousDepressionStorage = uniform(0.0, 0.5);
    basin.imperviousDepressionStorage = uniform(0.0, 0.2);
    basin.initialInfiltrationRate = uniform(0.5, 6.0);
    basin.finalInfiltrationRate = uniform(0.0, 1.0);
    basin.infiltrationDecay = random() % 8 == 0 ? 0.0 : uniform(0.0001, 0.005);
    basin.shape.uhTimeStep = static_cast<int32_t>(1 + random() % 60);
    std::optional<vesk::ConvolutionRing> ring = vesk::ConvolutionRing::withLength(4);
    for (int i = 0; i < 4; ++i) ring->uhOrdinates[i] = uniform(0.0, 600.0);
    basin.ring = std::move(*ring);
    return basin;
}

TEST(EarlierStepBitIdentity, RandomBasinsAndStormsGiveTheBitsOfTheWrittenFormulas) {
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
            const double outflow = vesk::earlier::takeBasinStep(basin, rain);
            const double expected = written::basinStep(reference, rain, convolution);
            ASSERT_EQ(std::memcmp(&basin.step, &reference.step, sizeof(StepState)), 0) << "step " << step;
            ASSERT_EQ(std::memcmp(&outflow, &expected, sizeof(double)), 0) << "step " << step;
        }
    }
}

} // namespace
