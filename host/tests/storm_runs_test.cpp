// Several storms in one run: each as its own run from fresh basins.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "basin_checks.h"
#include "design_storm.h"
#include "hydrograph_csv.h"
#include "input_error.h"
#include "library_session.h"
#include "run_summary.h"
#include "storm_events.h"
#include "storm_run.h"
#include "summary_report.h"
#include "test_files.h"

namespace vesk::host {
namespace {

std::vector<BasinSource> exampleBasins() {
    Warnings warnings;
    return readCheckedBasins({testing::examplePath("basins.csv")}, UnitSystem::Us, warnings);
}

// Two data steps (5 and 10 min) among three storms, so one plan is shared
// and one made apart.
std::vector<NamedStorm> threeStorms() {
    const IdfTable idf = readIdfTable(testing::examplePath("idf.csv"));
    const DesignStorm fine = idfStorms(idf, {2}, {60}, 5, 0.5, false).front();
    const DesignStorm coarse = idfStorms(idf, {100}, {120}, 10, 0.5, false).front();
    return {NamedStorm{fine.name, stormOf(fine, fine.name)},
            NamedStorm{"shipped", readStorm(testing::examplePath("design_storm_2h.csv"))},
            NamedStorm{coarse.name, stormOf(coarse, coarse.name)}};
}

TEST(StormRuns, AThreeStormRunEqualsThreeOneStormRunsBitForBit) {
    const std::vector<BasinSource> basins = exampleBasins();
    const std::vector<NamedStorm> storms = threeStorms();
    LibrarySession library;
    RunOptions options;
    Warnings warnings;
    const std::vector<StormRun> runs = runStorms(basins, storms, options, warnings);
    ASSERT_EQ(runs.size(), 3u);
    for (std::size_t s = 0; s < storms.size(); ++s) {
        SCOPED_TRACE(storms[s].name);
        EXPECT_EQ(runs[s].name, storms[s].name);
        const RunResult single = runStorm(basins, stormAtRunStep(basins, storms[s].storm, options), options);
        const RunResult &batch = runs[s].result;
        EXPECT_EQ(batch.dataStep, single.dataStep);
        EXPECT_EQ(batch.rain, single.rain);
        EXPECT_EQ(batch.outlet, single.outlet);
        EXPECT_EQ(batch.outletPeak, single.outletPeak);
        EXPECT_EQ(batch.outletPeakTime, single.outletPeakTime);
        ASSERT_EQ(batch.basins.size(), single.basins.size());
        for (std::size_t b = 0; b < single.basins.size(); ++b) {
            EXPECT_EQ(batch.basins[b].outflow, single.basins[b].outflow);
            EXPECT_EQ(summaryFigures(batch, batch.basins[b]), summaryFigures(single, single.basins[b]));
        }
    }
    EXPECT_GT(runs[2].result.outletPeak, runs[0].result.outletPeak); // 100-year, two hours against 2-year, one

    // One record per storm and basin, led by the storm.
    std::ostringstream summary;
    writeStormSummaryCsv(summary, runs);
    const std::string text = summary.str();
    EXPECT_EQ(text.rfind("storm,basin,area_sq_mi,", 0), 0u);
    EXPECT_NE(text.find("\n2yr_60min,MarketSquare,"), std::string::npos);
    EXPECT_NE(text.find("\n100yr_120min,Meadowbrook,"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 3 * 4); // the outlet and three basins a storm
}

TEST(StormRuns, StormNamesMustBeUniqueAndValid) {
    const std::vector<BasinSource> basins = exampleBasins();
    std::vector<NamedStorm> storms = threeStorms();
    storms[2].name = storms[0].name;
    Warnings warnings;
    try {
        runStorms(basins, storms, RunOptions{}, warnings);
        FAIL() << "accepted";
    } catch (const InputError &error) {
        EXPECT_NE(std::string(error.what()).find("the storm name '2yr_60min' is given twice"), std::string::npos);
    }
    storms[2].name = "";
    EXPECT_THROW(runStorms(basins, storms, RunOptions{}, warnings), InputError);
}

// A dated storm's results keep its dates: a time column in the hydrograph,
// and each event starting at its own date-time.
TEST(StormRuns, DatedStormsKeepTheirDates) {
    const std::vector<BasinSource> basins = exampleBasins();
    StormReading reading;
    reading.gaps = GapRule::Zero;
    const Storm storm = readStorm(testing::inputsPath("storms/dated_gap_filled.csv"), reading);
    LibrarySession library;
    const RunResult result = runStorm(basins, storm, RunOptions{});
    std::ostringstream csv;
    writeHydrographCsv(csv, result);
    EXPECT_EQ(csv.str().rfind("time,time_min,rain_in,MarketSquare_cfs,", 0), 0u);
    EXPECT_NE(csv.str().find("\n2024-05-01T00:00,0,0,"), std::string::npos);
    EXPECT_NE(csv.str().find("\n2024-05-01T02:00,120,0.3,"), std::string::npos);
    const std::vector<StormEvent> events = splitEvents(storm, 60);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].storm.start, storm.start.value() + 110); // the 12th step, 02:00, ends the second
}

} // namespace
} // namespace vesk::host
