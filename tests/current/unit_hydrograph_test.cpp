// The synthetic unit hydrograph: the three worked basins in full, the
// refusals, and the allocation failures.
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "exports/shared/library_state.h"
#include "frame_test_support.h"
#include "unithydrograph/hydrograph_curve.h"
#include "unithydrograph/unit_hydrograph.h"

namespace {

// A basin with given coefficients and every width and fraction left to the
// method.
struct Worked {
    vesk::HydrographGeometry geometry;
    double ct, cp;
    int32_t uhTimeStep;

    ShapeParameters shape() const {
        ShapeParameters s{};
        s.ct = ct;
        s.cp = cp;
        s.uhTimeStep = uhTimeStep;
        return s;
    }
};

constexpr Worked kSingleCubic{{1.0, 2.0, 1.0, 0.02}, 0.1, 0.5, 5};
constexpr Worked kFortyPercent{{0.5, 1.0, 0.5, 0.01}, 0.12, 0.3, 5};
constexpr Worked kRisingFallback{{1.0, 2.0, 1.0, 0.02}, 0.05, 1.0, 5};

class UnitHydrograph : public FreshLibrary {
protected:
    // The status as its public code: 0, 2 or 3.
    int build(const vesk::HydrographGeometry &g, ShapeParameters s) {
        shape = s;
        return static_cast<int>(vesk::buildUnitHydrograph(g, shape, summary, ring, vesk::OperationOrder::Current));
    }
    bool design(const Worked &w) {
        shape = w.shape();
        return vesk::designUnitHydrograph(w.geometry, shape, summary, vesk::OperationOrder::Current, curve);
    }
    std::vector<double> ordinates() const {
        return std::vector<double>(ring.uhOrdinates.get(), ring.uhOrdinates.get() + ring.uhLength);
    }
    ShapeParameters shape{};
    vesk::UnitHydrographSummary summary{};
    vesk::ConvolutionRing ring{};
    vesk::HydrographCurve curve{};
};

void expectOrdinates(const std::vector<double> &actual, const std::vector<double> &expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 0.05) << "ordinate " << i;
}

TEST_F(UnitHydrograph, SingleCubicBasinMatchesEveryWorkedFigure) {
    ASSERT_TRUE(design(kSingleCubic));
    const vesk::ShapePoints &p = curve.points;
    EXPECT_NEAR((summary.uhPeakTime - 2.5) / 60.0, 0.35665, 5e-6); // tp in hours
    EXPECT_NEAR(summary.unitPeakRate, 897.23, 0.005);
    EXPECT_EQ(summary.uhPeakRate, summary.unitPeakRate); // one square mile
    EXPECT_NEAR(summary.uhPeakTime, 23.899, 5e-4);
    EXPECT_NEAR(shape.width50, 33.436, 5e-4);
    EXPECT_NEAR(shape.width75, 17.387, 5e-4);
    EXPECT_EQ(shape.rise50Fraction, 0.35);
    EXPECT_EQ(shape.rise75Fraction, 0.45);
    EXPECT_NEAR(p.t50r, 12.197, 5e-4);
    EXPECT_NEAR(p.t75r, 16.075, 5e-4);
    EXPECT_NEAR(p.t75f, 33.462, 5e-4);
    EXPECT_NEAR(p.t50f, 45.633, 5e-4);
    EXPECT_EQ(p.volume, 38720.0);
    EXPECT_NEAR(curve.tailVolume, 13278.8, 0.05);
    EXPECT_NEAR(curve.tail.tMid, 72.542, 5e-4);
    EXPECT_NEAR(curve.tail.tEnd, 126.359, 5e-4);
    EXPECT_FALSE(curve.rising.fallback);
    EXPECT_FALSE(curve.peak.split);
    EXPECT_EQ(curve.count, 26);

    ASSERT_EQ(build(kSingleCubic.geometry, kSingleCubic.shape()), 0);
    expectOrdinates(ordinates(), {114.8, 331.7, 609.3, 845.7, 893.5, 797.0, 644.6, 552.4, 460.3,
                                  404.9, 354.9, 304.9, 254.9, 204.9, 171.2, 154.6, 137.9, 121.2,
                                  104.6, 87.9,  71.2,  54.5,  37.9,  21.2,  4.5,   0.0});
    double sum = 0.0;
    for (double q : ordinates()) sum += q;
    EXPECT_NEAR(sum * 5.0, 38702.0, 1.0);
    EXPECT_EQ(ring.convolutionPosition, 0);
    for (int32_t i = 0; i < ring.uhLength; ++i) EXPECT_EQ(ring.convolutionBuffer[i], 0.0);
    EXPECT_EQ(vesk_geterror(), VESK_OK);
}

