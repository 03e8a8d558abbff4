// The earlier level's lumped loss step: one infiltration for the whole
// pervious part, one shared impervious storage with a 5 % loss, run-on as a
// depth over the whole basin.
#include <gtest/gtest.h>

#include "earlier/lumped_loss_step.h"

namespace {

using vesk::Basin;
using vesk::earlier::lumpedLossStep;

// Half impervious, Horton 5 -> 1 in/h with decay 0.0018 /s, steps of 5 min.
Basin hortonBasin() {
    Basin basin;
    basin.imperviousPct = 50.0;
    basin.dcif = 0.5;
    basin.rpf = 0.5;
    basin.perviousDepressionStorage = 0.1;
    basin.imperviousDepressionStorage = 0.1;
    basin.initialInfiltrationRate = 5.0;
    basin.finalInfiltrationRate = 1.0;
    basin.infiltrationDecay = 0.0018;
    basin.shape.uhTimeStep = 5;
    return basin;
}

TEST(LumpedLossStep, FirstStepIntegratesTheCurveFromZeroToOneStep) {
    Basin basin = hortonBasin();
    lumpedLossStep(basin, 0.5);
    // f(0) = 5, f(5) = 1 + 4 exp(-0.54) = 3.330993; trapezoid over 5 minutes.
    EXPECT_EQ(basin.step.clock, 5.0);
    EXPECT_NEAR(basin.step.infiltration, 0.347125, 1e-6);
    EXPECT_NEAR(basin.step.spaStorage, 0.1, 1e-15);
    EXPECT_NEAR(basin.step.spaOverflow, 0.5 - 0.347125 - 0.1, 1e-6);

    lumpedLossStep(basin, 0.5); // f(10) = 2.358382: capacity 0.237057
    EXPECT_EQ(basin.step.clock, 10.0);
    EXPECT_NEAR(basin.step.infiltration, 0.237057, 1e-6);
    EXPECT_EQ(basin.step.reserved, 0.0);
}

TEST(LumpedLossStep, NoDecayCoefficientMeansNoInfiltration) {
    for (double decay : {0.0, -0.001}) {
        Basin basin = hortonBasin();
        basin.infiltrationDecay = decay;
        for (int step = 0; step < 3; ++step) {
            lumpedLossStep(basin, 0.5);
            EXPECT_EQ(basin.step.infiltration, 0.0) << decay;
        }
    }
}

TEST(LumpedLossStep, RainBelowTheCapacityInfiltratesWholeAndLeavesStoragesAlone) {
    Basin basin = hortonBasin();
    basin.imperviousPct = 0.0;
    lumpedLossStep(basin, 0.2); // capacity 0.347 > 0.2
    EXPECT_EQ(basin.step.infiltration, 0.2);
    EXPECT_EQ(basin.step.spaStorage, 0.0);
    EXPECT_EQ(basin.step.rpaStorage, 0.0);
    EXPECT_EQ(basin.step.spaOverflow, 0.0);
    EXPECT_EQ(basin.step.stepExcess, 0.0);
}

TEST(LumpedLossStep, FullImperviousStoragePassesOnNinetyFivePercent) {
    Basin basin = hortonBasin();
    lumpedLossStep(basin, 0.1); // fills the impervious storage exactly
    EXPECT_EQ(basin.step.imperviousStorage, 0.1);
    EXPECT_EQ(basin.step.imperviousExcess, 0.0);
    lumpedLossStep(basin, 0.4);
    EXPECT_EQ(basin.step.imperviousLoss, 0.05 * 0.4);
    EXPECT_NEAR(basin.step.imperviousExcess, 0.95 * 0.4, 1e-15);
}

TEST(LumpedLossStep, FullyImperviousBasinDrainsOnlyTheDirectlyConnectedShare) {
    Basin basin = hortonBasin();
    basin.imperviousPct = 100.0;
    basin.dcif = 0.7;
    lumpedLossStep(basin, 0.5); // impervious overflow E = 0.4
    EXPECT_EQ(basin.step.spaExcess, 0.0);
    EXPECT_EQ(basin.step.rpaExcess, 0.0);
    EXPECT_NEAR(basin.step.stepExcess, 0.7 * 0.95 * 0.4, 1e-15);
    // The unconnected share still runs on, onto a pervious part of no weight.
    EXPECT_NEAR(basin.step.runOn, 0.3 * 0.95 * 0.4, 1e-15);
}

TEST(LumpedLossStep, WorkedStepWeightsEveryPartByItsShare) {
    Basin basin = hortonBasin();
    basin.imperviousPct = 40.0;
    basin.dcif = 0.5;
    basin.rpf = 0.25;
    basin.perviousDepressionStorage = 0.2;
    basin.infiltrationDecay = 0.0; // no infiltration: only storages and weights
    lumpedLossStep(basin, 0.5);
    const StepState &s = basin.step;
    EXPECT_NEAR(s.imperviousLoss, 0.02, 1e-15);    // 5 % of E = 0.4
    EXPECT_NEAR(s.imperviousExcess, 0.38, 1e-15);  // E'
    EXPECT_NEAR(s.runOn, 0.5 * 0.4 * 0.38, 1e-15); // depth over the whole basin, not rescaled
    EXPECT_NEAR(s.dciaExcess, 0.5 * 0.4 * 0.38, 1e-15);
    EXPECT_NEAR(s.spaOverflow, 0.3, 1e-15);
    EXPECT_NEAR(s.spaExcess, 0.6 * 0.3 * 0.75, 1e-15);
    EXPECT_NEAR(s.rpaOverflow, 0.5 + 0.076 - 0.2, 1e-15);
    EXPECT_NEAR(s.rpaExcess, 0.6 * 0.376 * 0.25, 1e-15);
    EXPECT_NEAR(s.stepExcess, 0.0564 + 0.076 + 0.135, 1e-15);
    // Storages only fill: a dry step changes nothing but the clock.
    lumpedLossStep(basin, 0.0);
    EXPECT_EQ(basin.step.clock, 10.0);
    EXPECT_EQ(basin.step.spaStorage, 0.2);
    EXPECT_EQ(basin.step.stepExcess, 0.0);
}

} // namespace
