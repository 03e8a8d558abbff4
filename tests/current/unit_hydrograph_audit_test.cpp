// Boundaries where one comparison written the other way round would change
// results silently: which piece of the hydrograph answers at each of its
// break times, the ten-digit third in the rising slope, and the partition's
// strict threshold.
#include <cstdint>
#include <string>

#include "exports/shared/library_state.h"
#include "frame_test_support.h"
#include "registry/basin_registry.h"
#include "unithydrograph/hydrograph_curve.h"

namespace {

// A curve whose pieces each give a value of their own, with break times
// t50r 2, t75r 4, Tp 6, t75f 8, t50f 10, tMid 12, tEnd 14.
vesk::HydrographCurve taggedCurve(bool risingFallback, bool splitPeak) {
    vesk::HydrographCurve c;
    c.rising.fallback = risingFallback;
    c.rising.t50r = 2.0;
    c.rising.t75r = 4.0;
    c.rising.cubic = vesk::Cubic{10.0, 0.0, 0.0, 0.0};
    c.rising.parabola = 1.0; // t²
    c.rising.line = vesk::Line{20.0, 0.0};
    c.peak.split = splitPeak;
    c.peak.t75r = 4.0;
    c.peak.tPeak = 6.0;
    c.peak.t75f = 8.0;
    c.peak.cubic = vesk::Cubic{30.0, 0.0, 0.0, 0.0};
    c.peak.before = vesk::Quadratic{31.0, 0.0, 0.0};
    c.peak.after = vesk::Quadratic{32.0, 0.0, 0.0};
    c.points.t50r = 2.0;
    c.points.t75r = 4.0;
    c.points.tPeak = 6.0;
    c.points.t75f = 8.0;
    c.points.t50f = 10.0;
    c.falling = vesk::Line{40.0, 0.0};
    c.tail.first = vesk::Line{50.0, 0.0};
    c.tail.second = vesk::Line{60.0, 0.0};
    c.tail.tMid = 12.0;
    c.tail.tEnd = 14.0;
    return c;
}

TEST(HydrographPieces, EachBreakTimeBelongsToTheRightPiece) {
    struct Case {
        const char *what;
        bool fallback, split;
        double t, expected;
    };
    const Case cases[] = {
        {"cubic rise just before t75r", false, false, 3.9, 10.0},
        {"cubic rise stops before t75r", false, false, 4.0, 30.0},
        {"fallback parabola includes t50r", true, false, 2.0, 4.0},
        {"fallback line beyond t50r", true, false, 2.5, 20.0},
        {"fallback line includes t75r", true, false, 4.0, 20.0},
        {"peak after the fallback line", true, false, 4.5, 30.0},
        {"single peak cubic at Tp", false, false, 6.0, 30.0},
        {"split: first half before Tp", false, true, 5.9, 31.0},
        {"split: second half from Tp on", false, true, 6.0, 32.0},
        {"split: second half before t75f", false, true, 7.9, 32.0},
        {"falling line from t75f", false, true, 8.0, 40.0},
        {"falling line from t75f after a single cubic", false, false, 8.0, 40.0},
        {"first tail segment from t50f", false, false, 10.0, 50.0},
        {"second tail segment from tMid", false, false, 12.0, 60.0},
        {"second tail segment before tEnd", false, false, 13.9, 60.0},
        {"nothing from tEnd on", false, false, 14.0, 0.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(taggedCurve(c.fallback, c.split).value(c.t), c.expected);
    }
}

TEST(HydrographPieces, RisingSlopeUsesTheTenDigitThird) {
    // The first worked basin: widths and fractions left to the method.
    const vesk::HydrographGeometry geometry{1.0, 2.0, 1.0, 0.02};
    ShapeParameters shape{};
    shape.ct = 0.1;
    shape.cp = 0.5;
    shape.uhTimeStep = 5;
    vesk::UnitHydrographSummary summary{};
    vesk::HydrographCurve curve;
    ASSERT_TRUE(vesk::designUnitHydrograph(geometry, shape, summary, vesk::OperationOrder::Current, curve));
    ASSERT_FALSE(curve.rising.fallback);
    const vesk::ShapePoints &p = curve.points;
    const double secants = p.q50 / p.t50f + p.q75 / p.t75f;
    // The unit leading rows hand the slope condition through unchanged.
    EXPECT_EQ(curve.rising.cubic.c0, 0.0);
    EXPECT_EQ(curve.rising.cubic.c1, secants * 0.3333333333);
    EXPECT_NE(curve.rising.cubic.c1, secants / 3.0);
}

class PartitionThreshold : public FreshLibrary {
protected:
    void SetUp() override {
        FreshLibrary::SetUp();
        openReady();
    }
};

// Each case puts one tested product exactly on 0.00001: the comparisons are
// strict, so nothing snaps and the record keeps its values.
TEST_F(PartitionThreshold, AProductExactlyOnTheFloorDoesNotSnap) {
    struct Case {
        const char *what;
        double area, imperviousPct, dcif, rpf;
        // the record afterwards
        double imperviousPct2, dcif2, rpf2;
    };
    const Case cases[] = {
        // area × imperviousPct / 100 = 0.00001: an impervious part remains,
        // so only its tiny dcif share snaps.
        {"impervious part on the floor", 1.0, 0.001, 0.5, 0.5, 0.001, 0.0, 0.5},
        // area × (1 − imperviousPct / 100) = 0.00001: a pervious part remains,
        // so only its tiny rpf share snaps.
        {"pervious part on the floor", 0.01024, 99.90234375, 0.5, 0.3, 99.90234375, 0.5, 0.0},
        // D = P = 1: the dcif and rpf shares are exactly the floor.
        {"fraction shares on the floor", 2.0, 50.0, 0.00001, 0.00001, 50.0, 0.00001, 0.00001},
        // D = P = 0.00004: the remaining shares are exactly the floor.
        {"complement shares on the floor", 8e-5, 50.0, 0.75, 0.75, 50.0, 0.75, 0.75},
    };
    int index = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        BasinInput record{};
        record.area = c.area;
        record.length = 2.0;
        record.centroidLength = 1.0;
        record.imperviousPct = c.imperviousPct;
        record.slope = 0.02;
        record.timeStep = 5.0;
        record.dcif = c.dcif;
        record.rpf = c.rpf;
        record.shape.ct = 0.1;
        record.shape.cp = 0.5;
        record.shape.uhTimeStep = 5;
        const std::string name = "P" + std::to_string(index++);
        vesk_addbasin(&record, name.c_str());
        EXPECT_EQ(vesk_geterror(), VESK_OK);
        EXPECT_EQ(record.imperviousPct, c.imperviousPct2);
        EXPECT_EQ(record.dcif, c.dcif2);
        EXPECT_EQ(record.rpf, c.rpf2);
        vesk::setErrorCode(VESK_OK);
    }
}

} // namespace