TEST_F(UnitHydrograph, FortyPercentRuleMovesTheRisingPointsAndSplitsThePeak) {
    ASSERT_TRUE(design(kFortyPercent));
    const vesk::ShapePoints &p = curve.points;
    EXPECT_NEAR(summary.unitPeakRate, 738.95, 0.005);
    EXPECT_NEAR(summary.uhPeakRate, 369.47, 0.005);
    EXPECT_NEAR(p.tPeak, 18.090, 5e-4);
    EXPECT_EQ(p.t50r, 0.4 * p.tPeak);
    EXPECT_EQ(p.t75r, 0.576 * p.tPeak);
    EXPECT_NEAR(p.t50r, 7.236, 5e-4);
    EXPECT_NEAR(p.t75r, 10.420, 5e-4);
    EXPECT_NEAR(shape.rise50Fraction, 0.2673, 5e-5);
    EXPECT_NEAR(shape.rise75Fraction, 0.3633, 5e-5);
    EXPECT_FALSE(curve.rising.fallback);
    EXPECT_TRUE(curve.peak.split);
    EXPECT_EQ(curve.count, 31);

    ASSERT_EQ(build(kFortyPercent.geometry, kFortyPercent.shape()), 0);
    const std::vector<double> q = ordinates();
    ASSERT_EQ(q.size(), 31u);
    expectOrdinates({q.begin(), q.begin() + 6}, {108.7, 267.4, 354.5, 367.6, 345.1, 296.9});
    expectOrdinates({q.end() - 3, q.end()}, {9.0, 3.7, 0.0});
}

TEST_F(UnitHydrograph, RisingCubicThatDipsOnTheGridFallsBackToParabolaAndLine) {
    ASSERT_TRUE(design(kRisingFallback));
    const vesk::ShapePoints &p = curve.points;
    EXPECT_NEAR(p.qPeak, 3588.91, 0.005);
    EXPECT_NEAR(p.tPeak, 13.200, 5e-4);
    EXPECT_NEAR(p.t50r, 10.274, 5e-4);
    EXPECT_NEAR(p.t75r, 11.244, 5e-4);
    EXPECT_TRUE(curve.rising.fallback);
    EXPECT_NEAR(curve.rising.parabola, 17.0004, 5e-5);
    EXPECT_FALSE(curve.peak.split);
    EXPECT_EQ(curve.count, 7);

    ASSERT_EQ(build(kRisingFallback.geometry, kRisingFallback.shape()), 0);
    expectOrdinates(ordinates(), {425.0, 1700.0, 3045.9, 1482.1, 591.8, 210.9, 0.0});
}

TEST_F(UnitHydrograph, OneGivenWidthOrFractionIsDiscardedWithItsPartner) {
    ShapeParameters s = kSingleCubic.shape();
    s.width50 = 40.0; // width75 left 0: both derived
    s.rise75Fraction = 0.5; // rise50Fraction left 0: both defaulted
    ASSERT_EQ(build(kSingleCubic.geometry, s), 0);
    EXPECT_EQ(shape.width50, 500.0 / summary.unitPeakRate * 60.0);
    EXPECT_EQ(shape.width75, 260.0 / summary.unitPeakRate * 60.0);
    EXPECT_EQ(shape.rise50Fraction, 0.35);
    EXPECT_EQ(shape.rise75Fraction, 0.45);
}

