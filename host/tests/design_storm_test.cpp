// Design storms: the blocks add up to the relation's depth for the whole
// duration and stand in alternating order around the chosen peak.
#include "design_storm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "input_error.h"
#include "test_files.h"

namespace vesk::host {
namespace {

DesignStormOptions hourInTenMinuteSteps() {
    DesignStormOptions o;
    o.relation = IntensityRelation{60.0, 10.0, 0.8, 1.0};
    o.duration = 60;
    o.step = 10;
    return o;
}

TEST(DesignStorm, DepthOfADurationIsTheIntensityOverThatTime) {
    const IntensityRelation r{60.0, 10.0, 0.8, 2.0};
    // i = 2 x 60 / (10 + 30)^0.8 in/h over 30 min.
    EXPECT_DOUBLE_EQ(durationDepth(r, 30), 2.0 * 60.0 / std::pow(40.0, 0.8) * 30.0 / 60.0);
}

TEST(DesignStorm, AlternatingBlocksAroundTheMiddle) {
    const DesignStormOptions o = hourInTenMinuteSteps();
    const std::vector<double> depths = designStorm(o);
    ASSERT_EQ(depths.size(), 6u);
    const IntensityRelation &r = o.relation;
    std::vector<double> increments;
    for (int k = 1; k <= 6; ++k) increments.push_back(durationDepth(r, 10 * k) - durationDepth(r, 10 * (k - 1)));
    // Deepest at the middle (index 3 of 0..5), the second after it, the
    // third before it, and so on; the last side left takes the rest.
    EXPECT_EQ(depths, (std::vector<double>{increments[5], increments[4], increments[2], increments[0], increments[1],
                                           increments[3]}));
    EXPECT_NEAR(std::accumulate(depths.begin(), depths.end(), 0.0), durationDepth(r, 60), 1e-12);
}

TEST(DesignStorm, PeakPositionAndUniformStorms) {
    DesignStormOptions o = hourInTenMinuteSteps();
    o.peakPosition = 0.0;
    const std::vector<double> first = designStorm(o);
    EXPECT_TRUE(std::is_sorted(first.rbegin(), first.rend())) << "deepest first, then falling";
    o.peakPosition = 1.0;
    const std::vector<double> last = designStorm(o);
    EXPECT_TRUE(std::is_sorted(last.begin(), last.end())) << "rising to the deepest last";
    o.uniform = true;
    const std::vector<double> even = designStorm(o);
    EXPECT_EQ(even, std::vector<double>(6, durationDepth(o.relation, 60) / 6.0));
}

TEST(DesignStorm, InconsistentOptionsAreRefused) {
    DesignStormOptions o = hourInTenMinuteSteps();
    o.step = 7;
    EXPECT_THROW(designStorm(o), InputError);
    o = hourInTenMinuteSteps();
    o.peakPosition = 1.5;
    EXPECT_THROW(designStorm(o), InputError);
    o = hourInTenMinuteSteps();
    o.relation.c = 1.5; // the depth falls as the duration grows
    EXPECT_THROW(designStorm(o), InputError);
}

} // namespace
} // namespace vesk::host
