// The SVG chart and the printed tables.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>

#include "hydrograph_svg.h"
#include "run_report.h"
#include "text_table.h"

namespace vesk::tool {

using namespace vesk::host;
namespace {

std::size_t count(const std::string &text, const std::string &part) {
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
    return found;
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
    a.outflow = {1.0, 3.0, 3.0, 0.0};
    BasinRun b;
    b.name = "B<&>";
    b.prepared.area = 0.25;
    b.outflow = {0.5, 0.25, 0.0, 0.0};
    result.basins = {a, b};
    result.outlet = {1.5, 3.25, 3.0, 0.0};
    return result;
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
    EXPECT_EQ(count(svg, "<polyline"), 3u); // the two basins and, heavy and black, the outlet
    EXPECT_EQ(count(svg, "stroke=\"#000000\" stroke-width=\"3\""), 2u); // its line and its legend
    EXPECT_NE(svg.find(">outlet</text>"), std::string::npos);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

// Ten basins, ten colours; beyond ten, a band of their range and the five
// largest peaks, which the legend says.
TEST(Svg, ManyBasinsKeepDistinctColoursOrBecomeABand) {
    for (const std::size_t basins : {10u, 11u, 200u}) {
        RunResult result = twoBasinRun();
        result.basins.clear();
        for (std::size_t b = 0; b < basins; ++b) {
            BasinRun basin;
            basin.name = "B" + std::to_string(b);
            basin.outflow = {0.0, 1.0 + 0.01 * static_cast<double>(b), 0.5, 0.0};
            result.basins.push_back(basin);
        }
        std::ostringstream out;
        writeHydrographSvg(out, result);
        const std::string svg = out.str();
        std::set<std::string> colours;
        for (std::size_t at = svg.find("<polyline fill=\"none\" stroke=\""); at != std::string::npos;
             at = svg.find("<polyline fill=\"none\" stroke=\"", at + 1))
            colours.insert(svg.substr(at + 31, 7));
        if (basins == 10) {
            EXPECT_EQ(colours.size(), 11u); // ten basins and the outlet, no colour twice
            EXPECT_EQ(svg.find("range of all"), std::string::npos);
        } else {
            EXPECT_EQ(count(svg, "<polygon"), 1u);
            EXPECT_NE(svg.find(">range of all " + std::to_string(basins) + " basins</text>"), std::string::npos);
            EXPECT_NE(svg.find(">lines: the 5 largest peaks</text>"), std::string::npos);
            EXPECT_EQ(count(svg, "<polyline"), 6u);
            EXPECT_NE(svg.find(">B" + std::to_string(basins - 1) + "</text>"), std::string::npos); // the largest peak
        }
    }
}

TEST(Svg, EventsArePanelsOfTheLargestPeaks) {
    std::vector<EventRun> events;
    for (int e = 1; e <= 15; ++e) {
        EventRun event;
        event.number = e;
        event.startMinute = 1000 * e;
        event.result = twoBasinRun();
        event.result.outletPeak = e == 3 ? 100.0 : static_cast<double>(e);
        events.push_back(event);
    }
    std::ostringstream out;
    writeEventsSvg(out, events, 12);
    const std::string svg = out.str();
    EXPECT_NE(svg.find(">the 12 of 15 events with the largest peaks; times from the record&apos;s start</text>"),
              std::string::npos);
    EXPECT_EQ(count(svg, ">event "), 12u);
    EXPECT_NE(svg.find(">event 3, from minute 3000</text>"), std::string::npos);
    EXPECT_EQ(svg.find(">event 2, from minute 2000</text>"), std::string::npos); // among the three smallest
    EXPECT_NE(svg.find(">3000</text>"), std::string::npos); // its time axis starts at its start
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
