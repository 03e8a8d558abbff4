// End-to-end runs of the vesk program: the shipped examples, a basin whose
// numbers are worked by hand, faulty input, and the calculators.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

#include <sys/wait.h>

#include <algorithm>

#include "number_text.h"
#include "test_files.h"
#include "veskdll133.h"

namespace vesk::tool {

using namespace vesk::host;
namespace {

using testing::dataPath;
using testing::examplePath;
using testing::outputPath;
using testing::ProgramRun;
using testing::readWholeFile;
using testing::runVesk;
using testing::writeScratchFile;

using Table = std::vector<std::vector<std::string>>;

Table csvRows(const std::string &text) {
    Table rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> cells;
        std::istringstream fields(line);
        for (std::string cell; std::getline(fields, cell, ',');) cells.push_back(cell);
        rows.push_back(cells);
    }
    return rows;
}

double number(const std::string &text) { return *parseReal(text); }

// The value cells of a summary row ("peak outflow  cfs  1.00  2.00").
std::vector<std::string> summaryRow(const std::string &out, const std::string &label) {
    const std::size_t at = out.find("\n" + label + "  ");
    if (at == std::string::npos) return {};
    std::istringstream line(out.substr(at + 1 + label.size(), out.find('\n', at + 1) - at - 1 - label.size()));
    std::vector<std::string> cells;
    for (std::string cell; line >> cell;) cells.push_back(cell);
    return cells;
}

// One inch of rain over the fully impervious worked basin fills the 0.1 in of
// storage and loses 5 % of the rest: 0.95 in of excess meets the unit
// hydrograph of the worked example (ordinates 114.8, 331.7, 609.3, 845.7,
// 893.5, ... cfs per inch, 26 of them).
TEST(VeskRun, WorkedImperviousBasinGivesScaledUnitHydrograph) {
    const std::string csv = outputPath("worked.csv");
    const ProgramRun run =
        runVesk({"run", dataPath("worked_impervious.basin"), "--rain", dataPath("one_step_storm.csv"), "--csv", csv});
    ASSERT_EQ(run.status, 0) << run.err;
    const Table rows = csvRows(readWholeFile(csv));
    ASSERT_EQ(rows.size(), 28u); // header, time 0, 26 steps until the outflow is back to 0
    EXPECT_EQ(rows[0], (std::vector<std::string>{"time_min", "rain_in", "WorkedExample_cfs"}));
    EXPECT_EQ(rows[2][0], "5");
    EXPECT_EQ(rows[2][1], "1.1");
    const double expected[] = {114.8, 331.7, 609.3, 845.7, 893.5, 797.0};
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(number(rows[2 + k][2]), 0.95 * expected[k], 0.05 * 0.95 + 1e-9) << k;
    EXPECT_EQ(rows.back()[0], "130");
    EXPECT_EQ(number(rows.back()[2]), 0.0);

    EXPECT_EQ(summaryRow(run.out, "DCIF used"), (std::vector<std::string>{"1"}));
    EXPECT_EQ(summaryRow(run.out, "peak outflow time"), (std::vector<std::string>{"min", "25"}));
    EXPECT_NEAR(number(summaryRow(run.out, "peak outflow")[1]), 0.95 * 893.5, 0.1);
    EXPECT_EQ(summaryRow(run.out, "rain volume")[1], "58.6667");  // 1.1 in over 640 acres
    EXPECT_EQ(summaryRow(run.out, "runoff volume")[1], "50.6667"); // 0.95 in
    EXPECT_EQ(summaryRow(run.out, "runoff coefficient")[0], "0.863636");
    EXPECT_EQ(summaryRow(run.out, "unit hydrograph peak time")[1], "23.8992");
    EXPECT_EQ(run.err.find("warning"), std::string::npos) << run.err;
}

// A storm given in 1-minute steps runs at 1 minute: the unit hydrograph is
// built at that step (with a note), so the outflow holds the runoff.
TEST(VeskRun, ExactPrintsEveryDigit) {
    const ProgramRun run = runVesk({"run", examplePath("meadowbrook.basin"), "--rain", examplePath("design_storm_2h.csv"),
                                    "--exact"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string peak = summaryRow(run.out, "peak outflow")[1];
    EXPECT_GT(peak.size(), 10u) << peak;
    EXPECT_EQ(shownText(number(peak)), "163.355");
    EXPECT_EQ(exactText(number(peak)), peak);
}

TEST(VeskRun, OneMinuteStormBuildsOneMinuteUnitHydrographs) {
    std::string storm = "time_min,depth_in\n";
    for (int k = 1; k <= 120; ++k) storm += std::to_string(k) + "," + (k > 30 && k < 60 ? "0.015" : "0.003") + "\n";
    const std::string csv = outputPath("one-minute-run.csv");
    const ProgramRun run = runVesk({"run", examplePath("cedar_creek.basin"), "--rain",
                                    writeScratchFile("one-minute.csv", storm), "--csv", csv});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("cedar_creek.basin:8: basin CedarCreek: unit hydrograph built at the 1-minute "
                           "computation step instead of the file's uhTimeStep 5 min"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("warning"), std::string::npos) << run.err;
    const double runoff = number(summaryRow(run.out, "runoff volume")[1]);
    const double outflow = number(summaryRow(run.out, "outflow volume")[1]);
    EXPECT_NEAR(outflow / runoff, 1.0, 0.01);
    EXPECT_EQ(csvRows(readWholeFile(csv))[2][0], "1");

    // Summed into 5-minute steps the same storm gives nearly the same peak.
    const ProgramRun coarse = runVesk({"run", examplePath("cedar_creek.basin"), "--rain", outputPath("one-minute.csv"),
                                       "--time-step", "5.0"});
    ASSERT_EQ(coarse.status, 0) << coarse.err;
    EXPECT_EQ(coarse.err.find("note"), std::string::npos) << coarse.err;
    EXPECT_NEAR(number(summaryRow(coarse.out, "peak outflow")[1]), number(summaryRow(run.out, "peak outflow")[1]),
                0.02 * number(summaryRow(run.out, "peak outflow")[1]));
}

// The shipped Meadowbrook basin asks for both fractions: vesk and a host
// that loads the same file with vesk_loadandadd report the same peak.
TEST(VeskRun, DerivedFractionsGiveTheLoaderHostsPeak) {
    const ProgramRun run =
        runVesk({"run", examplePath("meadowbrook.basin"), "--rain", examplePath("design_storm_2h.csv")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("note"), std::string::npos) << run.err;

    vesk_open();
    const VersionStamp stamp = VESK_VERSION_STAMP_INIT;
    vesk_checkversion(&stamp);
    vesk_loadandadd(examplePath("meadowbrook.basin").c_str());
    ASSERT_EQ(vesk_geterror(), VESK_OK);
    // A loaded basin has no time step: the host adds what was prepared again
    // under its own name with its step.
    BasinInput prepared{};
    vesk_getbasin("Meadowbrook", &prepared);
    prepared.timeStep = 5;
    vesk_addbasin(&prepared, "Host");
    ASSERT_EQ(vesk_geterror(), VESK_OK);
    const Table storm = csvRows(readWholeFile(examplePath("design_storm_2h.csv")));
    double peak = 0.0;
    for (int32_t step = 1; step <= 60; ++step) {
        const double rain = step < static_cast<int32_t>(storm.size()) ? number(storm[step][1]) : 0.0;
        peak = std::max(peak, vesk_execute("Host", rain, 5 * step));
    }
    vesk_free();
    EXPECT_EQ(summaryRow(run.out, "peak outflow")[1], shownText(peak));
    EXPECT_EQ(summaryRow(run.out, "peak outflow")[1], "163.355");
    EXPECT_EQ(summaryRow(run.out, "DCIF used")[0], shownText(vesk_calcDCIF(2, 20.0)));
}

// The shipped table holds the three shipped basin files: the same run.
TEST(VeskRun, ShippedTableRunsLikeTheBasinFiles) {
    const ProgramRun files = runVesk({"run", examplePath("market_square.basin"), examplePath("cedar_creek.basin"),
                                      examplePath("meadowbrook.basin"), "--rain", examplePath("design_storm_2h.csv")});
    const ProgramRun table = runVesk({"run", examplePath("basins.csv"), "--rain", examplePath("design_storm_2h.csv")});
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(table.out, files.out);
}

// The same basins given as a table, in US or SI units, give the same run.
TEST(VeskRun, BasinTableInEitherUnitsGivesTheSameRun) {
    const std::string us = writeScratchFile(
        "basins-us.csv",
        "Name,Area,disconnectionLevel,centroidLength,dcif,imperviousPct,length,rpf,slope,"
        "imperviousDepressionStorage,perviousDepressionStorage,initialInfiltrationRate,infiltrationDecay,"
        "finalInfiltrationRate,uhTimeStep\n"
        "# the shipped Meadowbrook basin\n"
        "Meadowbrook,0.45,2,0.50,derive,20,1.10,,0.02,0.10,0.30,4.0,0.0015,0.8,5\n");
    // 0.45 sq mi = 1.1654946496512 km2; 1.1 mi = 1.7702784 km; 0.5 mi = 0.804672 km.
    const std::string si = writeScratchFile(
        "basins-si.csv",
        "name,area,disconnectionLevel,centroidLength,imperviousPct,length,slope,imperviousDepressionStorage,"
        "perviousDepressionStorage,initialInfiltrationRate,infiltrationDecay,finalInfiltrationRate\n"
        "Meadowbrook,1.1654946496512,2,0.804672,20,1.7702784,0.02,2.54,7.62,101.6,0.0015,20.32\n");
    const std::string stormMm = writeScratchFile("storm-mm.csv", [] {
        std::string text = "time_min,depth_mm\n";
        const Table storm = csvRows(readWholeFile(examplePath("design_storm_2h.csv")));
        for (std::size_t k = 1; k < storm.size(); ++k)
            text += storm[k][0] + "," + exactText(number(storm[k][1]) * 25.4) + "\n";
        return text;
    }());
    const ProgramRun usRun = runVesk({"run", us, "--rain", examplePath("design_storm_2h.csv")});
    ASSERT_EQ(usRun.status, 0) << usRun.err;
    EXPECT_EQ(summaryRow(usRun.out, "peak outflow")[1], "163.355");

    const ProgramRun siRun = runVesk({"run", si, "--units", "si", "--rain", stormMm});
    ASSERT_EQ(siRun.status, 0) << siRun.err;
    ASSERT_EQ(summaryRow(siRun.out, "peak outflow")[0], "m3/s");
    EXPECT_NEAR(number(summaryRow(siRun.out, "peak outflow")[1]), 163.35 * 0.028316846592, 0.0002);
    EXPECT_EQ(summaryRow(siRun.out, "area"), (std::vector<std::string>{"km2", "1.16549"}));
    EXPECT_NE(siRun.out.find("storm: 44.958 mm"), std::string::npos) << siRun.out;
    // The storm's header says millimetres: read so without --units, refused with --units us.
    EXPECT_EQ(runVesk({"run", us, "--rain", stormMm}).out, usRun.out);
    const ProgramRun contradiction = runVesk({"run", us, "--rain", stormMm, "--units", "us"});
    EXPECT_EQ(contradiction.status, 1);
    EXPECT_NE(contradiction.err.find("storm-mm.csv:1: the header gives depths as depth_mm but --units us expects "
                                     "depth_in"),
              std::string::npos)
        << contradiction.err;
}

TEST(VeskRun, DurationCutsTheRunAndSaysSo) {
    const std::string csv = outputPath("duration.csv");
    const ProgramRun run = runVesk({"run", dataPath("worked_impervious.basin"), "--rain", dataPath("one_step_storm.csv"),
                                    "--duration", "30", "--csv", csv});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(csvRows(readWholeFile(csv)).size(), 8u); // header, 0 and 6 steps
    EXPECT_NE(run.err.find("still draining"), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("warning"), std::string::npos) << run.out; // results only
}

// The shipped examples: the program's hydrograph is what stepping the library
// directly gives, the summary agrees with it, and the volumes close.
TEST(VeskRun, ShippedExamplesMatchTheLibraryStepByStep) {
    const std::string csv = outputPath("examples.csv");
    const std::string svg = outputPath("examples.svg");
    const ProgramRun run = runVesk({"run", examplePath("market_square.basin"), examplePath("cedar_creek.basin"),
                                    examplePath("meadowbrook.basin"), "--rain", examplePath("design_storm_2h.csv"),
                                    "--csv", csv, "--plot", svg});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("warning"), std::string::npos) << run.err;
    EXPECT_NE(readWholeFile(svg).find("</svg>"), std::string::npos);
    const Table rows = csvRows(readWholeFile(csv));
    ASSERT_EQ(rows[0], (std::vector<std::string>{"time_min", "rain_in", "MarketSquare_cfs", "CedarCreek_cfs",
                                                 "Meadowbrook_cfs", "outlet_cfs"}));
    for (std::size_t k = 1; k < rows.size(); ++k)
        EXPECT_EQ(rows[k][5], exactText(number(rows[k][2]) + number(rows[k][3]) + number(rows[k][4]))) << k;

    // MarketSquare as its file gives it (every fraction and coefficient set
    // or derived by the library itself), stepped here without the tool: its
    // time to peak (6.3 min) is short for 5-minute steps, so it is computed
    // at 1 minute, each 5-minute depth split in five.
    EXPECT_EQ(summaryRow(run.out, "computation step"), (std::vector<std::string>{"min", "-", "1", "5", "5"}));
    vesk_open();
    const VersionStamp stamp = VESK_VERSION_STAMP_INIT;
    vesk_checkversion(&stamp);
    BasinInput market{};
    market.area = 0.12;
    market.centroidLength = 0.25;
    market.dcif = 0.85;
    market.imperviousPct = 88;
    market.length = 0.5;
    market.rpf = 0.25;
    market.slope = 0.01;
    market.imperviousDepressionStorage = 0.08;
    market.perviousDepressionStorage = 0.35;
    market.initialInfiltrationRate = 4.5;
    market.infiltrationDecay = 0.0018;
    market.finalInfiltrationRate = 0.6;
    market.shape.uhTimeStep = 1;
    market.timeStep = 1;
    vesk_addbasin(&market, "market");
    ASSERT_EQ(vesk_geterror(), VESK_OK);
    double peak = 0.0;
    for (std::size_t k = 2; k < rows.size(); ++k) {
        const int end = static_cast<int>(number(rows[k][0]));
        double outflow = 0.0;
        for (int minute = end - 4; minute <= end; ++minute) {
            outflow = vesk_execute("market", number(rows[k][1]) / 5, minute);
            peak = std::max(peak, outflow);
        }
        EXPECT_EQ(exactText(outflow), rows[k][2]) << "at " << rows[k][0] << " min";
    }
    vesk_free();
    EXPECT_EQ(summaryRow(run.out, "peak outflow")[2], shownText(peak)); // after the outlet

    // Every basin is back to 0 at the end and only there (after the storm).
    for (std::size_t column = 2; column < 5; ++column) EXPECT_EQ(number(rows.back()[column]), 0.0);
    const std::vector<std::string> runoff = summaryRow(run.out, "runoff volume");
    const std::vector<std::string> outflow = summaryRow(run.out, "outflow volume");
    for (std::size_t b = 1; b < 5; ++b) // the outlet and each basin
        EXPECT_NEAR(number(outflow[b]) / number(runoff[b]), 1.0, 0.02) << b;
}

// The summary as CSV or JSON: every figure of the table, named with units,
// at full precision.
TEST(VeskRun, SummaryFilesHoldEveryFigure) {
    const std::string csv = outputPath("summary.csv"), json = outputPath("summary.JSON");
    const std::vector<std::string> base = {"run", examplePath("market_square.basin"), examplePath("meadowbrook.basin"),
                                           "--rain", examplePath("design_storm_2h.csv")};
    std::vector<std::string> arguments = base;
    arguments.insert(arguments.end(), {"--summary", csv});
    const ProgramRun run = runVesk(arguments);
    ASSERT_EQ(run.status, 0) << run.err;
    const Table rows = csvRows(readWholeFile(csv));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{
                           "basin", "area_sq_mi", "imperviousness_pct", "dcif_used", "rpf_used", "ct", "cp",
                           "computation_step_min", "uh_peak_cfs_per_in", "uh_peak_time_min", "uh_volume_pct",
                           "peak_outflow_cfs", "peak_outflow_time_min", "rain_volume_acre_ft",
                           "runoff_volume_acre_ft", "outflow_volume_acre_ft", "runoff_coefficient"}));
    // The outlet first: the basins' area and volumes summed, its own peak;
    // what only a basin has is left empty.
    EXPECT_EQ(rows[1][0], "outlet");
    EXPECT_EQ(number(rows[1][1]), 0.12 + 0.45);
    for (int column : {2, 3, 4, 5, 6, 7, 8, 9, 10}) EXPECT_EQ(rows[1][static_cast<std::size_t>(column)], "") << column;
    EXPECT_EQ(number(rows[1][13]), number(rows[2][13]) + number(rows[3][13]));
    EXPECT_GE(number(rows[1][11]), std::max(number(rows[2][11]), number(rows[3][11])));
    EXPECT_EQ(rows[3][0], "Meadowbrook");
    EXPECT_EQ(rows[2][7], "1");
    EXPECT_EQ(rows[3][7], "5");
    EXPECT_EQ(fixedText(number(rows[3][11]), 2), "163.35");
    EXPECT_EQ(rows[3][12], "55");
    EXPECT_GT(rows[3][11].size(), 8u); // full precision

    arguments = base;
    arguments.insert(arguments.end(), {"--summary", json});
    ASSERT_EQ(runVesk(arguments).status, 0);
    const std::string text = readWholeFile(json);
    EXPECT_EQ(text.substr(0, 84),
              "[\n  {\"basin\": \"outlet\", \"area_sq_mi\": 0.5700000000000001, \"imperviousness_pct\": null");
    EXPECT_NE(text.find("{\"basin\": \"MarketSquare\", "), std::string::npos) << text;
    EXPECT_NE(text.find("\"peak_outflow_cfs\": " + rows[3][11] + ","), std::string::npos) << text;
    EXPECT_NE(text.find("\"rain_volume_acre_ft\": "), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 4), "}\n]\n");
}

