// The vesk program with design storms and long records split into events.
#include <gtest/gtest.h>

#include <algorithm>
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

// Storms no run could take are refused when made (both wrote storms of
// hundreds of inches a step and exit 0).
TEST(VeskStorm, StormsARunWouldRefuseAreRefusedWhenMade) {
    const struct {
        std::vector<std::string> arguments;
        const char *message;
    } cases[] = {
        {{"storm", "--a", "60", "--b", "10", "--c", "-0.8", "--duration", "120", "--step", "5"},
         "vesk: storm: the mean intensity rises with the duration"},
        {{"storm", "--a", "1e300", "--b", "10", "--c", "0.8", "--duration", "120", "--step", "5"},
         "in 5 min, beyond the 100 in (2540 mm) a run accepts in one step"},
        {{"storm", "--idf", testing::examplePath("idf.csv"), "--return-period", "20", "--duration", "60", "--step",
          "5"},
         "holds no relation for the return period 20 yr (it holds 2, 5, 10, 25, 50, 100 yr)"},
        {{"storm", "--a", "60", "--b", "10", "--c", "0.8", "--distribution", "nrcs_type_I", "--depth", "3",
          "--step", "5"},
         "vesk: storm takes one source"},
        {{"storm", "--distribution", "nrcs_type_III", "--depth", "3", "--step", "30"},
         "no distribution is named 'nrcs_type_III'; there are nrcs_type_I, nrcs_type_II"},
    };
    for (const auto &c : cases) {
        const testing::ProgramRun run = testing::runVesk(c.arguments);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

// A batch of return periods and durations: a storm set, or a file per storm.
TEST(VeskStorm, ReturnPeriodsTimesDurationsMakeNamedStorms) {
    const std::string idf = testing::examplePath("idf.csv");
    const testing::ProgramRun set = testing::runVesk(
        {"storm", "--idf", idf, "--return-period", "2,100", "--duration", "30", "--duration", "60", "--step", "10"});
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(set.out.rfind("storm,time_min,depth_in\n2yr_30min,10,", 0), 0u) << set.out;
    EXPECT_NE(set.out.find("\n100yr_60min,60,"), std::string::npos);
    EXPECT_EQ(std::count(set.out.begin(), set.out.end(), '\n'), 1 + 2 * (3 + 6));
    const std::string folder = testing::outputPath("design_storms");
    const testing::ProgramRun files = testing::runVesk(
        {"storm", "--idf", idf, "--return-period", "10", "--duration", "60,120", "--step", "5", "--out-dir", folder});
    ASSERT_EQ(files.status, 0) << files.err;
    EXPECT_EQ(files.out, folder + "/10yr_60min.csv\n" + folder + "/10yr_120min.csv\n");
    EXPECT_EQ(testing::readWholeFile(folder + "/10yr_60min.csv").substr(0, 18), "time_min,depth_in\n");
}

// Several storms in one run: one column per storm, the outlet first; a dated
// record's events start at their date-times.
TEST(VeskRun, SeveralStormsGiveAPeakTableAndDatedEventsTheirStarts) {
    const std::string storms = testing::outputPath("three_storms.csv");
    ASSERT_EQ(testing::runVesk({"storm", "--idf", testing::examplePath("idf.csv"), "--return-period", "2,10",
                                "--duration", "60", "--step", "5", "--out", storms})
                  .status,
              0);
    const std::string summary = testing::outputPath("storms_summary.csv");
    const testing::ProgramRun run =
        testing::runVesk({"run", testing::examplePath("basins.csv"), "--rain", storms, "--rain",
                          testing::examplePath("design_storm_2h.csv"), "--summary", summary});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("3 storms, each run from fresh basins: peak outflow, cfs"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("basin         2yr_60min  10yr_60min  design_storm_2h\n"), std::string::npos) << run.out;
    EXPECT_LT(run.out.find("\noutlet "), run.out.find("\nMarketSquare ")) << run.out;
    EXPECT_NE(run.out.find("509.399"), std::string::npos) << run.out; // the shipped storm's outlet, as a run of it alone
    const std::string text = testing::readWholeFile(summary);
    EXPECT_EQ(text.rfind("storm,basin,area_sq_mi,", 0), 0u);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 3 * 4);
    for (const char *option : {"--plot", "--events"}) {
        const testing::ProgramRun refused = testing::runVesk(
            {"run", testing::examplePath("basins.csv"), "--rain", storms, option, testing::outputPath("x.svg")});
        EXPECT_EQ(refused.status, 1) << option;
    }

    const std::string record = testing::writeScratchFile(
        "dated_record.csv", "time,depth_in\n2024-05-01T00:05,0.3\n2024-05-01T00:10,0.2\n2024-05-01T09:00,0.4\n");
    const std::string events = testing::outputPath("dated_events.csv");
    const testing::ProgramRun dated =
        testing::runVesk({"run", testing::examplePath("meadowbrook.basin"), "--rain", record, "--fill-gaps", "zero",
                          "--events", "6", "--summary", events});
    ASSERT_EQ(dated.status, 0) << dated.err;
    EXPECT_NE(dated.err.find("note: " + record + ": 105 missing steps filled with dry steps, in 1 gap: line 4 (105 "
                             "after 2024-05-01T00:10)"),
              std::string::npos)
        << dated.err;
    EXPECT_NE(dated.out.find("\n2      2024-05-01T08:55  Meadowbrook"), std::string::npos) << dated.out;
    EXPECT_EQ(testing::readWholeFile(events).rfind("event,start,start_min,basin,", 0), 0u);
    EXPECT_NE(testing::readWholeFile(events).find("\n2,2024-05-01T08:55,535,Meadowbrook,"), std::string::npos);
}

// The README's peak table of several storms is what vesk prints: its
// commands run as written (build/ standing for the test's output folder).
TEST(VeskRun, TheReadmesPeakTableIsWhatVeskPrints) {
    const std::string readme = testing::readWholeFile(testing::examplePath("../README.md"));
    const std::size_t command = readme.find("```sh\nbuild/vesk storm --idf ");
    ASSERT_NE(command, std::string::npos);
    const std::size_t lineEnd = readme.find('\n', command + 6);
    const std::size_t shown = readme.find("```text\n", lineEnd);
    ASSERT_NE(shown, std::string::npos);
    const std::string expected = readme.substr(shown + 8, readme.find("```", shown + 8) - shown - 8);
    std::istringstream words(readme.substr(command + 6, lineEnd - command - 6));
    std::vector<std::vector<std::string>> commands(1);
    for (std::string word; words >> word;) {
        if (word == "&&") commands.emplace_back();
        else if (word == "build/vesk") continue;
        else if (word.rfind("examples/", 0) == 0) commands.back().push_back(testing::examplePath(word.substr(9)));
        else if (word.rfind("build/", 0) == 0) commands.back().push_back(testing::outputPath(word.substr(6)));
        else commands.back().push_back(word);
    }
    ASSERT_EQ(commands.size(), 2u);
    ASSERT_EQ(testing::runVesk(commands[0]).status, 0);
    const testing::ProgramRun run = testing::runVesk(commands[1]);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, expected);
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
