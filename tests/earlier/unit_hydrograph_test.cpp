// The earlier level builds the shared unit hydrograph in its own order of
// operations; the three worked hydrographs come out the same to 0.1 cfs.
#include <vector>

#include "earlier_test_support.h"

namespace {

struct WorkedHydrograph {
    const char *name;
    double area, length, centroidLength, slope, ct, cp;
    int32_t uhLength;
    std::vector<double> head; // first ordinates, rounded to 0.1
    std::vector<double> tail; // last ordinates, rounded to 0.1
};

using EarlierUnitHydrograph = EarlierLibrary;

TEST_F(EarlierUnitHydrograph, WorkedExamplesAreReproducedToATenth) {
    const WorkedHydrograph cases[] = {
        {"single peak cubic", 1.0, 2.0, 1.0, 0.02, 0.1, 0.5, 26,
         {114.8, 331.7, 609.3, 845.7, 893.5, 797.0, 644.6, 552.4, 460.3, 404.9, 354.9, 304.9, 254.9,
          204.9, 171.2, 154.6, 137.9, 121.2, 104.6, 87.9, 71.2, 54.5, 37.9, 21.2, 4.5, 0.0},
         {}},
        {"forty percent rule and split peak", 0.5, 1.0, 0.5, 0.01, 0.12, 0.3, 31,
         {108.7, 267.4, 354.5, 367.6, 345.1, 296.9},
         {9.0, 3.7, 0.0}},
        {"rising fallback", 1.0, 2.0, 1.0, 0.02, 0.05, 1.0, 7,
         {425.0, 1700.0, 3045.9, 1482.1, 591.8, 210.9, 0.0},
         {}},
    };
    vesk_open();
    for (const WorkedHydrograph &c : cases) {
        BasinInput record = sampleRecord();
        record.area = c.area;
        record.length = c.length;
        record.centroidLength = c.centroidLength;
        record.slope = c.slope;
        record.shape.ct = c.ct;
        record.shape.cp = c.cp;
        vesk_addbasin(&record, c.name);
        ASSERT_EQ(vesk_geterror(), VESK_OK) << c.name;
        ASSERT_EQ(vesk_getuhlength(c.name), c.uhLength) << c.name;
        for (std::size_t i = 0; i < c.head.size(); ++i)
            EXPECT_NEAR(vesk_getuhordinatevalue(c.name, static_cast<int32_t>(i)), c.head[i], 0.05 + 1e-9)
                << c.name << " ordinate " << i;
        const std::size_t first = static_cast<std::size_t>(c.uhLength) - c.tail.size();
        for (std::size_t i = 0; i < c.tail.size(); ++i)
            EXPECT_NEAR(vesk_getuhordinatevalue(c.name, static_cast<int32_t>(first + i)), c.tail[i], 0.05 + 1e-9)
                << c.name << " ordinate " << first + i;
    }
}

TEST_F(EarlierUnitHydrograph, OutputsAndDerivedShapeReachTheHost) {
    vesk_open();
    BasinInput record = sampleRecord();
    record.area = 0.5;
    record.length = 1.0;
    record.centroidLength = 0.5;
    record.slope = 0.01;
    record.shape.ct = 0.12;
    record.shape.cp = 0.3;
    vesk_addbasin(&record, "split");
    BasinInput out{};
    vesk_getbasin("split", &out);
    EXPECT_NEAR(out.unitPeakRate, 738.95, 0.005);
    EXPECT_NEAR(out.uhPeakRate, 369.47, 0.005);
    EXPECT_NEAR(out.uhPeakTime, 18.090, 0.0005);
    // This level forms the volume as area x 53.33333333333333, one bit below
    // area x 640 / 12 for this area.
    EXPECT_EQ(out.unitRunoffVolume, 26.666666666666664);
    // The 40 % rule moved the rising points and rewrote the fractions.
    EXPECT_NEAR(out.shape.rise50Fraction, 0.2673, 0.00005);
    EXPECT_NEAR(out.shape.rise75Fraction, 0.3633, 0.00005);
    EXPECT_NEAR(out.shape.width50, 30000.0 / out.unitPeakRate, 1e-9);
    EXPECT_NEAR(out.shape.width75, 15600.0 / out.unitPeakRate, 1e-9);
    EXPECT_EQ(vesk_getuhordinatevalue("split", 31), 0.0);
    EXPECT_EQ(vesk_getuhordinatevalue("split", -1), 0.0);
}

} // namespace
