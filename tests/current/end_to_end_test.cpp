// A host's whole session: open, confirm the version, add basins from records
// and files, step them through a storm and read everything back.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "frame_test_support.h"
#include "relations/impervious_fractions.h"

namespace {

// A half-impervious square mile stepped in 5-minute steps.
BasinInput suburbanRecord() {
    BasinInput r{};
    r.area = 1.0;
    r.length = 2.0;
    r.centroidLength = 1.0;
    r.imperviousPct = 50.0;
    r.slope = 0.02;
    r.timeStep = 5.0;
    r.perviousDepressionStorage = 0.35;
    r.imperviousDepressionStorage = 0.1;
    r.initialInfiltrationRate = 3.0;
    r.finalInfiltrationRate = 0.5;
    r.infiltrationDecay = 0.0018;
    r.disconnectionLevel = 1;
    r.dcif = 0.61; // given: about what disconnection level 1 gives at 50 %
    r.rpf = 0.38;
    r.shape.uhTimeStep = 5;
    return r;
}

// Cubic feet in one inch over one square mile.
constexpr double kCubicFeetPerInchSquareMile = 640.0 * 43560.0 / 12.0;

class EndToEnd : public FreshLibrary {};

// Two hours of rain rising to a burst and falling off, in 5-minute depths.
std::vector<double> twoHourStorm() {
    std::vector<double> depths;
    for (int step = 0; step < 24; ++step) {
        const double distance = std::abs(step - 9.5);
        depths.push_back(0.45 / (1.0 + distance * distance * 0.25));
    }
    return depths;
}

TEST_F(EndToEnd, StormThroughABasin) {
    openReady();
    BasinInput record = suburbanRecord();
    vesk_addbasin(&record, "Mill Run");
    ASSERT_EQ(vesk_geterror(), VESK_OK);
    const int32_t length = vesk_getuhlength("mill run");
    ASSERT_GT(length, 1);
    double ordinateSum = 0.0;
    for (int32_t i = 0; i < length; ++i) ordinateSum += vesk_getuhordinatevalue("Mill Run", i);

    BasinInput prepared;
    vesk_getbasin("Mill Run", &prepared);
    // One inch of excess through the unit hydrograph carries the volume of one inch.
    EXPECT_NEAR(ordinateSum * 5 * 60, prepared.unitRunoffVolume * 43560.0, 0.005 * prepared.unitRunoffVolume * 43560.0);

    std::vector<double> outflows;
    double excessVolume = 0.0, rainDepth = 0.0;
    const std::vector<double> storm = twoHourStorm();
    const int32_t steps = static_cast<int32_t>(storm.size()) + length; // rain, then until the ring drains
    for (int32_t step = 1; step <= steps; ++step) {
        const double rain = step <= static_cast<int32_t>(storm.size()) ? storm[step - 1] : 0.0;
        outflows.push_back(vesk_execute("Mill Run", rain, 5 * step));
        PrecipState precip;
        vesk_getbasin_precip("Mill Run", &precip);
        ASSERT_EQ(precip.time, 5 * step);
        excessVolume += precip.stepExcess * record.area;
        rainDepth += rain;
    }
    EXPECT_EQ(vesk_geterror(), VESK_OK);
    EXPECT_GT(excessVolume, 0.2 * rainDepth); // half the basin is paved
    EXPECT_LT(excessVolume, rainDepth);

    // The peak and its time as the host saw them.
    std::size_t peakStep = 0;
    for (std::size_t i = 1; i < outflows.size(); ++i)
        if (outflows[i] > outflows[peakStep]) peakStep = i;
    vesk_getbasin("Mill Run", &prepared);
    EXPECT_EQ(prepared.peakTime, 5.0 * (peakStep + 1));
    EXPECT_GT(outflows[peakStep], 0.0);
    EXPECT_LT(outflows[peakStep], prepared.uhPeakRate * 0.45 * 3); // no more than three bursts at once
    EXPECT_EQ(outflows.back(), 0.0);

    // Everything that ran off left the outlet.
    double outflowVolume = 0.0;
    for (double q : outflows) outflowVolume += q * 5 * 60;
    EXPECT_NEAR(outflowVolume, ordinateSum * 5 * 60 * excessVolume / record.area, 1e-9 * outflowVolume);
    EXPECT_NEAR(outflowVolume, excessVolume * kCubicFeetPerInchSquareMile, 0.005 * outflowVolume);
}

TEST_F(EndToEnd, BasinFromAFileEqualsTheSameRecordAdded) {
    openReady();
    // Named for this process: other test runs may share the temporary directory.
#ifdef _WIN32
    const int processId = _getpid();
#else
    const int processId = static_cast<int>(getpid());
#endif
    const std::string path = testing::TempDir() + "vesk_end_to_end_basin_" + std::to_string(processId) + ".txt";
    std::ofstream(path) << "Mill_Run\n"
                           "1.0 1 1.0 0.61\n"
                           "50 2.0 0.4 0.38\n"
                           "0.6 0.02\n"
                           "0.1 0.35\n"
                           "3.0 0.0018 0.5\n"
                           "0 0 0 0\n"
                           "5 0 0\n";
    vesk_loadandadd(path.c_str());
    ASSERT_EQ(vesk_geterror(), VESK_OK);
    BasinInput record = suburbanRecord();
    record.timeStep = 0.0; // the file has none
    vesk_addbasin(&record, "By Hand");
    ASSERT_EQ(vesk_geterror(), VESK_OK);

    BasinInput fromFile, byHand;
    vesk_getbasin("mill_run", &fromFile);
    vesk_getbasin("by hand", &byHand);
    EXPECT_EQ(std::memcmp(&fromFile, &byHand, sizeof fromFile), 0);
    ASSERT_EQ(vesk_getuhlength("Mill_Run"), vesk_getuhlength("By Hand"));
    for (int32_t i = 0; i < vesk_getuhlength("By Hand"); ++i)
        EXPECT_EQ(vesk_getuhordinatevalue("Mill_Run", i), vesk_getuhordinatevalue("By Hand", i));

    // A loaded basin has no time step and cannot be stepped.
    EXPECT_EQ(fromFile.timeStep, 0.0);
    EXPECT_EQ(vesk_execute("Mill_Run", 1.0, 5), -1.0);
    EXPECT_EQ(vesk_geterror(), VESK_OK);
    PrecipState precip;
    vesk_getbasin_precip("Mill_Run", &precip);
    EXPECT_EQ(precip.time, 0);
    EXPECT_EQ(precip.timeStep, 0);
    std::remove(path.c_str());
}

// A file that asks for both fractions (-1) gets the relations' values at
// its level and imperviousness, whether loaded or added by hand.
TEST_F(EndToEnd, DerivedFractionsFromAFileAreTheRelations) {
    openReady();
#ifdef _WIN32
    const int processId = _getpid();
#else
    const int processId = static_cast<int>(getpid());
#endif
    const std::string path = testing::TempDir() + "vesk_derived_fractions_" + std::to_string(processId) + ".txt";
    std::ofstream(path) << "Meadowbrook\n0.45 2 0.50 -1\n20 1.10 0 -1\n0 0.02\n0.10 0.30\n"
                           "4.0 0.0015 0.8\n0 0 0 0\n5 0 0\n";
    vesk_loadandadd(path.c_str());
    std::remove(path.c_str());
    ASSERT_EQ(vesk_geterror(), VESK_OK);
    BasinInput loaded;
    vesk_getbasin("Meadowbrook", &loaded);
    EXPECT_EQ(loaded.dcif, vesk::dcifRelation(2, 20.0));
    EXPECT_EQ(loaded.rpf, vesk::rpfRelation(2, 20.0));

    BasinInput byHand{};
    byHand.area = 0.45;
    byHand.disconnectionLevel = 2;
    byHand.centroidLength = 0.5;
    byHand.dcif = -1.0;
    byHand.imperviousPct = 20.0;
    byHand.length = 1.1;
    byHand.rpf = -1.0;
    byHand.slope = 0.02;
    byHand.imperviousDepressionStorage = 0.1;
    byHand.perviousDepressionStorage = 0.3;
    byHand.initialInfiltrationRate = 4.0;
    byHand.infiltrationDecay = 0.0015;
    byHand.finalInfiltrationRate = 0.8;
    byHand.shape.uhTimeStep = 5;
    vesk_addbasin(&byHand, "By Hand");
    ASSERT_EQ(vesk_geterror(), VESK_OK);
    EXPECT_EQ(byHand.dcif, -1.0); // the request stays in the host's record
    EXPECT_EQ(byHand.rpf, -1.0);
    BasinInput added;
    vesk_getbasin("By Hand", &added);
    EXPECT_EQ(std::memcmp(&added, &loaded, sizeof added), 0);
}

} // namespace