TEST_F(UnitHydrograph, EarlierOperationOrderChangesOnlyTheLastBits) {
    ASSERT_EQ(build(kSingleCubic.geometry, kSingleCubic.shape()), 0);
    const std::vector<double> current = ordinates();
    shape = kSingleCubic.shape();
    ASSERT_EQ(vesk::buildUnitHydrograph(kSingleCubic.geometry, shape, summary, ring,
                                        vesk::OperationOrder::Earlier),
              vesk::Status::Ok);
    EXPECT_EQ(summary.unitRunoffVolume, 1.0 * 53.33333333333333);
    const std::vector<double> earlier = ordinates();
    ASSERT_EQ(earlier.size(), current.size());
    // 19 of the 26 ordinates differ, none by more than 2e-13 of its value
    // (the exact bits of both are in the golden tables).
    int differing = 0;
    for (std::size_t i = 0; i < current.size(); ++i) {
        if (earlier[i] != current[i]) ++differing;
        EXPECT_NEAR(earlier[i], current[i], 2e-13 * std::fabs(current[i])) << "ordinate " << i;
    }
    EXPECT_EQ(differing, 19);
}

// Inputs the method cannot build from: code 2 and no arrays, never a hang,
// a crash or an absurd allocation.
struct Refusal {
    const char *what;
    vesk::HydrographGeometry geometry;
    double ct, cp, width50, width75;
    int32_t uhTimeStep;
};

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

const Refusal kRefusals[] = {
    {"zero time step", {1, 2, 1, 0.02}, 0.1, 0.5, 0, 0, 0},
    {"negative time step", {1, 2, 1, 0.02}, 0.1, 0.5, 0, 0, -5},
    {"zero slope", {1, 2, 1, 0.0}, 0.1, 0.5, 0, 0, 5},
    {"negative slope", {1, 2, 1, -0.02}, 0.1, 0.5, 0, 0, 5},
    {"NaN slope", {1, 2, 1, kNaN}, 0.1, 0.5, 0, 0, 5},
    {"infinite area", {kInf, 2, 1, 0.02}, 0.1, 0.5, 0, 0, 5},
    {"NaN length", {1, kNaN, 1, 0.02}, 0.1, 0.5, 0, 0, 5},
    {"infinite centroid length", {1, 2, kInf, 0.02}, 0.1, 0.5, 0, 0, 5},
    {"NaN ct", {1, 2, 1, 0.02}, kNaN, 0.5, 0, 0, 5},
    {"infinite cp", {1, 2, 1, 0.02}, 0.1, kInf, 0, 0, 5},
    {"minus infinite width", {1, 2, 1, 0.02}, 0.1, 0.5, -kInf, 0, 5},
    {"NaN width", {1, 2, 1, 0.02}, 0.1, 0.5, 40, kNaN, 5},
    {"negative length: power of a negative lag", {1, -2, 1, 0.02}, 0.1, 0.5, 0, 0, 5},
    {"zero cp: infinite widths", {1, 2, 1, 0.02}, 0.1, 0.0, 0, 0, 5},
    {"absurd slope: peak far beyond ten weeks", {1, 2, 1, 1e-300}, 0.1, 0.5, 0, 0, 5},
    {"tail beyond 32-bit ordinate count", {1, 2, 1, 0.02}, 0.1, 1e-8, 10, 5, 1},
    {"tail ends within the first step", {1, 2, 1, 0.02}, 0.1, 0.5, 50, 25, 150},
    // tEnd is exactly 150: one ordinate, 0, as well.
    {"tail ends exactly at the first step", {2.43, 2, 1, 0.02}, 0.10459804077385809, 0.5, 50, 25, 150},
    {"zero area: no tail volume", {0, 2, 1, 0.02}, 0.1, 0.5, 0, 0, 5},
};

