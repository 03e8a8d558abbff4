// The peaking coefficients: CT from the imperviousness, its small-area
// correction, the peaking parameter P and CP.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "relations/peaking_coefficients.h"
#include "relations/peaking_tables.h"
#include "veskdll133.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

double justBelow(double x) { return std::nextafter(x, -kInf); }

struct CurveCase {
    double pct;
    double expected;
};

TEST(RelationsPeaking, CtFromImperviousnessWorkedValues) {
    const CurveCase cases[] = {
        {0.0, 0.163},   {10.0, 0.1259},           {20.0, 0.1104}, {justBelow(40.0), 0.0932},
        {40.0, 0.09324}, {50.0, 0.0882},          {100.0, 0.0729},
        {-10.0, 0.2001}, // negative imperviousness uses the first band
        {150.0, 0.0741}, // above 100 the last band
    };
    for (const CurveCase &c : cases) {
        SCOPED_TRACE(c.pct);
        EXPECT_NEAR(vesk_calcCT_Cutoff(c.pct), c.expected, 1e-12);
        EXPECT_EQ(vesk::ctFromImperviousness(c.pct), vesk_calcCT_Cutoff(c.pct));
    }
    // At 10 the first band's formula gives the same value.
    EXPECT_NEAR(vesk_calcCT_Cutoff(justBelow(10.0)), 0.1259, 1e-12);
}

TEST(RelationsPeaking, PeakingParameterWorkedValues) {
    const CurveCase cases[] = {
        {0.0, 2.16}, {10.0, 2.285}, {justBelow(40.0), 5.6}, {40.0, 5.604}, {50.0, 7.065}, {100.0, 11.64},
    };
    for (const CurveCase &c : cases) {
        SCOPED_TRACE(c.pct);
        EXPECT_NEAR(vesk::peakingParameter(c.pct), c.expected, 1e-12);
        EXPECT_EQ(vesk_calcCP(c.pct, 1.0, 1.0), vesk::peakingParameter(c.pct)); // area 1, ct 1: P
    }
}

struct KeyCase {
    double pct;
    const char *key;
    double ct;
    double p;
};

TEST(RelationsPeaking, CoefficientLookupsReadTheFirstCharacterOnly) {
    const KeyCase cases[] = {
        {5.0, "c", 0.163, 2.16},      {5.0, "b", -0.00371, -0.012}, {10.0, "a", 0.000023, 0.00245},
        {40.0, "a", 0.0000033, -0.00091}, {45.0, "b", -0.000801, 0.228},
        {45.0, "cat", 0.12, -2.06},   {5.0, "d", 0.0, 0.0},          {5.0, "C", 0.0, 0.0},
        {5.0, "", 0.0, 0.0},          {5.0, nullptr, 0.0, 0.0},
    };
    for (const KeyCase &c : cases) {
        SCOPED_TRACE(testing::Message() << c.pct << " " << (c.key ? c.key : "(null)"));
        EXPECT_EQ(vesk_CTgetParam(c.pct, c.key), c.ct);
        EXPECT_EQ(vesk_CPgetParam(c.pct, 0.0, c.key), c.p);
        EXPECT_EQ(vesk_CPgetParam(c.pct, 123.0, c.key), c.p); // the second argument plays no part
    }
    // A value that is not a number falls in the last CT band.
    EXPECT_EQ(vesk_CTgetParam(std::nan(""), "c"), 0.12);
}

TEST(RelationsPeaking, SmallAreaCorrectionOfCt) {
    const struct {
        double ct;
        double area;
        double expected;
        double tolerance;
    } cases[] = {
        {0.1, 0.25, 0.1, 0.0},         // the limit itself is not corrected
        {0.1, 1.0, 0.1, 0.0},
        {0.1, std::nan(""), 0.1, 0.0},
        {0.1, 0.1, 0.1327130, 5e-8},
        {0.1, justBelow(0.25), 0.099897, 5e-7}, // joins the uncorrected value almost without a step
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.area);
        EXPECT_NEAR(vesk_calcCT(c.ct, c.area), c.expected, c.tolerance);
        EXPECT_EQ(vesk::smallAreaCorrectedCt(c.ct, c.area), vesk_calcCT(c.ct, c.area));
    }
    EXPECT_EQ(vesk_calcCT(0.1, 0.0), kInf);
    EXPECT_TRUE(std::isnan(vesk_calcCT(0.1, -0.1)));
}

TEST(RelationsPeaking, PeakCoefficient) {
    EXPECT_NEAR(vesk_calcCP(50.0, 2.0, 0.0882), 0.691409, 5e-7);
    EXPECT_EQ(vesk::peakCoefficient(50.0, 2.0, 0.0882), vesk_calcCP(50.0, 2.0, 0.0882));
    EXPECT_EQ(vesk_calcCP(50.0, 2.0, 0.0), 0.0);
    EXPECT_EQ(vesk_calcCP(50.0, 0.0, 0.0882), 0.0);
    EXPECT_EQ(vesk_calcCP(50.0, 1.0, 0.0882), vesk::peakingParameter(50.0) * 0.0882);
}

} // namespace
