// The vesk program with design storms and long records split into events.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "test_files.h"

namespace vesk::tool {
namespace {

// The README's pipeline: a storm written by `vesk storm` runs as it is.
TEST(VeskStorm, WrittenStormRunsThroughABasin) {
    const testing::ProgramRun storm = testing::runVesk(
        {"storm", "--a", "60", "--b", "10", "--c", "0.8", "--duration", "120", "--step", "5"});
    ASSERT_EQ(storm.status, 0) << storm.err;
    EXPECT_EQ(storm.out.substr(0, 18), "time_min,depth_in\n");
    const std::string path = testing::writeScratchFile("designed.csv", storm.out);
    const testing::ProgramRun run =
        testing::runVesk({"run", testing::examplePath("meadowbrook.basin"), "--rain", path});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("steps of 5 min"), std::string::npos) << run.out;
    const testing::ProgramRun si = testing::runVesk(
        {"storm", "--a", "1524", "--b", "10", "--c", "0.8", "--duration", "60", "--step", "10", "--units", "si"});
    EXPECT_EQ(si.out.substr(0, 18), "time_min,depth_mm\n");
    const testing::ProgramRun bad = testing::runVesk(
        {"storm", "--a", "0x3C", "--b", "10", "--c", "0.8", "--duration", "60", "--step", "10"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("--a takes a decimal number, got '0x3C'"), std::string::npos) << bad.err;
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

TEST(VeskEvents, AYearOfFiveMinuteDataSplitsIntoItsEvents) {
    std::string text = "depth_in\n";
    for (int k = 0; k < 105120; ++k) text += (k / 288) % 7 == 0 && k % 288 < 24 ? "0.02\n" : "0\n";
    const std::string storm = testing::writeScratchFile("year.csv", text);
    const testing::ProgramRun run = testing::runVesk(
        {"run", testing::examplePath("basins.csv"), "--rain", storm, "--time-step", "5", "--events", "6"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("53 event(s)"), std::string::npos) << run.out.substr(0, 200);
}

} // namespace
} // namespace vesk::tool
