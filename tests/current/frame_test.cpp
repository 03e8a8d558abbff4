// The error code, the version handshake and the life of the registry.
#include <cstring>
#include <string>
#include <utility>

#include "base/version.h"
#include "exports/shared/library_state.h"
#include "frame_test_support.h"
#include "registry/basin_registry.h"

namespace {

using Frame = FreshLibrary;

TEST_F(Frame, FreshLibraryHasNoCodeAndNoRegistry) {
    EXPECT_EQ(vesk_geterror(), VESK_OK);
    EXPECT_EQ(vesk::libraryState().registry, nullptr);
}

TEST_F(Frame, OpenCreatesEmptyRegistryAndAsksForTheVersion) {
    vesk_open();
    EXPECT_EQ(vesk_geterror(), VESK_ERR_VERSION_UNCONFIRMED);
    ASSERT_NE(vesk::libraryState().registry, nullptr);
    for (auto *head : vesk::libraryState().registry->chains) EXPECT_EQ(head, nullptr);
}

// The third number of the version travels in the fourth field and the
// fourth in the third: 1.3.3.6 is {1, 3, 6, 3}.
TEST_F(Frame, VersionTravelsWithReleaseAndBuildSwapped) {
    VersionStamp stamp{-1, -1, -1, -1};
    vesk_getversion(&stamp);
    EXPECT_EQ(stamp.major, VESK_VERSION_MAJOR);
    EXPECT_EQ(stamp.minor, VESK_VERSION_MINOR);
    EXPECT_EQ(stamp.build, VESK_VERSION_BUILD);
    EXPECT_EQ(stamp.release, VESK_VERSION_RELEASE);
    const VersionStamp init = VESK_VERSION_STAMP_INIT;
    EXPECT_EQ(std::memcmp(&stamp, &init, sizeof stamp), 0);
    vesk_getversion(nullptr); // must not crash
    EXPECT_EQ(vesk_geterror(), VESK_OK);
}

TEST_F(Frame, VersionTextIsSpelledFromTheProjectVersion) {
    const std::string expected = std::to_string(VESK_VERSION_MAJOR) + "," + std::to_string(VESK_VERSION_MINOR) +
                                 "," + std::to_string(VESK_VERSION_RELEASE) + "," +
                                 std::to_string(VESK_VERSION_BUILD) + "/0";
    EXPECT_EQ(std::string(vesk::kVersionText), expected);
}

TEST_F(Frame, VersionTextParsingStopsAtFourNumbersAndIgnoresTrailingDigits) {
    VersionStamp s = vesk::stampFromVersionText("1,3,3,6/0");
    EXPECT_EQ(s.major, 1);
    EXPECT_EQ(s.minor, 3);
    EXPECT_EQ(s.release, 3);
    EXPECT_EQ(s.build, 6);
    s = vesk::stampFromVersionText("12,,7");
    EXPECT_EQ(s.major, 12);
    EXPECT_EQ(s.minor, 0);
    EXPECT_EQ(s.release, 0); // the trailing 7 is never converted
    EXPECT_EQ(s.build, 0);
}

struct StampCase {
    VersionStamp stamp;
    int32_t expected;
};

constexpr int32_t kMajor = VESK_VERSION_MAJOR, kMinor = VESK_VERSION_MINOR;
constexpr int32_t kBuild = VESK_VERSION_BUILD, kRelease = VESK_VERSION_RELEASE;

TEST_F(Frame, CheckVersionComparesMajorMinorAndReleaseOnly) {
    const StampCase cases[] = {
        {{kMajor, kMinor, kBuild, kRelease}, VESK_OK},
        {{kMajor, kMinor, 99, kRelease}, VESK_OK},
        {{kMajor, kMinor, kBuild, kRelease + 1}, VESK_ERR_VERSION_UNCONFIRMED},
        {{kMajor + 1, kMinor, kBuild, kRelease}, VESK_ERR_VERSION_UNCONFIRMED},
        {{kMajor, kMinor + 1, kBuild, kRelease}, VESK_ERR_VERSION_UNCONFIRMED},
    };
    for (const StampCase &c : cases) {
        vesk_free();
        vesk_open();
        vesk_checkversion(&c.stamp);
        EXPECT_EQ(vesk_geterror(), c.expected) << c.stamp.major << c.stamp.minor << c.stamp.release;
    }
    vesk_checkversion(nullptr);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_VERSION_UNCONFIRMED);
}

TEST_F(Frame, MatchingStampClearsOnlyCodeSeven) {
    openReady();
    EXPECT_EQ(vesk_getuhlength("NEVER STORED"), -1);
    ASSERT_EQ(vesk_geterror(), VESK_ERR_BASIN_NOT_FOUND);
    const VersionStamp good = VESK_VERSION_STAMP_INIT;
    const VersionStamp bad{kMajor, kMinor, kBuild, kRelease + 1};
    vesk_checkversion(&good);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_BASIN_NOT_FOUND);
    vesk_checkversion(&bad);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_VERSION_UNCONFIRMED);
    vesk_checkversion(&good);
    EXPECT_EQ(vesk_geterror(), VESK_OK);
}

TEST_F(Frame, FailedLookupReplacesPendingSevenWhichThenStays) {
    vesk_open();
    EXPECT_EQ(vesk_getuhlength("NEVER STORED"), -1);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_BASIN_NOT_FOUND);
    const VersionStamp good = VESK_VERSION_STAMP_INIT;
    vesk_checkversion(&good);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_BASIN_NOT_FOUND);
}

