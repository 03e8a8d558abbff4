// Runoff coefficients, flow-path lengths, flow times, time of concentration,
// conveyance coefficient, rainfall intensity and linear interpolation.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "veskdll133.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct SoilCase {
    const char *group;
    int32_t returnPeriod;
    double pct;
    double expected;
};

std::string describe(const SoilCase &c) {
    return testing::PrintToString(c.group ? c.group : "(null)") + " T" +
           std::to_string(c.returnPeriod) + " at " + std::to_string(c.pct);
}

TEST(RelationsRunoff, CoefficientsAreSinglePrecision) {
    EXPECT_EQ(vesk_runoffCoeffCorr("A", 5, 0.0), 0.09000000357627869);
    EXPECT_EQ(vesk_runoffCoeffCorr("C", 100, 0.0), static_cast<double>(0.46f));
    EXPECT_EQ(vesk_runoffCoeff("C", 5, 0.0), static_cast<double>(0.11f) + static_cast<double>(0.04f));
}

// The worked values hold to single precision (a couple of float steps).
TEST(RelationsRunoff, CheckValues) {
    const SoilCase cases[] = {
        {"A", 10, 50.0, 0.35},    {"C", 10, 50.0, 0.45775}, {"D", 10, 50.0, 0.45775},
        {"B", 10, 50.0, 0.403875}, {"A", 2, 50.0, 0.25},     {"C", 2, 50.0, 0.33775},
        {"A", 100, 100.0, 0.945}, {"C", 100, 100.0, 0.956}, {"B", 100, 100.0, 0.9505},
        {"C", 5, 0.0, 0.15},      {"B", 5, 0.0, 0.075},     // B: A limited at 0, C 0.15
        {"A", 5, 0.0, 0.0},       // 0.09 - 0.12 is negative: limited at 0
        {"A", 2, 0.0, 0.0},       // the plain polynomial, limited at 0
        {"Dirt", 10, 50.0, 0.45775}, // only the first character counts
        {"a", 10, 50.0, 0.0},     {"c", 10, 50.0, 0.0},     {"E", 10, 50.0, 0.0},
        {"", 10, 50.0, 0.0},      {nullptr, 10, 50.0, 0.0},
    };
    for (const SoilCase &c : cases) {
        SCOPED_TRACE(describe(c));
        EXPECT_NEAR(vesk_runoffCoeff(c.group, c.returnPeriod, c.pct), c.expected, 2e-7);
    }
}

TEST(RelationsRunoff, CorrectionNeedsAGroupAndAPeriodOfTheTable) {
    const SoilCase cases[] = {
        {"A", 10, 50.0, 0.10}, {"C", 10, 50.0, 0.12}, {"D", 10, 50.0, 0.12}, {"Dx", 10, 50.0, 0.12},
        {"A", 2, 50.0, 0.0},   {"A", 2, 0.0, 0.0},    {"C", 0, 50.0, 0.0},   {"C", -5, 50.0, 0.0},
        {"B", 10, 50.0, 0.0},  {"a", 10, 50.0, 0.0},  {"", 10, 50.0, 0.0},   {nullptr, 10, 50.0, 0.0},
    };
    for (const SoilCase &c : cases) {
        SCOPED_TRACE(describe(c));
        EXPECT_NEAR(vesk_runoffCoeffCorr(c.group, c.returnPeriod, c.pct), c.expected, 1e-7);
    }
}

TEST(RelationsRunoff, SoilCIsNotLimitedBelow) {
    // Far above 100 % the C cubic turns negative and is returned as it is.
    EXPECT_LT(vesk_runoffCoeff("C", 2, -100.0), 0.0);
    EXPECT_EQ(vesk_runoffCoeff("A", 2, -100.0), 0.0);
}

TEST(RelationsFlowPath, LengthsSplitAtTheCutOff) {
    EXPECT_EQ(vesk_maxLengthCutoff(0.0), 500.0);
    EXPECT_NEAR(vesk_maxLengthCutoff(20.0), 248.292652, 5e-7);
    EXPECT_EQ(vesk_calcOverlandLen(800.0, 300.0), 300.0);
    EXPECT_EQ(vesk_calcOverlandLen(200.0, 300.0), 200.0);
    EXPECT_EQ(vesk_calcOverlandLen(300.0, 300.0), 300.0);
    EXPECT_EQ(vesk_calcChannelLen(800.0, 300.0), 500.0);
    EXPECT_EQ(vesk_calcChannelLen(300.0, 300.0), 0.0);
    EXPECT_EQ(vesk_calcChannelLen(200.0, 300.0), 0.0);
}

