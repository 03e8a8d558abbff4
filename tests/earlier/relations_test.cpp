// The earlier level's relations: coarse DCIF and RPF lines without a floor,
// the effective imperviousness of level 2, and CT and CP from the
// imperviousness.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "earlier/parameter_defaults.h"
#include "earlier/relations.h"
#include "veskdll.h"

namespace {

struct EiaCase {
    int32_t level;
    double imperviousPct;
    double expected;
};

TEST(EarlierRelations, EffectiveImperviousnessAdjustsOnlyLevelTwo) {
    const EiaCase cases[] = {
        {2, 0.0, 1.5},       {2, 10.0, 7.0},     {2, 19.999, 12.49945}, {2, 20.0, 13.5},
        {2, 29.99, 21.9915}, {2, 30.0, 21.145},  {2, 50.0, 43.575},     {2, -10.0, -4.0},
        {0, 37.5, 37.5},     {1, 37.5, 37.5},    {3, 37.5, 37.5},       {-1, 250.0, 250.0},
    };
    for (const EiaCase &c : cases)
        EXPECT_NEAR(vesk_calcEIA(c.level, c.imperviousPct), c.expected, 1e-6) << c.level << " " << c.imperviousPct;
    // The float coefficients show in the last digits.
    EXPECT_DOUBLE_EQ(vesk_calcEIA(2, 100.0), 99.6500015258789);
    EXPECT_EQ(vesk_calcEIA(0, 37.5), 37.5);
}

struct KeyCase {
    int32_t level;
    double imperviousPct;
    const char *key;
    double expected;
};

TEST(EarlierRelations, EffectiveImperviousnessCoefficientsAreLevelTwoFloats) {
    const KeyCase cases[] = {
        {2, 25.0, "a", static_cast<double>(0.7f)}, {2, 25.0, "b", -7.0},
        {2, 5.0, "a", static_cast<double>(0.1f)},  {2, 5.0, "b", 3.0},
        {2, 30.0, "a", 1.2430000305175781},        {2, 300.0, "b", -25.0},
        {2, -5.0, "b", 3.0},                       {2, 25.0, "alpha", static_cast<double>(0.7f)},
        {1, 25.0, "a", 0.0},                       {0, 25.0, "b", 0.0},
        {2, 25.0, "c", 0.0},                       {2, 25.0, "A", 0.0},
        {2, 25.0, "", 0.0},                        {2, 25.0, nullptr, 0.0},
    };
    for (const KeyCase &c : cases)
        EXPECT_EQ(vesk_getEIAParam(c.level, c.imperviousPct, c.key), c.expected)
            << c.level << " " << c.imperviousPct << " " << (c.key ? c.key : "(null)");
}

TEST(EarlierRelations, FractionCoefficientsFollowTheCoarseBands) {
    const KeyCase dcif[] = {
        {0, 39.9, "a", 2.0},  {0, 40.0, "a", 0.5},  {0, 40.0, "b", static_cast<double>(0.6f)},
        {0, 80.0, "a", 0.0},  {0, 80.0, "b", 1.0},  {0, -20.0, "a", 2.0},
        {1, 79.9, "a", 1.25}, {1, 80.0, "b", 1.0},  {1, 150.0, "a", 0.0},
        {2, 79.9, "a", 0.5},  {2, 80.0, "a", 6.0},  {2, 85.0, "b", static_cast<double>(-4.4f)},
        {2, 90.0, "b", 1.0},  {3, 50.0, "a", 0.0},  {-1, 50.0, "b", 0.0},
        {0, 50.0, "c", 0.0},  {0, 50.0, "B", 0.0},  {0, 50.0, nullptr, 0.0},
    };
    for (const KeyCase &c : dcif)
        EXPECT_EQ(vesk_DCIFgetParam(c.level, c.imperviousPct, c.key), c.expected)
            << "DCIF " << c.level << " " << c.imperviousPct << " " << (c.key ? c.key : "(null)");

    const KeyCase rpf[] = {
        {0, -50.0, "a", static_cast<double>(0.35f)}, {0, 500.0, "b", static_cast<double>(0.05f)},
        {1, 39.9, "a", 0.625},                       {1, 40.0, "a", 1.0},
        {1, 40.0, "b", static_cast<double>(-0.1f)},  {2, 39.9, "b", static_cast<double>(0.1f)},
        {2, 40.0, "a", static_cast<double>(0.8f)},   {2, 89.9, "b", static_cast<double>(0.28f)},
        {2, 90.0, "a", 0.0},                         {2, 90.0, "b", 1.0},
        {3, 50.0, "a", 0.0},                         {1, 50.0, "", 0.0},
    };
    for (const KeyCase &c : rpf)
        EXPECT_EQ(vesk_RPFgetParam(c.level, c.imperviousPct, c.key), c.expected)
            << "RPF " << c.level << " " << c.imperviousPct << " " << (c.key ? c.key : "(null)");
}

struct FractionCase {
    int32_t level;
    double imperviousPct;
    double dcif;
    double rpf;
};

TEST(EarlierRelations, FractionsAreStraightLinesWithoutFloorOrCeiling) {
    const FractionCase cases[] = {
        {0, 0.0, 0.0, 0.05},    {0, 20.0, 0.4, 0.12},  {0, 60.0, 0.9, 0.26},  {0, 100.0, 1.0, 0.4},
        {0, 110.0, 1.0, 0.435}, {1, 0.0, 0.0, 0.05},   {1, 40.0, 0.5, 0.3},   {1, 100.0, 1.0, 0.9},
        {2, 0.0, 0.0, 0.1},     {2, 50.0, 0.25, 0.68}, {2, 85.0, 0.7, 0.96},  {2, 95.0, 1.0, 1.0},
        {3, 50.0, 0.0, 0.0},    {-1, 50.0, 0.0, 0.0},  {0, -10.0, -0.2, 0.015},
    };
    for (const FractionCase &c : cases) {
        EXPECT_NEAR(vesk_calcDCIF(c.level, c.imperviousPct), c.dcif, 1e-6) << c.level << " " << c.imperviousPct;
        EXPECT_NEAR(vesk_calcRPF(c.level, c.imperviousPct), c.rpf, 1e-6) << c.level << " " << c.imperviousPct;
        EXPECT_NEAR(vesk_calcUIF(c.level, c.imperviousPct), 1.0 - c.dcif, 1e-6);
        EXPECT_NEAR(vesk_calcSPF(c.level, c.imperviousPct), 1.0 - c.rpf, 1e-6);
    }
    // Where DCIF is exactly 1 the unconnected share is exactly 0, not a floor.
    EXPECT_EQ(vesk_calcDCIF(0, 80.0), 1.0);
    EXPECT_EQ(vesk_calcDCIF(1, 80.0), 1.0);
    EXPECT_EQ(vesk_calcDCIF(2, 90.0), 1.0);
    EXPECT_EQ(vesk_calcUIF(1, 100.0), 0.0);
    EXPECT_EQ(vesk_calcDCIF(1, 0.0), 0.0);
    // Out-of-range levels: 0 from the relations, 1 from the complements.
    EXPECT_EQ(vesk_calcDCIF(5, 50.0), 0.0);
    EXPECT_EQ(vesk_calcSPF(5, 50.0), 1.0);
}

// Preparation's default lines are written differently from the relations but
// must agree with them over 0..100 % once both are limited to 1.
TEST(EarlierRelations, PreparationDefaultsAgreeWithTheRelations) {
    for (int32_t level = 0; level <= 2; ++level) {
        for (double pct = 0.0; pct <= 100.0; pct += 0.25) {
            EXPECT_NEAR(std::fmin(vesk::earlier::defaultDcif(level, pct), 1.0),
                        std::fmin(vesk_calcDCIF(level, pct), 1.0), 1e-6)
                << level << " " << pct;
            EXPECT_NEAR(std::fmin(vesk::earlier::defaultRpf(level, pct), 1.0),
                        std::fmin(vesk_calcRPF(level, pct), 1.0), 1e-6)
                << level << " " << pct;
        }
    }
    // A level outside the tables takes level 0's lines.
    EXPECT_EQ(vesk::earlier::defaultDcif(7, 30.0), vesk::earlier::defaultDcif(0, 30.0));
    EXPECT_EQ(vesk::earlier::defaultRpf(-1, 70.0), vesk::earlier::defaultRpf(0, 70.0));
}

TEST(EarlierRelations, CtAndCpComeFromTheImperviousness) {
    // CT(50 %) = 0.0882; below 0.25 sq mi it is corrected by 0.65 area^-0.31.
    EXPECT_NEAR(vesk_calcCT(50.0, 1.0), 0.0882, 1e-12);
    EXPECT_NEAR(vesk_calcCT(50.0, 0.25), 0.0882, 1e-12);
    EXPECT_NEAR(vesk_calcCT(50.0, 0.1), 0.0882 * 1.327130, 1e-7);
    EXPECT_NEAR(vesk_calcCT(0.0, 10.0), 0.163, 1e-12);
    // CP = P * area^0.15 * CT with the uncorrected CT, whatever the area.
    EXPECT_NEAR(vesk_calcCP(50.0, 2.0), 0.691409, 1e-6);
    EXPECT_NEAR(vesk_calcCP(50.0, 1.0), 7.065 * 0.0882, 1e-12);
    EXPECT_NEAR(vesk_calcCP(50.0, 0.1) / std::pow(0.1, 0.15), 7.065 * 0.0882, 1e-12);
    EXPECT_NEAR(vesk_calcCP(100.0, 1.0), 11.64 * 0.0729, 1e-12);
}

} // namespace
