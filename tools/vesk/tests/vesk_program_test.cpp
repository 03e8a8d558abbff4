// End-to-end runs of the vesk program: the shipped examples, a basin whose
// numbers are worked by hand, faulty input, and the calculators.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

#include <sys/wait.h>

#include "number_text.h"
#include "test_files.h"
#include "veskdll133.h"

namespace vesk::tool {
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

    EXPECT_EQ(summaryRow(run.out, "DCIF used"), (std::vector<std::string>{"1.000"}));
    EXPECT_EQ(summaryRow(run.out, "peak outflow time"), (std::vector<std::string>{"min", "25"}));
    EXPECT_NEAR(number(summaryRow(run.out, "peak outflow")[1]), 0.95 * 893.5, 0.1);
    EXPECT_EQ(summaryRow(run.out, "rain volume")[1], "58.667");   // 1.1 in over 640 acres
    EXPECT_EQ(summaryRow(run.out, "runoff volume")[1], "50.667"); // 0.95 in
    EXPECT_EQ(summaryRow(run.out, "runoff coefficient")[0], "0.864");
    EXPECT_EQ(summaryRow(run.out, "unit hydrograph peak time")[1], "23.9");
    EXPECT_EQ(run.out.find("warning"), std::string::npos) << run.out;
}

TEST(VeskRun, TimeStepOtherThanTheBasinsIsRefused) {
    // Stepping at 10 minutes would take one 5-minute ordinate per 10 minutes
    // and double the outflow volume; the library refuses such a basin.
    const ProgramRun run = runVesk({"run", dataPath("worked_impervious.basin"), "--rain",
                                    dataPath("three_depths.csv"), "--time-step", "10"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("--time-step 10 min differs from the 5-minute uhTimeStep of"), std::string::npos)
        << run.err;
}

TEST(VeskRun, DurationCutsTheRunAndSaysSo) {
    const std::string csv = outputPath("duration.csv");
    const ProgramRun run = runVesk({"run", dataPath("worked_impervious.basin"), "--rain", dataPath("one_step_storm.csv"),
                                    "--duration", "30", "--csv", csv});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(csvRows(readWholeFile(csv)).size(), 8u); // header, 0 and 6 steps
    EXPECT_NE(run.out.find("still draining"), std::string::npos) << run.out;
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
    EXPECT_EQ(run.out.find("warning"), std::string::npos) << run.out;
    EXPECT_NE(readWholeFile(svg).find("</svg>"), std::string::npos);
    const Table rows = csvRows(readWholeFile(csv));
    ASSERT_EQ(rows[0], (std::vector<std::string>{"time_min", "rain_in", "MarketSquare_cfs", "CedarCreek_cfs",
                                                 "Meadowbrook_cfs"}));

    // MarketSquare as its file gives it (every fraction and coefficient set
    // or derived by the library itself), stepped here without the tool.
    vesk_open();
    const VersionStamp stamp{1, 3, 6, 3};
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
    market.shape.uhTimeStep = 5;
    market.timeStep = 5;
    vesk_addbasin(&market, "market");
    ASSERT_EQ(vesk_geterror(), VESK_OK);
    double peak = 0.0;
    for (std::size_t k = 2; k < rows.size(); ++k) {
        const double outflow = vesk_execute("market", number(rows[k][1]), static_cast<int32_t>(number(rows[k][0])));
        EXPECT_EQ(exactText(outflow), rows[k][2]) << "at " << rows[k][0] << " min";
        peak = std::max(peak, outflow);
    }
    vesk_free();
    EXPECT_EQ(summaryRow(run.out, "peak outflow")[1], fixedText(peak, 2));

    // Every basin is back to 0 at the end and only there (after the storm).
    for (std::size_t column = 2; column < 5; ++column) EXPECT_EQ(number(rows.back()[column]), 0.0);
    const std::vector<std::string> runoff = summaryRow(run.out, "runoff volume");
    const std::vector<std::string> outflow = summaryRow(run.out, "outflow volume");
    for (std::size_t b = 1; b < 4; ++b)
        EXPECT_NEAR(number(outflow[b]) / number(runoff[b]), 1.0, 0.05) << b;
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
        Fault{"StormStepDiffers", {"run", kBasin, "--rain", writeScratchFile("tenmin.csv", "10,0.1\n20,0.1\n")}, 1,
              "tenmin.csv: the storm's times step 10 min but the simulation steps 5 min"},
        Fault{"BasinTypo",
              {"run", writeScratchFile("typo.basin", "T\n1 0 1 1\n100 2 0 0\n0 0.O2\n"), "--rain", kStorm}, 1,
              "typo.basin:4: value 10 (slope) '0.O2' is not a number"},
        Fault{"LibraryRefusesFlatBasin", {"run", dataPath("zero_slope.basin"), "--rain", kStorm}, 2,
              "zero_slope.basin: adding basin FlatLot: the library refused with VESK_ERR_UH_FIT (2): the unit "
              "hydrograph cannot be built"},
        Fault{"SameBasinTwice", {"run", kBasin, kBasin, "--rain", kStorm}, 2,
              "VESK_ERR_DUPLICATE_BASIN (6): a basin of the same name"},
        Fault{"UnwritableCsv", {"run", kBasin, "--rain", kStorm, "--csv", "/nonexistent/out.csv"}, 1,
              "vesk: /nonexistent/out.csv: cannot write"},
        Fault{"UnknownCalculator", {"calc", "calcMagic", "1"}, 1, "no calculator is named 'calcMagic'"},
        Fault{"CalculatorArgumentCount", {"calc", "calcDCIF", "1"}, 1,
              "calcDCIF takes 2 argument(s), got 1; usage: vesk calc calcDCIF level imperviousPct"},
        Fault{"CalculatorIntegerArgument", {"calc", "calcDCIF", "1.5", "30"}, 1,
              "calcDCIF: level '1.5' is not a whole number"},
        Fault{"CalculatorNotANumber", {"calc", "calcDCIF", "1", "nan"}, 1,
              "calcDCIF: imperviousPct 'nan' is not a finite number"},
        Fault{"CalculatorInfinity", {"calc", "calcCT", "0.1", "-inf"}, 1, "calcCT: area '-inf' is not a finite number"},
        Fault{"CalculatorListWithArguments", {"calc", "--list", "calcDCIF"}, 1,
              "calc --list takes no arguments, got 'calcDCIF'"},
        Fault{"StormIsADirectory", {"run", kBasin, "--rain", "/"}, 1, "vesk: /: is a directory, not a storm file"},
        Fault{"BasinIsADirectory", {"run", "/", "--rain", kStorm}, 1, "vesk: /: is a directory, not a basin file"},
        Fault{"StormLongerThanTheRunLimit",
              {"run", kBasin, "--rain", writeScratchFile("endless.csv", [] {
                   std::string depths;
                   for (int k = 0; k < 200001; ++k) depths += "0\n";
                   return depths;
               }())},
              1, "endless.csv: 200001 steps of 5 min last longer than the 1000000 minutes vesk simulates"},
        Fault{"NoCommand", {}, 106, "A subcommand is required"},
        Fault{"ZeroTimeStep", {"run", kBasin, "--rain", kStorm, "--time-step", "0"}, 105, "--time-step"}),
    [](const auto &info) { return std::string(info.param.label); });

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
        CalcCase{"SmallAreaCorrection", {"calcCT", "0.1", "0.1"}, "0.1327129664035194"}),
    [](const auto &info) { return std::string(info.param.label); });

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