TEST(RelationsFlowTimes, OverlandAndTravelTimes) {
    EXPECT_DOUBLE_EQ(vesk_initialFlowTime(0.1, 100.0, 1.0, 0.0), 3.95);
    EXPECT_NEAR(vesk_initialFlowTime(0.5, 400.0, 2.0, 0.0), 0.395 * 0.6 * 20.0 / std::pow(2.0, 0.33), 1e-12);
    EXPECT_EQ(vesk_initialFlowTime(0.5, 400.0, 2.0, 99.0), vesk_initialFlowTime(0.5, 400.0, 2.0, -7.0));
    EXPECT_EQ(vesk_flowTravelTime(600.0, 5.0, 0.0), 2.0);
    EXPECT_EQ(vesk_flowTravelTime(600.0, 5.0, 42.0), 2.0);
}

TEST(RelationsFlowTimes, GuardedDivisionsGiveZero) {
    EXPECT_EQ(vesk_initialFlowTime(0.5, 400.0, 0.0, 0.0), 0.0);
    EXPECT_EQ(vesk_initialFlowTime(0.5, 400.0, -0.0, 0.0), 0.0);
    EXPECT_EQ(vesk_flowTravelTime(600.0, 0.0, 0.0), 0.0);
    EXPECT_EQ(vesk_flowTravelTime(600.0, -0.0, 0.0), 0.0);
    // Unguarded: a negative slope has no real power.
    EXPECT_TRUE(std::isnan(vesk_initialFlowTime(0.5, 400.0, -1.0, 0.0)));
}

TEST(RelationsFlowTimes, TimeOfConcentrationLimits) {
    EXPECT_EQ(vesk_calcMinTc(0.0), 10.0);
    EXPECT_EQ(vesk_calcMinTc(25.0), 10.0);
    EXPECT_EQ(vesk_calcMinTc(25.0001), 5.0);
    EXPECT_EQ(vesk_calcRegionalTc(1800.0), 20.0);
    EXPECT_EQ(vesk_calcRegionalTc(0.0), 10.0);

    const struct {
        double initial, travel, minimum, regional, pct, expected;
    } cases[] = {
        {10, 20, 5, 15, 25, 15}, // regional limit applies up to 25 %
        {10, 20, 5, 15, 30, 30}, // not above
        {1, 2, 5, 15, 30, 5},    // the minimum
        {1, 2, 5, 15, 10, 5},
        {10, 20, 40, 15, 25, 40}, // the minimum wins over the regional limit
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.initial << "+" << c.travel << " at " << c.pct);
        EXPECT_EQ(vesk_calcTc(c.initial, c.travel, c.minimum, c.regional, c.pct), c.expected);
    }
}

TEST(RelationsConveyance, PiecewiseInImperviousness) {
    const struct {
        double pct, expected;
    } cases[] = {{-0.1, 0.0}, {0.0, 13.0 / 3.0}, {12.5, 11.0}, {20.0, 15.0}, {30.0, 17.5},
                 {40.0, 20.0}, {99.9, 20.0}, {100.0, 0.0}, {150.0, 0.0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pct);
        EXPECT_DOUBLE_EQ(vesk_calcConvCoeff(c.pct), c.expected);
    }
}

TEST(RelationsIntensity, PowerOfTheSumDividesTheProduct) {
    EXPECT_EQ(vesk_calcIntensity(2.0, 1.0, 3.0, 3.0, 0.5), 3.0);
    EXPECT_EQ(vesk_calcIntensity(2.0, 1.0, 3.0, 3.0, 0.0), 6.0);
    EXPECT_EQ(vesk_calcIntensity(2.0, 0.0, 3.0, 0.0, 0.8), kInf); // unguarded zero base
}

TEST(RelationsInterpolation, LineThroughTwoPoints) {
    EXPECT_EQ(vesk_linterp(7.0, 5.0, 15.0, 20.0, 5.0), 7.0);
    EXPECT_EQ(vesk_linterp(7.0, 5.0, 15.0, 20.0, 20.0), 15.0);
    EXPECT_EQ(vesk_linterp(0.0, 0.0, 10.0, 10.0, 25.0), 25.0); // extrapolates
    EXPECT_EQ(vesk_linterp(4.0, 0.0, 2.0, 2.0, 1.0), 3.0);
    EXPECT_TRUE(std::isnan(vesk_linterp(1.0, 2.0, 3.0, 2.0, 2.0))); // equal abscissae: unguarded
}

} // namespace