// Every export that takes a pointer.  A null one while a code is pending
// leaves that code: with 7 pending the host can still confirm its version
// (a null destination or name used to set 5, which no stamp clears).  With
// no code pending each sets its own code, as before.
TEST_F(Frame, NullPointerLeavesAPendingCode) {
    struct Case {
        const char *what;
        void (*call)();
        int32_t codeWhenNonePending;
    };
    const Case cases[] = {
        {"getbasin, no destination", [] { vesk_getbasin("A", nullptr); }, VESK_ERR_NULL},
        {"getbasin, no name", [] { BasinInput out; vesk_getbasin(nullptr, &out); }, VESK_ERR_NULL},
        {"getbasin_precip, no destination", [] { vesk_getbasin_precip("A", nullptr); }, VESK_ERR_NULL},
        {"getbasin_precip, no name", [] { PrecipState out; vesk_getbasin_precip(nullptr, &out); }, VESK_ERR_NULL},
        {"execute", [] { vesk_execute(nullptr, 1.0, 5); }, VESK_ERR_NULL},
        {"getuhlength", [] { vesk_getuhlength(nullptr); }, VESK_ERR_NULL},
        {"getuhordinatevalue", [] { vesk_getuhordinatevalue(nullptr, 0); }, VESK_ERR_NULL},
        {"addbasin", [] { vesk_addbasin(nullptr, "A"); }, VESK_ERR_NULL},
        {"loadandadd", [] { vesk_loadandadd(nullptr); }, VESK_ERR_FILE_OPEN},
        {"checkversion", [] { vesk_checkversion(nullptr); }, VESK_ERR_VERSION_UNCONFIRMED},
        {"getversion", [] { vesk_getversion(nullptr); }, VESK_OK},
    };
    const VersionStamp good = VESK_VERSION_STAMP_INIT;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        vesk_free();
        vesk_open();
        c.call();
        EXPECT_EQ(vesk_geterror(), VESK_ERR_VERSION_UNCONFIRMED);
        vesk_checkversion(&good);
        EXPECT_EQ(vesk_geterror(), VESK_OK);
        vesk::setErrorCode(VESK_ERR_BASIN_NOT_FOUND);
        c.call();
        EXPECT_EQ(vesk_geterror(), VESK_ERR_BASIN_NOT_FOUND);
        vesk::setErrorCode(VESK_OK);
        c.call();
        EXPECT_EQ(vesk_geterror(), c.codeWhenNonePending);
    }
}

TEST_F(Frame, RejectedStampWorksWithoutRegistry) {
    vesk_checkversion(nullptr);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_VERSION_UNCONFIRMED);
    const VersionStamp good = VESK_VERSION_STAMP_INIT;
    vesk_checkversion(&good);
    EXPECT_EQ(vesk_geterror(), VESK_OK);
}

TEST_F(Frame, FreeResetsFromAnyStateAndOpenStartsOver) {
    vesk_open();
    vesk::setErrorCode(VESK_ERR_DUPLICATE_BASIN);
    vesk_free();
    EXPECT_EQ(vesk_geterror(), VESK_OK);
    EXPECT_EQ(vesk::libraryState().registry, nullptr);
    vesk_free(); // a second free is harmless
    EXPECT_EQ(vesk_geterror(), VESK_OK);
    vesk_open();
    EXPECT_EQ(vesk_geterror(), VESK_ERR_VERSION_UNCONFIRMED);
}

// The first registry is out of the host's reach after a second open: it is
// released (the sanitizer build's leak check fails if it is not), and the
// new registry is empty.
TEST_F(Frame, SecondOpenReleasesTheFirstRegistry) {
    vesk_open();
    const VersionStamp good = VESK_VERSION_STAMP_INIT;
    vesk_checkversion(&good);
    vesk::Basin basin{};
    basin.ring.uhLength = 1;
    basin.ring.uhOrdinates.reset(vesk::allocateArray<double>(1));
    basin.ring.convolutionBuffer.reset(vesk::allocateArray<double>(1));
    ASSERT_EQ(vesk::insertBasin(vesk::libraryState().registry, "First", std::move(basin)), vesk::Status::Ok);
    vesk_open();
    EXPECT_EQ(vesk_geterror(), VESK_ERR_VERSION_UNCONFIRMED);
    EXPECT_EQ(vesk_getuhlength("First"), -1);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_BASIN_NOT_FOUND);
}

TEST_F(Frame, OpenKeepsAPendingCode) {
    vesk::setErrorCode(VESK_ERR_BASIN_NOT_FOUND);
    vesk_open();
    EXPECT_EQ(vesk_geterror(), VESK_ERR_BASIN_NOT_FOUND);
    EXPECT_NE(vesk::libraryState().registry, nullptr);
}

TEST_F(Frame, OpenWhoseTableCannotBeAllocatedLeavesThreeAndNoRegistry) {
    vesk::failAllocationNumber(1);
    vesk_open();
    EXPECT_EQ(vesk_geterror(), VESK_ERR_NO_MEMORY);
    EXPECT_EQ(vesk::libraryState().registry, nullptr);
    // Every later lookup finds no registry and reports 5, replacing the 3.
    EXPECT_EQ(vesk_getuhlength("A"), -1);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_NULL);
}

} // namespace
