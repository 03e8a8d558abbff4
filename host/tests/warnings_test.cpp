// Warnings one line per cause, readable at hundreds of basins.
#include "warnings.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vesk::host {
namespace {

TEST(Warnings, OneLinePerCauseWhateverTheNumberOfBasins) {
    Warnings warnings;
    warnings.push_back(Warning{WarningCause::LongRecord, "", "the record is long.", ""});
    for (int b = 0; b < 200; ++b) {
        const std::string name = "B" + std::to_string(1000 + b);
        warnings.push_back(Warning{WarningCause::StillFlowing, name, "basin " + name + ": still flowing.", ""});
        warnings.push_back(
            Warning{WarningCause::UnitHydrographStep, name, "note about " + name, "1 min, not 5"});
    }
    const std::vector<std::string> lines = groupedWarningLines(warnings);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "warning: the record is long."); // alone: its own sentence
    EXPECT_EQ(lines[1].rfind("warning: the outflow did not come back to 0 after the unit hydrograph ended "
                             "(200 times, 200 basins): B1000, B1001, ",
                             0),
              0u)
        << lines[1];
    EXPECT_EQ(lines[2].rfind("note: unit hydrographs built at their computation step instead of the file's "
                             "uhTimeStep (200 times, 200 basins): B1000 (1 min, not 5), ",
                             0),
              0u)
        << lines[2];
    for (const std::string &line : lines) EXPECT_LE(line.size(), 160u) << line;
    // The names that do not fit are counted, and with them every basin is accounted for.
    const std::size_t shown = static_cast<std::size_t>(std::count(lines[1].begin(), lines[1].end(), 'B'));
    EXPECT_NE(lines[1].find(", and " + std::to_string(200 - shown) + " more"), std::string::npos) << lines[1];
}

TEST(Warnings, ABasinWarnedInSeveralEventsIsNamedOnceWithItsDetails) {
    Warnings warnings;
    for (const char *detail : {"event 1: 95.0 %", "event 4: 93.2 %", "event 7: 97.1 %", "event 9: 90.0 %"})
        warnings.push_back(Warning{WarningCause::OutflowVolume, "A", "basin A: misses.", detail});
    warnings.push_back(Warning{WarningCause::OutflowVolume, "B", "basin B: misses.", "event 2: 96.0 %"});
    const std::vector<std::string> lines = groupedWarningLines(warnings);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "warning: the outflow misses the run's excess volume (5 times, 2 basins): A (event 1: 95.0 %; "
                        "event 4: 93.2 %; event 7: 97.1 %; 1 more), B (event 2: 96.0 %)");
}

} // namespace
} // namespace vesk::host
