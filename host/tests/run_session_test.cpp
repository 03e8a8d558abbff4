// The run loop's session: what it keeps of each step.
#include "run_session.h"

#include <gtest/gtest.h>

#include "basin_checks.h"
#include "library_session.h"
#include "test_files.h"

namespace vesk::host {
namespace {

TEST(RunSession, ASessionWithoutSeriesKeepsOnlyTheLatestStep) {
    Warnings warnings;
    const std::vector<BasinSource> sources =
        readCheckedBasins({testing::examplePath("meadowbrook.basin")}, UnitSystem::Us, warnings);
    LibrarySession library;
    for (const bool keep : {true, false}) {
        SessionOptions options;
        options.keepSeries = keep;
        openFreshRegistry();
        RunSession session(sources, 5, options);
        for (int k = 0; k < 4; ++k) session.step(0.5);
        EXPECT_EQ(session.stepsTaken(), 4u);
        EXPECT_EQ(session.basins()[0].outflow.size(), keep ? 4u : 1u);
        EXPECT_EQ(session.rain().size(), keep ? 4u : 1u);
        EXPECT_EQ(session.nextStepEnd(), 25);
    }
}

// A basin all impervious under steady rain: once its storage is full and
// the unit hydrograph has passed, every step's outflow is the same sum.
BasinSource pavedBasin(const std::string &name) {
    BasinSource source;
    source.name = name;
    source.path = "table";
    BasinInput &r = source.record;
    r.area = 0.5;
    r.length = 1.0;
    r.centroidLength = 0.5;
    r.slope = 0.01;
    r.imperviousPct = 100.0;
    r.imperviousDepressionStorage = 0.1;
    r.perviousDepressionStorage = 0.3;
    r.initialInfiltrationRate = 3.0;
    r.finalInfiltrationRate = 0.5;
    r.infiltrationDecay = 0.0015;
    r.dcif = -1.0;
    r.rpf = -1.0;
    return source;
}

TEST(RunSession, APlateauPeaksAtItsFirstStep) {
    LibrarySession library;
    RunSession session({pavedBasin("Paved")}, 5);
    for (int k = 0; k < 200; ++k) session.step(0.05);
    const BasinRun &basin = session.basins()[0];
    const std::vector<double> &q = basin.outflow;
    ASSERT_EQ(q[q.size() - 1], q[q.size() - 2]); // the plateau
    ASSERT_EQ(basin.peakOutflow, q.back());
    EXPECT_LT(basin.peakTime, 500.0); // its first step, long before the rain stops at 1000 min
}

// A basin the library refuses when it is added (here: a second of the same
// name) is left out, and the library goes on with the others.
TEST(RunSession, ARefusedBasinLeavesTheOthersRunning) {
    LibrarySession library;
    SessionOptions options;
    options.skipRefused = true;
    BasinSource other = pavedBasin("Other");
    other.record.area = 0.25;
    RunSession session({pavedBasin("Paved"), pavedBasin("Paved"), other}, 5, options);
    for (int k = 0; k < 30; ++k) session.step(0.05);
    ASSERT_EQ(session.refusals().size(), 1u);
    EXPECT_EQ(session.refusals()[0].code, VESK_ERR_DUPLICATE_BASIN);
    ASSERT_EQ(session.basins().size(), 2u);
    openFreshRegistry();
    RunSession alone({other}, 5);
    for (int k = 0; k < 30; ++k) alone.step(0.05);
    EXPECT_EQ(session.basins()[1].outflow, alone.basins()[0].outflow);
}

} // namespace
} // namespace vesk::host