TEST_F(UnitHydrograph, RefusesWhatCannotBeBuiltWithCodeTwoAndNoArrays) {
    for (const Refusal &r : kRefusals) {
        SCOPED_TRACE(r.what);
        vesk::setErrorCode(VESK_OK);
        ShapeParameters s{};
        s.ct = r.ct;
        s.cp = r.cp;
        s.width50 = r.width50;
        s.width75 = r.width75;
        s.uhTimeStep = r.uhTimeStep;
        EXPECT_EQ(build(r.geometry, s), VESK_ERR_UH_FIT);
        EXPECT_EQ(vesk_geterror(), VESK_OK); // reported, not set: the export sets the code
        EXPECT_EQ(ring.uhOrdinates, nullptr);
        EXPECT_EQ(ring.convolutionBuffer, nullptr);
        EXPECT_EQ(ring.uhLength, 0);
    }
}

// No curve may reach beyond 100,000 minutes: the worst records of a fuzzing
// run (a slope of 1e-36 built 1.3 billion ordinates, 20 GB, with code 0;
// coefficients, widths and slope of 1e6 walked the rising-limb check for
// seconds) are refused before any array is asked for, so an allocation made
// to fail would show as code 3.
TEST_F(UnitHydrograph, CurvesReachingBeyondTenWeeksAreRefusedBeforeAnyAllocation) {
    struct Slow {
        const char *what;
        vesk::HydrographGeometry geometry;
        double ct, cp, width50, width75;
        int32_t uhTimeStep;
    };
    const Slow cases[] = {
        {"slope 1e-36", {1, 2, 1, 1e-36}, 0.1, 0.5, 0, 0, 1},
        {"coefficients, widths and slope of a million", {1, 1, 1, 1e6}, 1e6, 1e6, 1e6, 1e6, 1},
        {"widths of a million on a quick basin", {1, 2, 1, 0.02}, 0.1, 0.5, 1e6, 1e6, 1},
        {"tail just beyond the limit", {1, 2, 1, 0.02}, 79.3, 0.5, 0, 0, 1},
    };
    for (const Slow &c : cases) {
        SCOPED_TRACE(c.what);
        ShapeParameters s{};
        s.ct = c.ct;
        s.cp = c.cp;
        s.width50 = c.width50;
        s.width75 = c.width75;
        s.uhTimeStep = c.uhTimeStep;
        vesk::failAllocationNumber(1);
        EXPECT_EQ(build(c.geometry, s), VESK_ERR_UH_FIT);
        vesk::failAllocationNumber(0);
        EXPECT_EQ(ring.uhOrdinates, nullptr);
    }
    // Just inside the limit at a one-minute step: built, under 100,000
    // ordinates, so the two arrays stay below 1.6 MB.
    ShapeParameters s{};
    s.ct = 79.2;
    s.cp = 0.5;
    s.uhTimeStep = 1;
    ASSERT_EQ(build({1, 2, 1, 0.02}, s), 0);
    EXPECT_GT(ring.uhLength, 99000);
    EXPECT_LE(ring.uhLength, 100000);
}

TEST_F(UnitHydrograph, WidthsHoldingTheWholeInchLeaveNoTail) {
    ShapeParameters s = kSingleCubic.shape();
    s.width50 = 400.0;
    s.width75 = 200.0;
    EXPECT_EQ(build(kSingleCubic.geometry, s), VESK_ERR_UH_FIT);
    EXPECT_EQ(ring.uhOrdinates, nullptr);
}

TEST_F(UnitHydrograph, EitherArrayFailingLeavesCodeThreeAndNothingAllocated) {
    for (int failing : {1, 2}) {
        SCOPED_TRACE(failing);
        vesk::setErrorCode(VESK_OK);
        vesk::failAllocationNumber(failing);
        EXPECT_EQ(build(kSingleCubic.geometry, kSingleCubic.shape()), VESK_ERR_NO_MEMORY);
        EXPECT_EQ(vesk_geterror(), VESK_OK); // reported, not set: the export sets the code
        EXPECT_EQ(ring.uhOrdinates, nullptr);
        EXPECT_EQ(ring.convolutionBuffer, nullptr);
        vesk::failAllocationNumber(0);
    }
}

} // namespace
