// The four queries: what they copy out and when they refuse.
#include <cstring>

#include <utility>

#include "exports/shared/library_state.h"
#include "frame_test_support.h"
#include "hand_built_basin.h"
#include "registry/basin_registry.h"

namespace {

class Queries : public FreshLibrary {
protected:
    static vesk::Basin &store(const char *name, vesk::Basin basin) {
        EXPECT_EQ(vesk::insertBasin(vesk::libraryState().registry, name, std::move(basin)), vesk::Status::Ok);
        return *vesk::lookupBasin(vesk::libraryState().registry, name).basin;
    }
};

TEST_F(Queries, UnitHydrographAnswersWhileTheVersionIsUnconfirmed) {
    vesk_open(); // code 7 stays pending
    store("Ridge", handbuilt::lossless(1.0, 5, {10.0, 30.0, 5.0}));
    EXPECT_EQ(vesk_getuhlength("ridge"), 3);
    struct Case {
        int32_t index;
        double value;
    };
    for (const Case c : {Case{0, 10.0}, Case{2, 5.0}, Case{3, 0.0}, Case{-1, 0.0}, Case{1 << 30, 0.0}}) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(vesk_getuhordinatevalue("RIDGE", c.index), c.value);
    }
    EXPECT_EQ(vesk_geterror(), VESK_ERR_VERSION_UNCONFIRMED);
}

TEST_F(Queries, UnitHydrographLookupFailures) {
    openReady();
    EXPECT_EQ(vesk_getuhlength("never"), -1);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_BASIN_NOT_FOUND);
    EXPECT_EQ(vesk_getuhordinatevalue(nullptr, 0), -1.0);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_BASIN_NOT_FOUND); // a null name leaves a pending code
    vesk_free();
    EXPECT_EQ(vesk_getuhordinatevalue("never", 0), -1.0);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_NULL);
}

TEST_F(Queries, GatedCopiesWriteNothingOnFailure) {
    struct Case {
        const char *what;
        int32_t pending;
        const char *name;
        bool nullDestination;
        int32_t codeAfter;
    };
    const Case cases[] = {
        {"version unconfirmed", VESK_ERR_VERSION_UNCONFIRMED, "Lake", false, VESK_ERR_VERSION_UNCONFIRMED},
        {"earlier failure pending", VESK_ERR_UH_FIT, "Lake", false, VESK_ERR_UH_FIT},
        {"unknown name", VESK_OK, "Sea", false, VESK_ERR_BASIN_NOT_FOUND},
        {"null name", VESK_OK, nullptr, false, VESK_ERR_NULL},
        {"null destination", VESK_OK, "Lake", true, VESK_ERR_NULL},
    };
    openReady();
    store("Lake", handbuilt::lossless(1.0, 5, {1.0}));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        BasinInput record;
        PrecipState precip;
        std::memset(&record, 0xAB, sizeof record);
        std::memset(&precip, 0xAB, sizeof precip);
        const BasinInput recordBefore = record;
        const PrecipState precipBefore = precip;

        vesk::setErrorCode(c.pending);
        vesk_getbasin(c.name, c.nullDestination ? nullptr : &record);
        EXPECT_EQ(vesk_geterror(), c.codeAfter);
        vesk::setErrorCode(c.pending);
        vesk_getbasin_precip(c.name, c.nullDestination ? nullptr : &precip);
        EXPECT_EQ(vesk_geterror(), c.codeAfter);
        EXPECT_EQ(std::memcmp(&record, &recordBefore, sizeof record), 0);
        EXPECT_EQ(std::memcmp(&precip, &precipBefore, sizeof precip), 0);
    }
}

TEST_F(Queries, GetBasinMapsTheStoredFields) {
    openReady();
    vesk::Basin basin = handbuilt::lossless(2.5, 15, {1.0});
    basin.length = 1.25;
    basin.centroidLength = 0.75;
    basin.imperviousPct = 40.0;
    basin.eiaPct = 31.0;
    basin.slope = 0.015;
    basin.disconnectionLevel = 2;
    basin.dcif = 0.45;
    basin.rpf = 0.35;
    basin.shape = ShapeParameters{0.12, 0.55, 30.0, 15.0, 0.35, 0.45, 5, 0};
    basin.uh = vesk::UnitHydrographSummary{42.0, 600.0, 1500.0, 133.3};
    basin.peakTime = 35.0;
    basin.dcia.maxDepressionStorage = 0.08;
    basin.uia.maxDepressionStorage = 0.09; // not reported: DCIA speaks for both
    basin.rpa = handbuilt::pervious(0.5, 3.5, 0.4, 0.0012, 0.3);
    basin.spa = handbuilt::pervious(0.5, 9.0, 9.0, 9.0, 9.0); // not reported: RPA speaks
    store("Marsh", std::move(basin));

    BasinInput out;
    std::memset(&out, 0xAB, sizeof out);
    vesk_getbasin("MARSH", &out);
    EXPECT_EQ(vesk_geterror(), VESK_OK);
    BasinInput expected{};
    expected.area = 2.5;
    expected.length = 1.25;
    expected.centroidLength = 0.75;
    expected.imperviousPct = 40.0;
    expected.eiaPct = 31.0;
    expected.slope = 0.015;
    expected.timeStep = 15.0;
    expected.perviousDepressionStorage = 0.3;
    expected.imperviousDepressionStorage = 0.08;
    expected.initialInfiltrationRate = 3.5;
    expected.finalInfiltrationRate = 0.4;
    expected.infiltrationDecay = 0.0012;
    expected.disconnectionLevel = 2;
    expected.dcif = 0.45;
    expected.rpf = 0.35;
    expected.uhPeakTime = 42.0;
    expected.peakTime = 35.0;
    expected.unitPeakRate = 600.0;
    expected.uhPeakRate = 1500.0;
    expected.unitRunoffVolume = 133.3;
    expected.shape = basin.shape;
    EXPECT_EQ(std::memcmp(&out, &expected, sizeof out), 0); // rpaShare, spaShare and the gaps are 0
}

