// Impervious and pervious fractions (DCIF, RPF, UIF, SPF), their coefficient
// tables and the effective impervious area.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "relations/impervious_fractions.h"
#include "veskdll133.h"

namespace {

constexpr double kFloor = 0.00001;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double justBelow(double x) { return std::nextafter(x, -kInf); }

TEST(RelationsFractions, CoefficientsAreWidenedFloats) {
    EXPECT_EQ(vesk_DCIFgetParam(1, 35.0, "b"), -0.019999999552965164);
    EXPECT_EQ(vesk_DCIFgetParam(0, 45.0, "b"), 0.6000000238418579);
    EXPECT_EQ(vesk_DCIFgetParam(1, 95.0, "b"), 0.19999000430107117);
    EXPECT_EQ(vesk_RPFgetParam(2, 15.0, "a"), static_cast<double>(0.6f));
}

struct LookupCase {
    int32_t level;
    double pct;
    const char *key;
    double dcif; // expected, as the float the table holds
    double rpf;
};

TEST(RelationsFractions, LookupSelectsBandLevelAndKey) {
    const LookupCase cases[] = {
        {1, 10.0, "a", 1.2f, 0.4f},       // a band edge takes the upper band
        {2, 40.0, "b", 0.0f, 0.27f},
        {0, justBelow(40.0), "a", 2.0f, 0.3f},
        {2, 100.0, "b", -1.00001f, 0.2f}, // 100 is in the last band
        {0, 0.0, "b", 0.0f, 0.0f},
        {1, 35.0, "abc", 1.3f, 0.4f},     // only the first character counts
        {1, 35.0, "A", 0.0, 0.0},         // upper case selects nothing
        {1, 35.0, "c", 0.0, 0.0},
        {1, 35.0, "", 0.0, 0.0},
        {1, 35.0, nullptr, 0.0, 0.0},
        {3, 35.0, "a", 0.0, 0.0},         // levels outside 0..2
        {-1, 35.0, "a", 0.0, 0.0},
        {0, 100.0001, "a", 0.0, 0.0},     // imperviousness outside 0..100
        {0, -1.0, "a", 0.0, 0.0},
        {0, kNaN, "a", 0.0, 0.0},
    };
    for (const LookupCase &c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << " pct " << c.pct << " key "
                                        << (c.key ? c.key : "(null)"));
        EXPECT_EQ(vesk_DCIFgetParam(c.level, c.pct, c.key), c.dcif);
        EXPECT_EQ(vesk_RPFgetParam(c.level, c.pct, c.key), c.rpf);
    }
}

TEST(RelationsFractions, FractionRelationsGiveTheWorkedValues) {
    EXPECT_EQ(vesk_calcDCIF(0, 100.0), 0.9999900162220001);
    EXPECT_NEAR(vesk_calcDCIF(1, 100.0), 0.99999, 1e-7);
    EXPECT_NEAR(vesk_calcDCIF(2, 100.0), 0.99999, 1e-7);
    EXPECT_NEAR(vesk_calcDCIF(0, 10.0), 0.2, 1e-7);
    EXPECT_NEAR(vesk_calcDCIF(0, 40.0), 0.8, 1e-7);
    EXPECT_NEAR(vesk_calcDCIF(0, 60.0), 0.9, 1e-7);
    EXPECT_NEAR(vesk_calcDCIF(0, justBelow(90.0)), 0.96, 1e-7);
    EXPECT_NEAR(vesk_calcDCIF(0, 90.0), 0.95999, 1e-7);
    EXPECT_NEAR(vesk_calcRPF(2, 10.0), 0.3, 1e-7);
    EXPECT_NEAR(vesk_calcRPF(2, 40.0), 0.47, 1e-7);
    EXPECT_NEAR(vesk_calcRPF(2, 100.0), 0.8, 1e-7);
    EXPECT_NEAR(vesk_calcRPF(0, 55.0), 0.25, 1e-7);
    EXPECT_EQ(vesk::dcifRelation(0, 100.0), vesk_calcDCIF(0, 100.0));
    EXPECT_EQ(vesk::rpfRelation(2, 55.0), vesk_calcRPF(2, 55.0));
}

// Every curve joins up at every band edge, except DCIF's step of 0.00001 at
// 90 %: this catches a mistyped coefficient anywhere in the tables.
TEST(RelationsFractions, CurvesAreContinuousAtBandEdges) {
    for (int32_t level = 0; level <= 2; ++level) {
        for (int edge = 10; edge <= 90; edge += 10) {
            SCOPED_TRACE(testing::Message() << "level " << level << " edge " << edge);
            const double step = edge == 90 ? -0.00001 : 0.0;
            EXPECT_NEAR(vesk_calcDCIF(level, edge) - vesk_calcDCIF(level, justBelow(edge)), step, 2e-7);
            EXPECT_NEAR(vesk_calcRPF(level, edge) - vesk_calcRPF(level, justBelow(edge)), 0.0, 2e-7);
        }
    }
}

