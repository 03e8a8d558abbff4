// Each basin computed at a step its unit hydrograph can hold: one answer
// whatever the step the rain data come in, no basin making water, and the
// basins no step holds refused with the reason.
#include "computation_step.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "basin_checks.h"
#include "input_error.h"
#include "library_session.h"
#include "run_summary.h"
#include "storm_run.h"
#include "test_files.h"
#include "volume_checks.h"

namespace vesk::host {
namespace {

// A realistic basin with every shape value left to the library.
BasinSource derivedBasin(const std::string &name, double area, double length, double slope, double imperviousPct,
                         int level) {
    BasinSource source;
    source.name = name;
    source.path = "table";
    BasinInput &r = source.record;
    r.area = area;
    r.length = length;
    r.centroidLength = 0.5 * length;
    r.slope = slope;
    r.imperviousPct = imperviousPct;
    r.disconnectionLevel = level;
    r.imperviousDepressionStorage = 0.1;
    r.perviousDepressionStorage = 0.3;
    r.initialInfiltrationRate = 3.0;
    r.finalInfiltrationRate = 0.5;
    r.infiltrationDecay = 0.0015;
    r.dcif = -1.0;
    r.rpf = -1.0;
    return source;
}

// The shipped basins and a table of realistic ones from 0.02 to 5 sq mi
// (lengths about 1.4 A^0.6 mi), town centres to suburbs.
std::vector<BasinSource> realisticBasins() {
    Warnings warnings;
    std::vector<BasinSource> basins = readCheckedBasins(
        {testing::examplePath("cedar_creek.basin"), testing::examplePath("market_square.basin"),
         testing::examplePath("meadowbrook.basin")},
        UnitSystem::Us, warnings);
    const struct {
        double area, length, slope, impervious;
        int level;
    } table[] = {
        {0.02, 0.12, 0.02, 85, 0}, {0.03, 0.18, 0.008, 60, 1}, {0.05, 0.22, 0.03, 90, 0},
        {0.08, 0.30, 0.012, 85, 2}, {0.1, 0.36, 0.005, 40, 1}, {0.15, 0.45, 0.02, 70, 0},
        {0.25, 0.60, 0.01, 55, 2}, {0.4, 0.80, 0.015, 35, 0}, {0.6, 1.0, 0.006, 65, 1},
        {1.0, 1.4, 0.01, 30, 2}, {1.6, 1.9, 0.004, 50, 0}, {2.5, 2.5, 0.008, 25, 1},
        {3.5, 3.0, 0.003, 45, 2}, {5.0, 3.6, 0.005, 20, 0},
    };
    for (const auto &b : table)
        basins.push_back(derivedBasin("A" + std::to_string(b.area), b.area, b.length, b.slope, b.impervious, b.level));
    return basins;
}

// Six hours of rain given hour by hour (in), at a data step of `step`
// minutes: each hour's depth split evenly.
Storm hourlyRainAt(int step) {
    const double hourly[] = {0.1, 0.6, 1.2, 0.5, 0.2, 0.1};
    std::vector<double> depths;
    for (double depth : hourly)
        for (int k = 0; k < 60 / step; ++k) depths.push_back(depth / (60 / step));
    Storm storm;
    storm.path = "hourly";
    storm.stepMinutes = step;
    storm.depths = depths;
    return storm;
}

RunResult runAt(const std::vector<BasinSource> &basins, const Storm &storm, int reportStep = 0) {
    LibrarySession library;
    RunOptions options;
    options.skipRefused = true;
    options.reportStep = reportStep;
    return runStorm(basins, storm, options);
}

TEST(ComputationStep, TheSameRainAtEveryDataStepGivesOneAnswer) {
    const std::vector<BasinSource> basins = realisticBasins();
    const RunResult reference = runAt(basins, hourlyRainAt(1));
    ASSERT_TRUE(reference.refusals.empty()) << reference.refusals.front().message;
    for (const int step : {60, 30, 15, 5}) {
        SCOPED_TRACE(std::to_string(step) + "-minute data");
        const RunResult result = runAt(basins, hourlyRainAt(step));
        ASSERT_EQ(result.basins.size(), reference.basins.size());
        for (std::size_t b = 0; b < result.basins.size(); ++b) {
            const BasinRun &basin = result.basins[b];
            SCOPED_TRACE(basin.name + " at " + std::to_string(basin.computation.step) + " min");
            EXPECT_EQ(step % basin.computation.step, 0);
            const BasinSummary got = summarize(basin, result), want = summarize(reference.basins[b], reference);
            EXPECT_NEAR(got.outflowVolume, want.outflowVolume, 0.02 * want.outflowVolume);
            EXPECT_NEAR(got.peakOutflow, want.peakOutflow, 0.05 * want.peakOutflow);
            EXPECT_LE(got.outflowVolume, got.rainVolume); // no basin makes water
        }
    }
}

TEST(ComputationStep, TheLargestDivisorThatHoldsTheVolumeAndResolvesThePeak) {
    EXPECT_EQ(divisorsOf(60), (std::vector<int>{60, 30, 20, 15, 12, 10, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(divisorsOf(7), (std::vector<int>{7, 1}));
    const RunResult result = runAt(realisticBasins(), hourlyRainAt(60));
    for (const BasinRun &basin : result.basins) {
        SCOPED_TRACE(basin.name);
        const StepChoice &c = basin.computation;
        EXPECT_NEAR(c.volumeRatio, 1.0, 0.02);
        EXPECT_TRUE(c.peakResolved);
        EXPECT_LE(c.step, 0.5 * c.lagMinutes);
        EXPECT_EQ(c.lagMinutes, basin.prepared.uhPeakTime - 0.5 * c.step);
        // No larger divisor of the hour qualifies: it would either miss the
        // volume or be more than half the time to peak.
        for (const int larger : divisorsOf(60)) {
            if (larger <= c.step) break;
            LibrarySession library;
            BasinInput record{};
            for (const BasinSource &source : realisticBasins())
                if (source.name == basin.name) record = source.record;
            record.timeStep = record.shape.uhTimeStep = larger;
            vesk_addbasin(&record, "probe");
            if (vesk_geterror() != VESK_OK) continue;
            BasinInput prepared{};
            vesk_getbasin("probe", &prepared);
            std::vector<double> ordinates(static_cast<std::size_t>(vesk_getuhlength("probe")));
            for (std::size_t i = 0; i < ordinates.size(); ++i)
                ordinates[i] = vesk_getuhordinatevalue("probe", static_cast<int32_t>(i));
            const double ratio = unitHydrographCheck(ordinates, larger, prepared.area).ratio();
            EXPECT_TRUE(std::fabs(ratio - 1.0) > 0.02 || larger > 0.5 * (prepared.uhPeakTime - 0.5 * larger))
                << larger << " min would do";
        }
    }
}

TEST(ComputationStep, PeaksAndVolumesDoNotDependOnTheReportStep) {
    const std::vector<BasinSource> basins = realisticBasins();
    const RunResult coarse = runAt(basins, hourlyRainAt(60));
    const RunResult fine = runAt(basins, hourlyRainAt(60), 5);
    EXPECT_EQ(fine.reportStep, 5);
    EXPECT_EQ(fine.outlet.size(), 12 * coarse.outlet.size());
    EXPECT_EQ(fine.outletPeak, coarse.outletPeak);
    EXPECT_EQ(fine.outletPeakTime, coarse.outletPeakTime);
    for (std::size_t b = 0; b < coarse.basins.size(); ++b) {
        const BasinRun &c = coarse.basins[b], &f = fine.basins[b];
        EXPECT_EQ(f.peakOutflow, c.peakOutflow);
        EXPECT_EQ(f.peakTime, c.peakTime);
        EXPECT_EQ(f.outflowSum, c.outflowSum);
        // Where a report step ends with a data step the values agree.
        for (std::size_t k = 0; k < c.outflow.size(); ++k) EXPECT_EQ(f.outflow[12 * k + 11], c.outflow[k]);
    }
    EXPECT_THROW(runAt(basins, hourlyRainAt(60), 7), InputError);
}

// Between two computation steps a reported value lies on the straight line.
TEST(ComputationStep, ReportedValuesBetweenComputationStepsLieOnTheLine) {
    std::vector<BasinSource> basins = realisticBasins();
    basins.erase(basins.begin() + 1, basins.end()); // CedarCreek
    const RunResult own = runAt(basins, hourlyRainAt(60), 15);
    const RunResult minutes = runAt(basins, hourlyRainAt(60), 1);
    ASSERT_EQ(own.basins[0].computation.step, 15);
    const std::vector<double> &h = own.basins[0].outflow, &t = minutes.basins[0].outflow;
    // H(j): the outflow 15 j minutes in (0 at the start).
    auto H = [&h](std::size_t j) { return j == 0 ? 0.0 : h[j - 1]; };
    ASSERT_EQ(t.size(), 15 * h.size());
    for (std::size_t i = 0; i < t.size(); ++i) {
        const std::size_t minute = i + 1, j = minute / 15, rest = minute % 15;
        const double expected = rest == 0 ? H(j) : H(j) + (H(j + 1) - H(j)) * (static_cast<double>(rest) / 15.0);
        EXPECT_EQ(t[i], expected) << minute << " min";
    }
}

TEST(ComputationStep, BasinsNoStepHoldsAreRefusedWithTheReason) {
    // A host-given peak coefficient far beyond the method's range (the
    // library builds it only at 1 minute, holding a million times one inch),
    // and a basin of a third of an acre whose derived shape lasts a few
    // minutes (four times one inch at 1 minute).
    BasinSource forced = derivedBasin("Forced", 0.5, 1.0, 0.01, 50, 1);
    forced.record.shape.cp = 1e6;
    BasinSource tiny = derivedBasin("Tiny", 0.0005, 0.01, 0.05, 90, 0);
    for (const BasinSource &basin : {forced, tiny}) {
        SCOPED_TRACE(basin.name);
        LibrarySession library;
        try {
            chooseComputationStep(basin, 60, StepRule{}, currentLevel());
            FAIL() << "accepted";
        } catch (const InputError &error) {
            const std::string message = error.what();
            EXPECT_NE(message.find("table: basin " + basin.name + ": no step of 1 minute or more that divides the "
                                   "60-minute data step samples its unit hydrograph within 2 % of one inch"),
                      std::string::npos)
                << message;
            EXPECT_NE(message.find("its time to peak is "), std::string::npos) << message;
            EXPECT_NE(message.find(basin.name == "Forced" ? "from the given cp 1e+06" : "from the derived cp"),
                      std::string::npos)
                << message;
        }
    }
    // In a run that skips refused basins, the reason is the basin's refusal.
    const RunResult result = runAt({forced, derivedBasin("Fine", 1.0, 1.4, 0.01, 30, 2)}, hourlyRainAt(60));
    ASSERT_EQ(result.refusals.size(), 1u);
    EXPECT_EQ(result.refusals[0].name, "Forced");
    EXPECT_EQ(result.refusals[0].code, VESK_ERR_UH_FIT);
    EXPECT_EQ(result.basins.size(), 1u);
}

TEST(ComputationStep, TheToleranceDecidesWhichStepsHold) {
    const std::vector<BasinSource> basins = realisticBasins();
    LibrarySession library;
    RunOptions loose;
    loose.rule.volumeTolerance = 0.5;
    loose.rule.peakStepShare = 100.0; // only the volume decides
    RunOptions tight = loose;
    tight.rule.volumeTolerance = 0.002;
    tight.skipRefused = true;
    const RunResult a = runStorm(basins, hourlyRainAt(60), loose);
    const RunResult b = runStorm(basins, hourlyRainAt(60), tight);
    EXPECT_FALSE(b.refusals.empty()); // a few basins hold one inch that closely at no step
    bool finer = false;
    for (const BasinRun &held : b.basins)
        for (const BasinRun &roomy : a.basins) {
            if (roomy.name != held.name) continue;
            EXPECT_GE(roomy.computation.step, held.computation.step);
            finer = finer || roomy.computation.step > held.computation.step;
            EXPECT_LE(std::fabs(held.computation.volumeRatio - 1.0), 0.002);
        }
    EXPECT_TRUE(finer);
}

// A basin of under an acre peaks within 2 minutes: no step resolves it, and
// with a tolerance loose enough for 1 and 2 minutes to hold the volume the
// finer one is chosen.
TEST(ComputationStep, APeakNoStepResolvesTakesTheFinestStepThatHolds) {
    LibrarySession library;
    const StepChoice choice = chooseComputationStep(derivedBasin("Quick", 0.001, 0.02, 0.02, 50, 0), 60,
                                                    StepRule{0.6, kPeakStepShare}, currentLevel());
    EXPECT_FALSE(choice.peakResolved);
    EXPECT_EQ(choice.step, 1);
}

// The outlet is the sum of the basins' outflows at every reported minute,
// and its peak is taken on the finest grid their steps reach.
TEST(ComputationStep, TheOutletPeaksOnTheFinestGrid) {
    const RunResult result = runAt(realisticBasins(), hourlyRainAt(60), 1);
    for (std::size_t k = 0; k < result.outlet.size(); ++k) {
        double sum = 0.0;
        for (const BasinRun &basin : result.basins) sum += basin.outflow[k];
        ASSERT_EQ(result.outlet[k], sum) << k + 1 << " min";
    }
    const auto peak = std::max_element(result.outlet.begin(), result.outlet.end());
    EXPECT_EQ(result.outletPeak, *peak);
    EXPECT_EQ(result.outletPeakTime, static_cast<double>(peak - result.outlet.begin() + 1));
    EXPECT_NE(static_cast<long>(result.outletPeakTime) % 60, 0); // between data steps
}

} // namespace
} // namespace vesk::host
