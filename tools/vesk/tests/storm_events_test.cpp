// Long records split into independent events at dry spells.
#include "storm_events.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "test_files.h"

namespace vesk::tool {
namespace {

Storm fiveMinuteStorm(std::vector<double> depths) {
    Storm storm;
    storm.path = "s.csv";
    storm.stepMinutes = 5;
    storm.depths = std::move(depths);
    return storm;
}

TEST(StormEvents, SplitAtDrySpellsOfTheGivenLength) {
    const Storm storm = fiveMinuteStorm({0, 1, 0, 0, 0, 2, 3, 0, 0});
    const std::vector<StormEvent> split = splitEvents(storm, 15); // three dry steps split
    ASSERT_EQ(split.size(), 2u);
    EXPECT_EQ(split[0].number, 1);
    EXPECT_EQ(split[0].firstStep, 1u);
    EXPECT_EQ(split[0].storm.depths, (std::vector<double>{1}));
    EXPECT_EQ(split[1].number, 2);
    EXPECT_EQ(split[1].firstStep, 5u);
    EXPECT_EQ(split[1].storm.depths, (std::vector<double>{2, 3}));
    const std::vector<StormEvent> joined = splitEvents(storm, 16); // 15 minutes of dry steps do not
    ASSERT_EQ(joined.size(), 1u);
    EXPECT_EQ(joined[0].storm.depths, (std::vector<double>{1, 0, 0, 0, 2, 3}));
    EXPECT_TRUE(splitEvents(fiveMinuteStorm({0, 0}), 15).empty());
}

TEST(StormEvents, LongRecordsWithLongDrySpellsNeedEvents) {
    std::vector<double> depths(289, 0.0); // 1445 minutes
    depths.front() = depths.back() = 0.1;
    EXPECT_TRUE(needsEvents(fiveMinuteStorm(depths)));
    depths.resize(288); // exactly one day
    depths.back() = 0.1;
    EXPECT_FALSE(needsEvents(fiveMinuteStorm(depths)));
    std::vector<double> wet(400, 0.1);
    wet[100] = 0.0; // a short dry spell only
    EXPECT_FALSE(needsEvents(fiveMinuteStorm(wet)));
}

std::string shippedStormTwice(int dryHours) {
    std::istringstream shipped(testing::readWholeFile(testing::examplePath("design_storm_2h.csv")));
    std::vector<std::string> depths;
    std::string line;
    std::getline(shipped, line); // header
    while (std::getline(shipped, line)) depths.push_back(line.substr(line.find(',') + 1));
    std::string text = "depth_in\n";
    for (const std::string &d : depths) text += d + "\n";
    for (int k = 0; k < dryHours * 12; ++k) text += "0\n";
    for (const std::string &d : depths) text += d + "\n";
    return text;
}

// Each event runs from fresh basins: the same storm twice gives the same
// peak twice, where one run would overstate the second.
TEST(VeskEvents, EventsRunFromFreshBasins) {
    const std::string storm = testing::writeScratchFile("twice.csv", shippedStormTwice(30));
    const std::string summary = testing::outputPath("events.csv");
    const testing::ProgramRun run = testing::runVesk({"run", testing::examplePath("meadowbrook.basin"), "--rain", storm,
                                                      "--time-step", "5", "--events", "6", "--summary", summary});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("2 event(s), each run from fresh basins"), std::string::npos) << run.out;
    const std::string text = testing::readWholeFile(summary);
    EXPECT_EQ(text.substr(0, 31), "event,start_min,basin,area_sq_m");
    EXPECT_NE(text.find("\n1,0,Meadowbrook,"), std::string::npos) << text;
    EXPECT_NE(text.find("\n2,1920,Meadowbrook,"), std::string::npos) << text; // 24 wet + 360 dry steps
    EXPECT_NE(run.out.find("\n1      0          Meadowbrook     1.77   163.355             55"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\n2      1920       Meadowbrook     1.77   163.355           1975"), std::string::npos)
        << run.out;

    const testing::ProgramRun whole =
        testing::runVesk({"run", testing::examplePath("meadowbrook.basin"), "--rain", storm, "--time-step", "5"});
    ASSERT_EQ(whole.status, 0) << whole.err;
    EXPECT_NE(whole.err.find("run it as independent events with --events HOURS"), std::string::npos) << whole.err;
}

TEST(VeskEvents, AYearOfFiveMinuteDataRunsQuickly) {
    std::string text = "depth_in\n";
    for (int k = 0; k < 105120; ++k) text += (k / 288) % 7 == 0 && k % 288 < 24 ? "0.02\n" : "0\n";
    const std::string storm = testing::writeScratchFile("year.csv", text);
    const auto start = std::chrono::steady_clock::now();
    const testing::ProgramRun run = testing::runVesk(
        {"run", testing::examplePath("basins.csv"), "--rain", storm, "--time-step", "5", "--events", "6"});
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("53 event(s)"), std::string::npos) << run.out.substr(0, 200);
    EXPECT_LT(seconds, 3.0 * 3); // three basins; generous for sanitized builds
}

} // namespace
} // namespace vesk::tool