TEST_F(Queries, PrecipStateAfterThreeSteps) {
    openReady();
    vesk::Basin &basin = store("Field", handbuilt::lossless(1.0, 10, {1.0, 1.0}));
    PrecipState before;
    vesk_getbasin_precip("Field", &before);
    PrecipState zeroButStep{};
    zeroButStep.timeStep = 10;
    EXPECT_EQ(std::memcmp(&before, &zeroButStep, sizeof before), 0);

    vesk_execute("Field", 1.0, 10);
    vesk_execute("Field", 2.0, 20);
    vesk_execute("Field", 3.0, 30);
    PrecipState after;
    vesk_getbasin_precip("field", &after);
    EXPECT_EQ(after.time, 30);
    EXPECT_EQ(after.stepRain, 3.0);
    EXPECT_EQ(after.dcia.waterInput, 3.0);
    EXPECT_EQ(after.stepExcess, 3.0);
    EXPECT_EQ(std::memcmp(&after, &basin.precip, sizeof after), 0);
}

// The copied block as raw bytes: the loss states sit DCIA, UIA, SPA, RPA at
// offsets 16, 80, 144 and 208, so the RPA's block (the one with the UIA's
// run-on) is the last, although the RPA is stepped before the SPA.
TEST_F(Queries, PrecipStateBytesHoldTheSubAreasInTheirBoundaryOrder) {
    openReady();
    vesk::Basin basin = handbuilt::lossless(1.0, 5, {1.0});
    basin.dcia = handbuilt::impervious(0.2, 0.0);
    basin.uia = handbuilt::impervious(0.2, 0.0);
    basin.rpa = handbuilt::pervious(0.3, 0.0, 0.0, 0.0, 0.0);
    basin.spa = handbuilt::pervious(0.3, 0.0, 0.0, 0.0, 0.0);
    vesk::formStepConstants(basin);
    store("Bytes", std::move(basin));
    vesk_execute("Bytes", 1.0, 5);

    unsigned char block[sizeof(PrecipState)];
    vesk_getbasin_precip("Bytes", reinterpret_cast<PrecipState *>(block));
    ASSERT_EQ(vesk_geterror(), VESK_OK);
    auto integerAt = [&block](std::size_t offset) {
        int32_t value;
        std::memcpy(&value, block + offset, sizeof value);
        return value;
    };
    auto realAt = [&block](std::size_t offset) {
        double value;
        std::memcpy(&value, block + offset, sizeof value);
        return value;
    };
    const double uiaExcess = 1.0 - 5.0 * 1.0 / 100.0;
    const double runOn = (0.2 / 0.3) * uiaExcess;
    EXPECT_EQ(integerAt(0), 5);                 // time
    EXPECT_EQ(integerAt(4), 5);                 // timeStep
    EXPECT_EQ(realAt(8), 1.0);                  // stepRain
    EXPECT_EQ(realAt(16 + 0), 1.0);             // DCIA waterInput
    EXPECT_EQ(realAt(16 + 48), 0.05);           // DCIA excessLoss
    EXPECT_EQ(realAt(80 + 56), uiaExcess);      // UIA excess
    EXPECT_EQ(realAt(144 + 0), 1.0);            // SPA waterInput: rain alone
    EXPECT_EQ(realAt(144 + 56), 1.0);           // SPA excess
    EXPECT_EQ(realAt(208 + 0), 1.0 + runOn);    // RPA waterInput: rain and run-on
    EXPECT_EQ(realAt(208 + 56), 1.0 + runOn);   // RPA excess
    EXPECT_EQ(realAt(272), ((0.2 / 1.0) * uiaExcess + (0.3 / 1.0) * (1.0 + runOn)) + (0.3 / 1.0) * 1.0);
}

} // namespace
