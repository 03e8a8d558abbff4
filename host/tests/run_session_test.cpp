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

} // namespace
} // namespace vesk::host