TEST(RelationsFractions, OutsideTheTableTheFractionsAreTheFloor) {
    const struct {
        int32_t level;
        double pct;
    } cases[] = {{0, 0.0}, {1, 0.0}, {2, 0.0}, {0, 100.0001}, {1, -1.0},
                 {3, 50.0}, {-1, 50.0}, {0, kInf}, {0, kNaN}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << " pct " << c.pct);
        EXPECT_EQ(vesk_calcDCIF(c.level, c.pct), kFloor);
        EXPECT_EQ(vesk_calcRPF(c.level, c.pct), kFloor);
    }
}

TEST(RelationsFractions, ComplementsAreFlooredButNotCapped) {
    const struct {
        double fraction;
        double complement;
    } cases[] = {{0.99999, kFloor}, {1.5, kFloor}, {1.0, kFloor}, {-0.5, 1.5}, {0.25, 0.75}, {0.0, 1.0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.fraction);
        EXPECT_EQ(vesk_calcUIF(c.fraction), c.complement);
        EXPECT_EQ(vesk_calcSPF(c.fraction), c.complement);
    }
}

TEST(RelationsEffectiveImperviousArea, WorkedValues) {
    EXPECT_NEAR(vesk_calcEIA(0.5, 0.5, 50.0, 1.0, 0.5), 44.941218, 5e-7);
    EXPECT_DOUBLE_EQ(vesk_calcEIA(0.5, 0.5, 50.0, 1.0, 0.0), 50.0);
    EXPECT_DOUBLE_EQ(vesk_calcEIA(0.3, 0.7, 37.0, 2.0, 0.0), 37.0); // no infiltration: all counts
    // Only the ratio of infiltration to rainfall matters.
    EXPECT_DOUBLE_EQ(vesk_calcEIA(0.5, 0.5, 50.0, 4.0, 2.0), vesk_calcEIA(0.5, 0.5, 50.0, 1.0, 0.5));
}

TEST(RelationsEffectiveImperviousArea, ImperviousnessLimits) {
    EXPECT_EQ(vesk_calcEIA(0.5, 0.5, 0.0009, 1.0, 0.5), 0.0);
    EXPECT_EQ(vesk_calcEIA(0.5, 0.5, -5.0, 1.0, 0.5), 0.0);
    EXPECT_EQ(vesk_calcEIA(0.5, 0.5, 99.9995, 1.0, 0.5), 100.0);
    EXPECT_EQ(vesk_calcEIA(0.5, 0.5, 120.0, 1.0, 0.5), 100.0);
}

TEST(RelationsEffectiveImperviousArea, FractionsAreKeptInsideTheUnitInterval) {
    EXPECT_EQ(vesk_calcEIA(1.0, 0.5, 50.0, 1.0, 0.5), vesk_calcEIA(1.0 - kFloor, 0.5, 50.0, 1.0, 0.5));
    EXPECT_EQ(vesk_calcEIA(3.0, 0.5, 50.0, 1.0, 0.5), vesk_calcEIA(1.0 - kFloor, 0.5, 50.0, 1.0, 0.5));
    EXPECT_EQ(vesk_calcEIA(-1.0, 0.5, 50.0, 1.0, 0.5), vesk_calcEIA(kFloor, 0.5, 50.0, 1.0, 0.5));
    EXPECT_EQ(vesk_calcEIA(0.5, 0.0, 50.0, 1.0, 0.5), vesk_calcEIA(0.5, kFloor, 50.0, 1.0, 0.5));
    EXPECT_EQ(vesk_calcEIA(0.5, 1.0, 50.0, 1.0, 0.5), vesk_calcEIA(0.5, 1.0 - kFloor, 50.0, 1.0, 0.5));
    // rpf 0 still leaves a tiny receiving share: slightly below the full 50 %.
    EXPECT_LT(vesk_calcEIA(0.5, 0.0, 50.0, 1.0, 0.5), 50.0);
    EXPECT_GT(vesk_calcEIA(0.5, 0.0, 50.0, 1.0, 0.5), 49.999);
}

TEST(RelationsEffectiveImperviousArea, NoRainLeavesOnlyTheConnectedPart) {
    EXPECT_DOUBLE_EQ(vesk_calcEIA(0.4, 0.5, 50.0, 0.0, 0.5), 50.0 * 0.4);
}

} // namespace
