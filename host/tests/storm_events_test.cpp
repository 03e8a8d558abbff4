// Long records split into independent events at dry spells.
#include "storm_events.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "test_files.h"

namespace vesk::host {
namespace {

Storm fiveMinuteStorm(std::vector<double> depths) {
    Storm storm;
    storm.path = "s.csv";
    storm.stepMinutes = 5;
    storm.depths = std::move(depths);
    return storm;
}

TEST(StormEvents, SplitAtDrySpellsOfTheGivenLength) {
    const Storm storm = fiveMinuteStorm({0, 1, 0, 0, 0, 2, 3, 0, 0});
    const std::vector<StormEvent> split = splitEvents(storm, 15); // three dry steps split
    ASSERT_EQ(split.size(), 2u);
    EXPECT_EQ(split[0].number, 1);
    EXPECT_EQ(split[0].firstStep, 1u);
    EXPECT_EQ(split[0].storm.depths, (std::vector<double>{1}));
    EXPECT_EQ(split[1].number, 2);
    EXPECT_EQ(split[1].firstStep, 5u);
    EXPECT_EQ(split[1].storm.depths, (std::vector<double>{2, 3}));
    const std::vector<StormEvent> joined = splitEvents(storm, 16); // 15 minutes of dry steps do not
    ASSERT_EQ(joined.size(), 1u);
    EXPECT_EQ(joined[0].storm.depths, (std::vector<double>{1, 0, 0, 0, 2, 3}));
    EXPECT_TRUE(splitEvents(fiveMinuteStorm({0, 0}), 15).empty());
}

TEST(StormEvents, LongRecordsWithLongDrySpellsNeedEvents) {
    std::vector<double> depths(289, 0.0); // 1445 minutes
    depths.front() = depths.back() = 0.1;
    EXPECT_TRUE(needsEvents(fiveMinuteStorm(depths)));
    depths.resize(288); // exactly one day
    depths.back() = 0.1;
    EXPECT_FALSE(needsEvents(fiveMinuteStorm(depths)));
    std::vector<double> wet(400, 0.1);
    wet[100] = 0.0; // a short dry spell only
    EXPECT_FALSE(needsEvents(fiveMinuteStorm(wet)));
    for (std::size_t k = 100; k < 172; ++k) wet[k] = 0.0; // exactly six hours dry
    EXPECT_TRUE(needsEvents(fiveMinuteStorm(wet)));
    EXPECT_EQ(longRecordWarnings(fiveMinuteStorm(wet)).size(), 1u);
    wet[171] = 0.1; // five hours and 55 minutes
    EXPECT_FALSE(needsEvents(fiveMinuteStorm(wet)));
    EXPECT_TRUE(longRecordWarnings(fiveMinuteStorm(wet)).empty());
}

} // namespace
} // namespace vesk::host
