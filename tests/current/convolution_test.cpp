// The ring convolution and the basin step built on it: outflow series against
// the discrete convolution, ring edge cases and peak tracking.
#include <cmath>
#include <random>
#include <vector>

#include "frame_test_support.h"
#include "hand_built_basin.h"
#include "simulation/basin_time_step.h"
#include "simulation/convolution_ring.h"

namespace {

std::vector<double> outflows(vesk::ConvolutionRing &ring, const std::vector<double> &excesses) {
    std::vector<double> result;
    for (double excess : excesses) result.push_back(vesk::advanceRing(ring, excess));
    return result;
}

TEST(RingConvolution, OutflowSeries) {
    struct Case {
        const char *what;
        std::initializer_list<double> ordinates;
        std::vector<double> excesses, expected;
    };
    const Case cases[] = {
        {"one unit excess traces the ordinates", {1, 2, 1}, {1, 0, 0, 0, 0}, {1, 2, 1, 0, 0}},
        {"two unit excesses overlap", {1, 2, 1}, {1, 1, 0, 0, 0, 0}, {1, 3, 3, 1, 0, 0}},
        {"a late excess wraps round the ring", {1, 2, 1}, {0, 0, 2, 0, 0, 0}, {0, 0, 2, 4, 2, 0}},
        {"a single ordinate scales each excess", {4}, {0.5, 0, 2, 1}, {2, 0, 8, 4}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        vesk::Basin basin;
        handbuilt::giveRing(basin, c.ordinates);
        EXPECT_EQ(outflows(basin.ring, c.excesses), c.expected);
        EXPECT_EQ(basin.ring.previousOutflow, c.expected[c.expected.size() - 2]);
    }
}

TEST(RingConvolution, RingWithoutOrdinatesGivesNoOutflow) {
    vesk::ConvolutionRing ring{};
    ring.outflow = 3.0;
    EXPECT_EQ(vesk::advanceRing(ring, 1.0), 0.0);
    EXPECT_EQ(ring.previousOutflow, 3.0);
    EXPECT_EQ(ring.convolutionPosition, 0);
}

// Over a long random series the ring gives the discrete convolution of the
// excess with the ordinates, and every slot it leaves behind holds only what
// the last excesses still owe.
TEST(RingConvolution, MatchesTheDiscreteConvolution) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    vesk::Basin basin;
    handbuilt::giveRing(basin, {0.5, 3.0, 7.25, 4.0, 2.0, 1.0, 0.25});
    const vesk::ConvolutionRing &ring = basin.ring;
    std::vector<double> excess;
    for (int k = 0; k < 500; ++k) {
        excess.push_back(unit(random) < 0.4 ? 0.0 : unit(random));
        const double outflow = vesk::advanceRing(basin.ring, excess.back());
        double expected = 0.0;
        for (int i = 0; i < ring.uhLength && i <= k; ++i) expected += ring.uhOrdinates[i] * excess[k - i];
        ASSERT_NEAR(outflow, expected, 1e-12) << "step " << k;
        ASSERT_EQ(ring.convolutionPosition, (k + 1) % ring.uhLength);
    }
}

class BasinStep : public FreshLibrary {};

TEST_F(BasinStep, ClockRainAndOutflowOfOneStep) {
    vesk::Basin basin = handbuilt::lossless(2.0, 5, {1, 2, 1});
    vesk::takeBasinStep(basin, 0.75);
    EXPECT_EQ(basin.precip.time, 5);
    EXPECT_EQ(basin.precip.stepRain, 0.75);
    EXPECT_EQ(basin.precip.stepExcess, 0.75);
    EXPECT_EQ(basin.ring.outflow, 0.75);
    vesk::takeBasinStep(basin, 0.0);
    EXPECT_EQ(basin.precip.time, 10);
    EXPECT_EQ(basin.ring.outflow, 1.5);
    EXPECT_EQ(basin.ring.previousOutflow, 0.75);
}

TEST_F(BasinStep, PeakStaysAtTheFirstOfEqualMaxima) {
    vesk::Basin basin = handbuilt::lossless(1.0, 5, {1, 1, 0.5});
    // Outflows 2, 2, 1, 0: the maximum is reached at 5 and again at 10.
    for (double rain : {2.0, 0.0, 0.0, 0.0}) vesk::takeBasinStep(basin, rain);
    EXPECT_EQ(basin.peakOutflow, 2.0);
    EXPECT_EQ(basin.peakTime, 5.0);
}

TEST_F(BasinStep, PeakFollowsARisingOutflowAndIgnoresNaN) {
    vesk::Basin basin = handbuilt::lossless(1.0, 10, {1, 2, 3});
    for (double rain : {1.0, 0.0, 0.0}) vesk::takeBasinStep(basin, rain);
    EXPECT_EQ(basin.peakOutflow, 3.0);
    EXPECT_EQ(basin.peakTime, 30.0);
    vesk::takeBasinStep(basin, std::nan(""));
    EXPECT_EQ(basin.peakOutflow, 3.0);
    EXPECT_EQ(basin.peakTime, 30.0);
}

} // namespace
