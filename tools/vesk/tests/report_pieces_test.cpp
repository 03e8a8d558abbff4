// Volume checks, CSV and SVG text, the summary's peak and coefficients.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "hydrograph_csv.h"
#include "hydrograph_svg.h"
#include "run_report.h"
#include "text_table.h"
#include "volume_checks.h"

namespace vesk::tool {

using namespace vesk::host;
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
    const VolumeCheck check = outflowCheck({10, 10, 10, 10, 10}, 5, {0.25, 0.25}, 0.1);
    EXPECT_DOUBLE_EQ(check.actual, 15000.0 / 43560.0);
    EXPECT_DOUBLE_EQ(check.expected, 0.5 * 0.1 * 640.0 / 12.0);
}

RunResult twoBasinRun() {
    RunResult result;
    result.timeStep = 5;
    result.rain = {0.5, 0.0, 0.0, 0.0};
    BasinRun a;
    a.name = "North, upper";
    a.prepared.area = 0.5;
    a.outflow = {1.0, 3.0, 3.0, 0.0};
    a.stepExcess = {0.2, 0.0, 0.0, 0.0};
    BasinRun b;
    b.name = "B<&>";
    b.prepared.area = 0.25;
    b.outflow = {0.5, 0.25, 0.0, 0.0};
    b.stepExcess = {0.0, 0.0, 0.0, 0.0};
    result.basins = {a, b};
    return result;
}

TEST(Summary, FirstOfEqualPeaksAndRunoffCoefficient) {
    const RunResult result = twoBasinRun();
    const BasinSummary a = summarize(result.basins[0], result.rain, result.timeStep);
    EXPECT_EQ(a.peakOutflow, 3.0);
    EXPECT_EQ(a.peakTime, 10.0);
    EXPECT_DOUBLE_EQ(a.rainVolume, 0.5 * 0.5 * 640.0 / 12.0);
    EXPECT_DOUBLE_EQ(a.runoffVolume, 0.2 * 0.5 * 640.0 / 12.0);
    EXPECT_DOUBLE_EQ(a.runoffCoefficient, 0.4);
}

TEST(Summary, WarnsOfVolumeMismatchWithItsCause) {
    RunResult result = twoBasinRun();
    result.basins[0].prepared.shape.uhTimeStep = 5;
    result.basins[0].prepared.uhPeakTime = 4.0;
    std::string all;
    for (const Warning &warning : runWarnings(result)) all += warning.text + "\n";
    EXPECT_NE(all.find("basin North, upper: the outflow hydrograph holds"), std::string::npos) << all;
    EXPECT_NE(all.find("the 5-minute step is coarse for the basin's 4.0-minute time to peak"), std::string::npos)
        << all;
    EXPECT_NE(all.find("basin B<&>: the outflow hydrograph holds - of the run's excess"), std::string::npos) << all;
    EXPECT_NE(all.find("basin B<&>: the sampled unit hydrograph holds 0.0 % of one inch"), std::string::npos) << all;
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

TEST(Svg, TextIsEscapedForXml) {
    EXPECT_EQ(xmlText("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&apos;");
    EXPECT_EQ(xmlText("tab\there"), "tab?here");
    EXPECT_EQ(xmlText("caf\xC3\xA9"), "caf\xC3\xA9");  // valid UTF-8 stays
    EXPECT_EQ(xmlText("caf\xE9"), "caf?");             // a stray Latin-1 byte does not
}

TEST(Svg, AxesInTheReportsUnits) {
    RunResult result = twoBasinRun();
    std::ostringstream us;
    writeHydrographSvg(us, result);
    EXPECT_NE(us.str().find("outflow (cfs)"), std::string::npos);
    EXPECT_NE(us.str().find("rain (in per 5-min step)"), std::string::npos);
    result.units = UnitSystem::Si;
    std::ostringstream si;
    writeHydrographSvg(si, result);
    EXPECT_NE(si.str().find("outflow (m3/s)"), std::string::npos);
    EXPECT_NE(si.str().find("rain (mm per 5-min step)"), std::string::npos);
    // 3 cfs is 0.085 m3/s: the flow axis is ticked in hundredths up to 0.1.
    EXPECT_NE(si.str().find(">0.1<"), std::string::npos) << si.str();
}

TEST(Svg, TickSpacingIsOneTwoOrFive) {
    struct Case {
        double top;
        double spacing;
    };
    for (const Case &c : {Case{100, 20}, Case{120, 20}, Case{7, 2}, Case{0.9, 0.2}, Case{1.0, 0.2}, Case{3000, 500}})
        EXPECT_DOUBLE_EQ(tickSpacing(c.top, 6), c.spacing) << c.top;
}

TEST(Svg, ChartHasBarsLinesLegendAndAxisUnits) {
    std::ostringstream out;
    writeHydrographSvg(out, twoBasinRun());
    const std::string svg = out.str();
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("time (min)"), std::string::npos);
    EXPECT_NE(svg.find("outflow (cfs)"), std::string::npos);
    EXPECT_NE(svg.find("rain (in per 5-min step)"), std::string::npos);
    EXPECT_NE(svg.find(">B&lt;&amp;&gt;</text>"), std::string::npos); // legend entry, escaped
    EXPECT_NE(svg.find(">rain</text>"), std::string::npos);
    size_t lines = 0;
    for (size_t at = svg.find("<polyline"); at != std::string::npos; at = svg.find("<polyline", at + 1)) ++lines;
    EXPECT_EQ(lines, 2u);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

TEST(TextTable, LabelsLeftNumbersRight) {
    TextTable table({"basin", "", "A", "Long name"});
    table.addRow({"area", "sq mi", "1.000", "0.25"});
    std::ostringstream out;
    table.print(out);
    EXPECT_EQ(out.str(), "basin             A  Long name\n"
                         "------------------------------\n"
                         "area   sq mi  1.000       0.25\n");
}

} // namespace
} // namespace vesk::tool
