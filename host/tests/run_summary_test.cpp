// The summary figures, volume checks, unit conversion and the text of the
// result files.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "hydrograph_csv.h"
#include "run_summary.h"
#include "summary_report.h"
#include "text_escapes.h"
#include "units.h"
#include "volume_checks.h"

namespace vesk::host {
namespace {

// The sampled unit hydrograph of a 1 sq mi basin (ordinates rounded to 0.1
// cfs per inch, every 5 min) holds 38702 ft3 x ... of the 38720 of one inch.
const std::vector<double> kWorkedOrdinates = {114.8, 331.7, 609.3, 845.7, 893.5, 797.0, 644.6, 552.4, 460.3,
                                              404.9, 354.9, 304.9, 254.9, 204.9, 171.2, 154.6, 137.9, 121.2,
                                              104.6, 87.9,  71.2,  54.5,  37.9,  21.2,  4.5,   0.0};

TEST(VolumeChecks, UnitsOfTheHydrographVolume) {
    // 1 cfs for 726 minutes is 43560 ft3, one acre-ft.
    EXPECT_DOUBLE_EQ(hydrographVolume(std::vector<double>(726 / 6, 1.0), 6), 1.0);
    // One inch over one square mile: 640 acres x 1/12 ft.
    EXPECT_DOUBLE_EQ(depthVolume(1.0, 1.0), 640.0 / 12.0);
}

TEST(VolumeChecks, WorkedUnitHydrographHoldsOneInch) {
    const VolumeCheck check = unitHydrographCheck(kWorkedOrdinates, 5, 1.0);
    EXPECT_NEAR(check.actual * 43560.0 / 60.0, 38702.0, 1.0); // in cfs x minutes, as the method sums it
    EXPECT_NEAR(check.ratio(), 0.9995, 0.0005);
    EXPECT_FALSE(check.off());
}

TEST(VolumeChecks, TenPercentIsTheLimit) {
    struct Case {
        double expected, actual;
        bool off;
    };
    for (const Case &c : {Case{10.0, 10.99, false}, Case{10.0, 11.01, true}, Case{10.0, 9.01, false},
                          Case{10.0, 8.99, true}, Case{0.0, 0.0, false}, Case{0.0, 0.1, true}}) {
        const VolumeCheck check{c.expected, c.actual};
        EXPECT_EQ(check.off(), c.off) << c.expected << " vs " << c.actual;
    }
    EXPECT_TRUE((VolumeCheck{1.0, std::nan("")}).off());
}

TEST(VolumeChecks, OutflowAgainstExcessOfTheRun) {
    // 0.5 in of excess over 0.1 sq mi, all of it leaving at 10 cfs: 5 steps of
    // 5 min give 15000 ft3; the excess is 0.5/12 x 0.1 x 640 acre-ft.
    const VolumeCheck check = outflowCheck(50.0, 5, 0.5, 0.1);
    EXPECT_DOUBLE_EQ(check.actual, 15000.0 / 43560.0);
    EXPECT_DOUBLE_EQ(check.expected, 0.5 * 0.1 * 640.0 / 12.0);
}

// Two basins over four 5-minute steps, as a run would leave them.
RunResult twoBasinRun() {
    RunResult result;
    result.dataStep = result.reportStep = 5;
    result.rain = {0.5, 0.0, 0.0, 0.0};
    result.rainDepth = 0.5;
    BasinRun a;
    a.name = "North, upper";
    a.prepared.area = 0.5;
    a.computation = StepChoice{5, 1.0, 12.0, true};
    a.outflow = {1.0, 3.0, 3.0, 0.0};
    a.peakOutflow = 3.0;
    a.peakTime = 10.0;
    a.outflowSum = 7.0;
    a.excessDepth = 0.2;
    BasinRun b;
    b.name = "B<&>";
    b.prepared.area = 0.25;
    b.computation = StepChoice{5, 1.0, 12.0, true};
    b.outflow = {0.5, 0.25, 0.0, 0.0};
    b.peakOutflow = 0.5;
    b.peakTime = 5.0;
    b.outflowSum = 0.75;
    result.basins = {a, b};
    result.outlet = {1.5, 3.25, 3.0, 0.0};
    return result;
}

TEST(Summary, FiguresComeFromTheComputationGrid) {
    const RunResult result = twoBasinRun();
    const BasinSummary a = summarize(result.basins[0], result);
    EXPECT_EQ(a.peakOutflow, 3.0);
    EXPECT_EQ(a.peakTime, 10.0);
    EXPECT_DOUBLE_EQ(a.rainVolume, 0.5 * 0.5 * 640.0 / 12.0);
    EXPECT_DOUBLE_EQ(a.runoffVolume, 0.2 * 0.5 * 640.0 / 12.0);
    EXPECT_DOUBLE_EQ(a.outflowVolume, 7.0 * 5.0 * 60.0 / 43560.0);
    EXPECT_DOUBLE_EQ(a.runoffCoefficient, 0.4);
}

TEST(Summary, WarnsOfVolumeMismatchWithItsCause) {
    RunResult result = twoBasinRun();
    result.end = RunEnd::Duration;
    result.basins[0].lastOutflow = 1.0; // still draining when the run stopped
    result.basins[1].computation.peakResolved = false;
    result.basins[1].computation.lagMinutes = 1.25;
    std::string all;
    for (const Warning &warning : runWarnings(result)) all += warning.text + "\n";
    EXPECT_NE(all.find("basin North, upper: the outflow hydrograph holds"), std::string::npos) << all;
    EXPECT_NE(all.find("the run stopped while the basin was still draining"), std::string::npos) << all;
    EXPECT_NE(all.find("basin B<&>: the outflow hydrograph holds - of the run's excess"), std::string::npos) << all;
    EXPECT_NE(all.find("cause: the unit hydrograph sampled at 5 min holds 100.0 % of one inch"), std::string::npos)
        << all;
    EXPECT_NE(all.find("basin B<&>: its time to peak of 1.25 min is short even for the 5-minute step"),
              std::string::npos)
        << all;
}

TEST(Csv, HeaderRowsAndQuoting) {
    std::ostringstream out;
    writeHydrographCsv(out, twoBasinRun());
    EXPECT_EQ(out.str(), "time_min,rain_in,\"North, upper_cfs\",B<&>_cfs,outlet_cfs\n"
                         "0,0,0,0,0\n"
                         "5,0.5,1,0.5,1.5\n"
                         "10,0,3,0.25,3.25\n"
                         "15,0,3,0,3\n"
                         "20,0,0,0,0\n");
    EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
}

TEST(Summary, NoRainGivesACoefficientOfZeroAndTimesCountFromTheEventStart) {
    RunResult result = twoBasinRun();
    result.rainDepth = 0.0;
    EXPECT_EQ(summarize(result.basins[0], result).runoffCoefficient, 0.0);
    const std::vector<SummaryField> &fields = summaryFields(UnitSystem::Us);
    const std::vector<double> figures = summaryFigures(result, result.basins[0], 1920.0);
    ASSERT_EQ(fields.size(), figures.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name == "peak_outflow_time_min") {
            EXPECT_EQ(figures[i], 1930.0);
        }
    }
}

// Every quantity converts by the factor that defines its SI unit.
TEST(Units, EveryQuantityConvertsByItsDefiningFactor) {
    struct Case {
        Quantity quantity;
        double siPerUs;
        const char *us, *si;
    };
    const Case cases[] = {
        {Quantity::Area, 2.589988110336, "sq mi", "km2"},
        {Quantity::Length, 1.609344, "mi", "km"},
        {Quantity::Depth, 25.4, "in", "mm"},
        {Quantity::Rate, 25.4, "in/h", "mm/h"},
        {Quantity::Flow, 0.028316846592, "cfs", "m3/s"},
        {Quantity::Volume, 1233.48183754752, "acre-ft", "m3"},
        {Quantity::UnitFlow, 0.0011148364800000002, "cfs/in", "m3/s/mm"}, // 0.028316846592 / 25.4
        {Quantity::Unchanged, 1.0, "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.us);
        EXPECT_EQ(fromLibraryUnits(1.0, c.quantity, UnitSystem::Si), c.siPerUs);
        EXPECT_EQ(fromLibraryUnits(3.0, c.quantity, UnitSystem::Us), 3.0);
        EXPECT_EQ(toLibraryUnits(c.siPerUs, c.quantity, UnitSystem::Si), 1.0);
        EXPECT_EQ(unitName(c.quantity, UnitSystem::Us), c.us);
        EXPECT_EQ(unitName(c.quantity, UnitSystem::Si), c.si);
    }
}

TEST(TextEscapes, JsonStringsAreAlwaysValidJson) {
    struct Case {
        std::string text, json;
    };
    const Case cases[] = {
        {"plain", "\"plain\""},
        {"say \"hi\" \\ back", "\"say \\\"hi\\\" \\\\ back\""},
        {"tab\tend", "\"tab\\u0009end\""},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\xA7", "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\xA7\""}, // kept as UTF-8
        {"caf\xE9", "\"caf\\ufffd\""},                       // Latin-1
        {"\xC0\xAF", "\"\\ufffd\\ufffd\""},                     // an overlong '/'
        {"\xED\xA0\x80", "\"\\ufffd\\ufffd\\ufffd\""},            // a surrogate
        {"\xF4\x90\x80\x80", "\"\\ufffd\\ufffd\\ufffd\\ufffd\""},   // beyond U+10FFFF
        {"\xE2\x82", "\"\\ufffd\\ufffd\""},                     // cut short
    };
    for (const Case &c : cases) EXPECT_EQ(jsonString(c.text), c.json) << c.text;
    EXPECT_TRUE(isValidUtf8("caf\xC3\xA9"));
    EXPECT_FALSE(isValidUtf8("\xED\xBF\xBF"));
}

} // namespace
} // namespace vesk::host