TEST(VeskUh, OrdinatesAsCsv) {
    const std::string csv = outputPath("ordinates.csv");
    const ProgramRun run = runVesk({"uh", dataPath("worked_impervious.basin"), "--csv", csv});
    ASSERT_EQ(run.status, 0) << run.err;
    const Table rows = csvRows(readWholeFile(csv));
    ASSERT_EQ(rows.size(), 27u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"time_min", "WorkedExample_cfs_per_in"}));
    EXPECT_EQ(rows[1][0], "5");
    EXPECT_NEAR(number(rows[1][1]), 114.8, 0.05);
}

TEST(VeskUh, WorkedExampleOrdinatesAndVolume) {
    const ProgramRun run = runVesk({"uh", dataPath("worked_impervious.basin")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("unit hydrograph: 26 ordinates every 5 min"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("= 100.0 % of one inch over the basin (53.333 acre-ft)"), std::string::npos) << run.out;
    const double expected[] = {114.8, 331.7, 609.3, 845.7, 893.5, 797.0, 644.6};
    for (int i = 0; i < 7; ++i) {
        const std::string key = "\n    " + std::to_string(i) + " ";
        const std::size_t at = run.out.find(key, run.out.find("cfs per in"));
        ASSERT_NE(at, std::string::npos) << i;
        std::istringstream line(run.out.substr(at + 1));
        int index = 0, minutes = 0;
        double ordinate = 0.0;
        line >> index >> minutes >> ordinate;
        EXPECT_EQ(minutes, 5 * (i + 1));
        EXPECT_NEAR(ordinate, expected[i], 0.05) << i;
    }
}

struct Fault {
    const char *label;
    std::vector<std::string> arguments;
    int status;
    const char *message; // expected in the error output
};

void PrintTo(const Fault &value, std::ostream *out) { *out << value.label; }

class Faults : public ::testing::TestWithParam<Fault> {};

TEST_P(Faults, ClearMessageAndNonZeroStatus) {
    const ProgramRun run = runVesk(GetParam().arguments);
    EXPECT_EQ(run.status, GetParam().status) << run.err;
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("peak outflow"), std::string::npos);
}

const std::string kBasin = dataPath("worked_impervious.basin");
const std::string kStorm = dataPath("one_step_storm.csv");

INSTANTIATE_TEST_SUITE_P(
    Program, Faults,
    ::testing::Values(
        Fault{"MissingBasinFile", {"run", "/nonexistent/a.basin", "--rain", kStorm}, 1,
              "vesk: /nonexistent/a.basin: cannot open the basin file: No such file or directory"},
        Fault{"MissingStormFile", {"run", kBasin, "--rain", "/nonexistent/s.csv"}, 1,
              "vesk: /nonexistent/s.csv: cannot open the storm file"},
        Fault{"NonNumericDepth",
              {"run", kBasin, "--rain", writeScratchFile("bad-depth.csv", "time,depth\n5,0.1\n10,lots\n")}, 1,
              "bad-depth.csv:3: rain depth 'lots' is not a number"},
        Fault{"NegativeDepth", {"run", kBasin, "--rain", writeScratchFile("negative.csv", "0.1\n-0.1\n")}, 1,
              "negative.csv:2: rain depth -0.1 is negative"},
        Fault{"UnevenTimes", {"run", kBasin, "--rain", writeScratchFile("uneven.csv", "5,0.1\n10,0.1\n12,0.1\n")},
              1, "uneven.csv:3: uneven time step"},
        Fault{"DecreasingTimes",
              {"run", kBasin, "--rain", writeScratchFile("decreasing.csv", "5,0.1\n10,0.1\n5,0.1\n")}, 1,
              "decreasing.csv:3: times must increase"},
        Fault{"StepCannotResample",
              {"run", kBasin, "--rain", writeScratchFile("tenmin.csv", "10,0.1\n20,0.1\n"), "--time-step", "4"}, 1,
              "tenmin.csv: the storm steps 10 min, which --time-step 4 can neither split evenly nor sum"},
        Fault{"OneColumnStormWithoutStep",
              {"run", writeScratchFile("no-step.csv", "name,area,length,centroidLength,imperviousPct,slope,"
                                       "imperviousDepressionStorage,perviousDepressionStorage,initialInfiltrationRate,"
                                       "finalInfiltrationRate,infiltrationDecay\nA,1,1,1,50,0.01,0.1,0.2,3,0.5,0.001\n"),
               "--rain", dataPath("three_depths.csv")},
              1, "three_depths.csv: the storm has no times, so its step is not known; give it with --time-step"},
        Fault{"ImperviousnessAbove100",
              {"run", writeScratchFile("165.basin", "T\n1 0 1 1\n165 2 0 0\n0 0.02\n0.1 0\n0 0 0\n0.5 0.1 0 0\n5 0 0\n"),
               "--rain", kStorm},
              1, "165.basin:3: basin T: imperviousPct 165 is impossible; allowed: 0 to 100 %"},
        Fault{"HexadecimalTimeStep", {"run", kBasin, "--rain", kStorm, "--time-step", "0x5"}, 1,
              "--time-step takes a whole number of minutes from 1 to 1440, got '0x5'"},
        Fault{"UnknownUnits", {"run", kBasin, "--rain", kStorm, "--units", "metric"}, 1,
              "--units takes 'us' or 'si' (any letter case), got 'metric'"},
        Fault{"BasinTypo",
              {"run", writeScratchFile("typo.basin", "T\n1 0 1 1\n100 2 0 0\n0 0.O2\n"), "--rain", kStorm}, 1,
              "typo.basin:4: value 10 (slope) '0.O2' is not a number"},
        Fault{"LibraryRefusesFlatBasin", {"run", dataPath("zero_slope.basin"), "--rain", kStorm}, 2,
              "zero_slope.basin: adding basin FlatLot: the library refused with VESK_ERR_UH_FIT (2): the unit "
              "hydrograph cannot be built"},
        Fault{"SameBasinTwice", {"run", kBasin, kBasin, "--rain", kStorm}, 2,
              "VESK_ERR_DUPLICATE_BASIN (6): a basin of the same name"},
        Fault{"UhCsvOverBasinFile", {"uh", writeScratchFile("keep.basin", readWholeFile(kBasin)), "--csv",
                                     outputPath("keep.basin")},
              1, "keep.basin: --csv would overwrite the input file"},
        Fault{"UnwritableCsv", {"run", kBasin, "--rain", kStorm, "--csv", "/nonexistent/out.csv"}, 1,
              "vesk: /nonexistent/out.csv: cannot write"},
        Fault{"UnknownCalculator", {"calc", "calcMagic", "1"}, 1, "no calculator is named 'calcMagic'"},
        Fault{"CalculatorArgumentCount", {"calc", "calcDCIF", "1"}, 1,
              "calcDCIF takes 2 argument(s), got 1; usage: vesk calc calcDCIF level imperviousPct"},
        Fault{"CalculatorIntegerArgument", {"calc", "calcDCIF", "1.5", "30"}, 1,
              "calcDCIF: level '1.5' is not a whole number"},
        Fault{"CalculatorNotANumber", {"calc", "calcDCIF", "1", "nan"}, 1,
              "calcDCIF: imperviousPct 'nan' is not a finite number"},
        Fault{"CalculatorHexadecimalLevel", {"calc", "calcDCIF", "0x1", "30"}, 1,
              "calcDCIF: level '0x1' is not a whole number"},
        Fault{"CalculatorInfinity", {"calc", "calcCT", "0.1", "-inf"}, 1, "calcCT: area '-inf' is not a finite number"},
        Fault{"CalculatorListWithArguments", {"calc", "--list", "calcDCIF"}, 1,
              "calc --list takes no arguments, got 'calcDCIF'"},
        Fault{"StormIsADirectory", {"run", kBasin, "--rain", "/"}, 1, "vesk: /: is a directory, not a storm file"},
        Fault{"BasinIsADirectory", {"run", "/", "--rain", kStorm}, 1, "vesk: /: is a directory, not a basin file"},
        // 1.5 million daily steps would pass the library's 32-bit clock.
        Fault{"StormLongerThanTheRunLimit",
              {"run", kBasin, "--time-step", "1440", "--rain", writeScratchFile("endless.csv", [] {
                   std::string depths;
                   for (int k = 0; k < 1500000; ++k) depths += "0\n";
                   return depths;
               }())},
              1, "endless.csv: 1500000 steps of 1440 min last longer than the 1000000 minutes a run simulates"},
        Fault{"CsvOverwritesTheStorm",
              {"run", kBasin, "--rain", writeScratchFile("kept.csv", "5,0.1\n"), "--csv", outputPath("./kept.csv")}, 1,
              "kept.csv: --csv would overwrite the input file"},
        Fault{"PlotOverwritesABasin", {"run", kBasin, "--rain", kStorm, "--plot", kBasin}, 1,
              "worked_impervious.basin: --plot would overwrite the input file"},
        Fault{"PlotIsTheCsv",
              {"run", kBasin, "--rain", kStorm, "--csv", outputPath("both.out"), "--plot", outputPath("both.out")}, 1,
              "both.out: --plot and --csv name the same file"},
        Fault{"EndlessStormDevice", {"run", kBasin, "--rain", "/dev/zero"}, 1,
              "/dev/zero:1: line longer than 4096 characters"},
        Fault{"HugeDepth", {"run", kBasin, "--rain", writeScratchFile("huge.csv", "5,1e308\n")}, 1,
              "huge.csv:1: rain depth 1e308 in in one step is beyond the 100 in"},
        // Twenty one-minute steps of 60 in summed into one: beyond what a
        // run takes in a step.
        Fault{"SummedStepBeyondTheLibrarysDepth",
              {"run", kBasin, "--time-step", "20", "--rain", writeScratchFile("summed.csv", [] {
                   std::string rows;
                   for (int t = 1; t <= 20; ++t) rows += std::to_string(t) + ",60\n";
                   return rows;
               }())},
              1, "summed.csv: summed into 20-minute steps, step 1 holds 1200 in, beyond the 100 in a run takes"},
        Fault{"NoCommand", {}, 3, "A subcommand is required"},
        Fault{"MistypedCommand", {"runn", kBasin}, 3, "vesk: unknown command 'runn'; did you mean 'run'?"},
        Fault{"MistypedOption", {"run", kBasin, "--rian", kStorm}, 3, "vesk: unknown option '--rian'; did you mean '--rain'?"},
        Fault{"UnknownCommand", {"simulate"}, 3, "vesk: unknown command 'simulate'\nRun 'vesk --help' for usage."},
        Fault{"ZeroTimeStep", {"run", kBasin, "--rain", kStorm, "--time-step", "0"}, 1,
              "--time-step takes a whole number of minutes from 1 to 1440, got '0'"}),
    [](const auto &info) { return std::string(info.param.label); });

// The run ends at the 1,000,000-minute limit even when a storm's last depth
// falls on it, and says that water was still draining.
TEST(VeskRun, NoRunPassesTheMinuteLimit) {
    const std::string csv = outputPath("limit.csv");
    const ProgramRun run = runVesk({"run", kBasin, "--rain", writeScratchFile("limit-storm.csv", "999995,0\n1000000,1\n"),
                                    "--csv", csv});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string text = readWholeFile(csv);
    const std::size_t lastLine = text.rfind('\n', text.size() - 2);
    EXPECT_EQ(text.substr(lastLine + 1, 8), "1000000,");
    EXPECT_NE(run.err.find("the run stopped at the 1000000-minute limit with water still draining"),
              std::string::npos)
        << run.err;
}

// Overflowing arithmetic gives no number rather than inf or nan.
TEST(VeskRun, NonFiniteOutflowIsRefused) {
    const ProgramRun run = runVesk(
        {"run", writeScratchFile("vast.basin", "Vast\n1e301 0 1 1\n100 2 0 0\n0 0.02\n0.1 0\n0 0 0\n0.5 0.1 0 0\n5 0 0\n"),
         "--rain", writeScratchFile("deep.csv", "5,100\n10,100\n")});
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_NE(run.err.find("vast.basin: basin Vast: the run's figures are beyond what can be computed"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.out, "");
}

TEST(VeskProgram, VersionAndExitStatusesInHelp) {
    const ProgramRun version = runVesk({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "vesk 1.3.3.6, built against veskdll133 1.3.3.6, running with libveskdll133 1.3.3.6\n");
    const ProgramRun help = runVesk({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Exit status: 0 success; 1 faulty input"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("3 a malformed command line"), std::string::npos) << help.out;
    // Every option says what it takes (a unit or its words), never a bare TEXT.
    for (const char *command : {"run", "uh", "storm", "check"}) {
        const ProgramRun commandHelp = runVesk({command, "--help"});
        EXPECT_EQ(commandHelp.out.find(" TEXT"), std::string::npos) << commandHelp.out;
    }
    const ProgramRun run = runVesk({"run", "--help"});
    for (const char *shown : {"--time-step MIN", "--volume-tolerance PCT", "--events HOURS", "--units us|si",
                              "--report FILE.html", "BASIN_FILE FILE"})
        EXPECT_NE(run.out.find(shown), std::string::npos) << shown;
}

// '-' reads the storm from standard input and writes the hydrograph to
// standard output; the summary table then goes to standard error.
TEST(VeskProgram, DashMeansStandardInputAndOutput) {
    const std::string out = outputPath("pipe.out"), err = outputPath("pipe.err");
    const std::string command = std::string(VESK_PROGRAM) +
                                " storm --a 60 --b 10 --c 0.8 --duration 30 --step 5 | " + VESK_PROGRAM + " run '" +
                                kBasin + "' --rain - --csv - >'" + out + "' 2>'" + err + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << readWholeFile(err);
    const Table rows = csvRows(readWholeFile(out));
    ASSERT_GT(rows.size(), 8u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"time_min", "rain_in", "WorkedExample_cfs"}));
    EXPECT_NE(readWholeFile(err).find("peak outflow"), std::string::npos);
    const std::string bad = std::string("printf '5,0.1\\n10,x\\n' | ") + VESK_PROGRAM + " run '" + kBasin +
                            "' --rain - 2>'" + err + "' >/dev/null";
    EXPECT_NE(std::system(bad.c_str()), 0);
    EXPECT_NE(readWholeFile(err).find("vesk: standard input:2: rain depth 'x' is not a number"), std::string::npos)
        << readWholeFile(err);
}

// Results that cannot be written are a failure: the status says so.
TEST(VeskProgram, UnwritableStandardOutputFails) {
    for (const std::string arguments : {"calc calcDCIF 1 30", "calc --list"}) {
        const std::string command = std::string(VESK_PROGRAM) + " " + arguments + " >/dev/full 2>/dev/null";
        const int raw = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(raw)) << arguments;
        EXPECT_EQ(WEXITSTATUS(raw), 1) << arguments;
    }
}

struct CalcCase {
    const char *label;
    std::vector<std::string> arguments;
    const char *result;
};

void PrintTo(const CalcCase &value, std::ostream *out) { *out << value.label; }

class Calculations : public ::testing::TestWithParam<CalcCase> {};

TEST_P(Calculations, PrintsTheExactResult) {
    std::vector<std::string> arguments{"calc"};
    arguments.insert(arguments.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    const ProgramRun run = runVesk(arguments);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, std::string(GetParam().result) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Program, Calculations,
    ::testing::Values(
        CalcCase{"FloatTableValueWidened", {"DCIFgetParam", "1", "35", "b"}, "-0.019999999552965164"},
        CalcCase{"RegionalLimit", {"calcTc", "10", "20", "5", "15", "25"}, "15"},
        CalcCase{"PrefixAndCaseIgnored", {"VESK_CALCMINTC", "25"}, "10"},
        CalcCase{"NegativeArgumentIsANumber", {"calcConvCoeff", "-0.1"}, "0"},
        CalcCase{"SoilGroupMean", {"runoffCoeff", "B", "5", "0"}, "0.07499999925494194"},
        CalcCase{"UnusedArgumentLeftOut", {"CPgetParam", "45", "b"}, "0.228"},
        CalcCase{"UnusedArgumentGiven", {"CPgetParam", "45", "123", "b"}, "0.228"},
        CalcCase{"SmallAreaCorrection", {"calcCT", "0.1", "0.1"}, "0.1327129664035194"},
        CalcCase{"WholeNumberSpelledDecimal", {"calcDCIF", "1.0", "35"}, "0.43499998375773424"}),
    [](const auto &info) { return std::string(info.param.label); });

// A value outside a relation's tables gives its neutral value: printed, with
// a warning naming the argument.
TEST(VeskCalc, ArgumentsOutsideTheTablesAreWarnedAbout) {
    struct Case {
        std::vector<std::string> arguments;
        const char *result, *warning;
    };
    const Case cases[] = {
        {{"calcDCIF", "3", "65"}, "0.00001", "calcDCIF: level '3' is not a table level (0, 1 or 2)"},
        {{"calcRPF", "1", "120"}, "0.00001", "calcRPF: imperviousPct '120' lies outside the tables' 0 to 100 %"},
        {{"DCIFgetParam", "1", "35", "A"}, "0", "DCIFgetParam: key 'A' selects no column (a or b, lower case)"},
        {{"CTgetParam", "35", "d"}, "0", "CTgetParam: key 'd' selects no column (a, b or c, lower case)"},
        {{"runoffCoeff", "E", "10", "50"}, "0", "runoffCoeff: soilGroup 'E' is not a soil group of the relation"},
        {{"runoffCoeffCorr", "C", "2", "50"}, "0", "runoffCoeffCorr: returnPeriod '2' is not in the table"},
    };
    for (const Case &c : cases) {
        std::vector<std::string> arguments{"calc"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const ProgramRun run = runVesk(arguments);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, exactText(number(c.result)) + "\n") << c.warning;
        EXPECT_NE(run.err.find(std::string("warning: ") + c.warning), std::string::npos) << run.err;
    }
    const ProgramRun inside = runVesk({"calc", "calcDCIF", "1", "35"});
    EXPECT_EQ(inside.err, "");
    const ProgramRun list = runVesk({"calc", "--list"});
    EXPECT_NE(list.out.find("soilGroup: A, C or D (upper case; any other, B included, reads as A)"), std::string::npos);
    EXPECT_NE(list.out.find("soilGroup: A, B, C or D (upper case; B the mean of A and C, D as C)"), std::string::npos);
}

TEST(VeskCalc, ListNamesAllTwentyFiveWithUnits) {
    const ProgramRun run = runVesk({"calc", "--list"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("The library's 25 calculators"), std::string::npos);
    std::size_t entries = 0;
    for (std::size_t at = run.out.find("\n  "); at != std::string::npos; at = run.out.find("\n  ", at + 1))
        if (run.out.compare(at + 3, 1, " ") != 0) ++entries;
    EXPECT_EQ(entries, 25u);
    EXPECT_NE(run.out.find("calcEIA dcif rpf imperviousPct rainfall infiltration"), std::string::npos);
    EXPECT_NE(run.out.find("area: sq mi"), std::string::npos);
    EXPECT_NE(run.out.find("flowTravelTime length velocity [unused]"), std::string::npos);
}

} // namespace
} // namespace vesk::tool

namespace vesk::tool {
namespace {

// Two hundred basins: a row per basin, the outlet first, no line wider than
// 160 characters, and each cause of warning on one line.
TEST(VeskRun, HundredsOfBasinsStayReadable) {
    std::string table = "name,area,length,centroidLength,imperviousPct,slope,imperviousDepressionStorage,"
                        "perviousDepressionStorage,initialInfiltrationRate,finalInfiltrationRate,infiltrationDecay,"
                        "uhTimeStep\n";
    for (int b = 0; b < 200; ++b)
        table += "Subcatchment-" + std::to_string(1000 + b) + "," + std::to_string(0.05 + 0.01 * b) + ",0.6,0.3," +
                 std::to_string(20 + b % 70) + "," + (b % 10 == 0 ? "0.6" : "0.01") + ",0.1,0.3,3,0.5,0.0015,30\n";
    const ProgramRun run = runVesk({"run", writeScratchFile("two-hundred.csv", table), "--rain",
                                    examplePath("design_storm_2h.csv"), "--duration", "60"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const std::string *text : {&run.out, &run.err}) {
        std::istringstream lines(*text);
        for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 160u) << line;
    }
    EXPECT_NE(run.out.find("\noutlet "), std::string::npos) << run.out.substr(0, 600);
    EXPECT_NE(run.out.find("\nSubcatchment-1199 "), std::string::npos);
    // Steep slopes (20 basins), unit hydrographs at another step than the
    // table's 30 min (all), outflow cut short by the duration (all), storm
    // steps cut (the run): one line each.
    for (const char *cause : {"unusual values, accepted (20 times, 20 basins)",
                              "note: unit hydrographs built at their computation step",
                              "the outflow misses the run's excess volume", "storm steps lie beyond"}) {
        std::size_t count = 0;
        for (std::size_t at = run.err.find(cause); at != std::string::npos; at = run.err.find(cause, at + 1)) ++count;
        EXPECT_EQ(count, 1u) << cause << "\n" << run.err;
    }
}

} // namespace
} // namespace vesk::tool

namespace vesk::tool {
namespace {

// Units named in any letter case, SI wording throughout.
TEST(VeskRun, UnitsInAnyLetterCaseAndSiWording) {
    const std::string storm = writeScratchFile("si-storm.csv", "time_min,depth_mm\n5,10\n10,20\n15,5\n");
    const ProgramRun run =
        runVesk({"run", dataPath("worked_impervious.basin"), "--rain", storm, "--units", "SI", "--duration", "20"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("% of 25.4 mm"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("% of 1 in"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find(" m3); cause: the run stopped"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("acre-ft"), std::string::npos) << run.err;
    const ProgramRun uh = runVesk({"uh", dataPath("worked_impervious.basin"), examplePath("meadowbrook.basin"),
                                   "--units", "Si"});
    ASSERT_EQ(uh.status, 0) << uh.err;
    EXPECT_NE(uh.out.find("basin Meadowbrook as prepared"), std::string::npos); // several basins
    EXPECT_NE(uh.out.find("of 25.4 mm over the basin"), std::string::npos) << uh.out;
}

} // namespace
} // namespace vesk::tool
