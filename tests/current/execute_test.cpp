// vesk_execute: how many steps a call takes, what it returns and when it
// refuses.
#include <cmath>
#include <limits>
#include <utility>

#include "exports/shared/library_state.h"
#include "frame_test_support.h"
#include "hand_built_basin.h"
#include "registry/basin_registry.h"

namespace {

class Execute : public FreshLibrary {
protected:
    void SetUp() override {
        FreshLibrary::SetUp();
        openReady();
    }
    static vesk::Basin &store(const char *name, vesk::Basin basin) {
        EXPECT_EQ(vesk::insertBasin(vesk::libraryState().registry, name, std::move(basin)), vesk::Status::Ok);
        return *vesk::lookupBasin(vesk::libraryState().registry, name).basin;
    }
};

TEST_F(Execute, StepsUntilTheClockReachesTheTarget) {
    vesk::Basin &basin = store("Creek", handbuilt::lossless(1.0, 5, {1, 2, 1}));
    struct Call {
        int32_t target;
        double rain;
        int32_t timeAfter;
        double outflow;
    };
    const Call calls[] = {
        {12, 1.0, 15, 4.0},  // three steps, the rain applied to each: 1, 3, 4
        {15, 9.0, 15, 4.0},  // target reached: no step, the latest outflow
        {3, 9.0, 15, 4.0},   // target behind the clock: the same
        {20, 0.0, 20, 3.0},  // one dry step: 1 + 2 from the last two wet steps
        {-5, 9.0, 20, 3.0},  // negative target
        {30, 0.0, 30, 0.0},
    };
    for (const Call &call : calls) {
        SCOPED_TRACE(call.target);
        EXPECT_EQ(vesk_execute("creek", call.rain, call.target), call.outflow);
        EXPECT_EQ(basin.precip.time, call.timeAfter);
    }
    EXPECT_EQ(basin.rainVolume, 3.0);
    EXPECT_EQ(vesk_geterror(), VESK_OK);
}

// Rain outside 0 to 1,000 in poisoned the basin with code 0 (NaN, infinite
// or overflowing depths) or was taken as negative infiltration: now the call
// takes no step, returns -1 and leaves the code and the basin alone.  Both
// ends of the range are taken.
TEST_F(Execute, RainOutsideZeroToAThousandInchesTakesNoStep) {
    const double inf = std::numeric_limits<double>::infinity();
    vesk::Basin &basin = store("Creek", handbuilt::lossless(1.0, 5, {1, 2, 1}));
    EXPECT_EQ(vesk_execute("Creek", 1.0, 5), 1.0);
    for (double rain : {std::numeric_limits<double>::quiet_NaN(), inf, -inf, -5.0, -1e-300,
                        std::nextafter(1000.0, inf), 1e306, 1e308}) {
        SCOPED_TRACE(rain);
        EXPECT_EQ(vesk_execute("Creek", rain, 10), -1.0);
        EXPECT_EQ(basin.precip.time, 5);
        EXPECT_EQ(vesk_geterror(), VESK_OK);
    }
    EXPECT_EQ(vesk_execute("Creek", 1000.0, 10), 2.0 + 1000.0);
    EXPECT_EQ(vesk_execute("Creek", 0.0, 15), 1.0 + 2000.0);
    EXPECT_EQ(vesk_geterror(), VESK_OK);
}

TEST_F(Execute, FirstCallBelowOneStepReturnsZero) {
    store("B", handbuilt::lossless(1.0, 5, {1}));
    EXPECT_EQ(vesk_execute("B", 1.0, 0), 0.0);
    EXPECT_EQ(vesk_execute("B", 1.0, 5), 1.0);
}

TEST_F(Execute, Refusals) {
    struct Case {
        const char *what;
        int32_t pendingCode;
        const char *name;
        int32_t codeAfter;
    };
    const Case cases[] = {
        {"version not confirmed", VESK_ERR_VERSION_UNCONFIRMED, "B", VESK_ERR_VERSION_UNCONFIRMED},
        {"earlier failure pending", VESK_ERR_DUPLICATE_BASIN, "B", VESK_ERR_DUPLICATE_BASIN},
        {"unknown name", VESK_OK, "nowhere", VESK_ERR_BASIN_NOT_FOUND},
        {"null name", VESK_OK, nullptr, VESK_ERR_NULL},
        {"unknown name replaces a pending code", VESK_ERR_VERSION_UNCONFIRMED, "nowhere", VESK_ERR_BASIN_NOT_FOUND},
    };
    vesk::Basin &basin = store("B", handbuilt::lossless(1.0, 5, {1}));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        vesk::setErrorCode(c.pendingCode);
        EXPECT_EQ(vesk_execute(c.name, 1.0, 100), -1.0);
        EXPECT_EQ(vesk_geterror(), c.codeAfter);
        EXPECT_EQ(basin.precip.time, 0);
        EXPECT_EQ(basin.rainVolume, 0.0);
    }
}

TEST_F(Execute, BasinWithoutATimeStepIsRefusedWithoutLooping) {
    for (int32_t step : {0, -5}) {
        SCOPED_TRACE(step);
        vesk_free();
        openReady();
        vesk::Basin &basin = store("Loaded", handbuilt::lossless(1.0, step, {1}));
        EXPECT_EQ(vesk_execute("Loaded", 1.0, 60), -1.0);
        EXPECT_EQ(vesk_geterror(), VESK_OK);
        EXPECT_EQ(basin.precip.time, 0);
        EXPECT_EQ(basin.rainVolume, 0.0);
    }
}

TEST_F(Execute, ClockStopsShortOfWrappingRound) {
    const int32_t top = std::numeric_limits<int32_t>::max();
    vesk::Basin &basin = store("Long", handbuilt::lossless(1.0, 1000, {1}));
    basin.precip.time = top - 2500;
    EXPECT_EQ(vesk_execute("Long", 0.5, top), 0.5);
    EXPECT_EQ(basin.precip.time, top - 500); // two steps; a third would pass the top
    EXPECT_EQ(vesk_execute("Long", 0.5, top), 0.5);
    EXPECT_EQ(basin.precip.time, top - 500);
}

TEST_F(Execute, BasinsStepIndependently) {
    vesk::Basin &first = store("First", handbuilt::lossless(1.0, 5, {1, 1}));
    vesk::Basin &second = store("Second", handbuilt::lossless(1.0, 10, {2}));
    EXPECT_EQ(vesk_execute("First", 1.0, 10), 2.0);
    EXPECT_EQ(vesk_execute("Second", 0.25, 10), 0.5);
    EXPECT_EQ(first.precip.time, 10);
    EXPECT_EQ(second.precip.time, 10);
    EXPECT_EQ(second.ring.previousOutflow, 0.0);
}

} // namespace
