// The loss model of one sub-area and of a whole basin: worked examples, the
// edge cases that decide where water goes, and the basin's mass balance.
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "base/elementary_functions.h"
#include "frame_test_support.h"
#include "hand_built_basin.h"
#include "simulation/basin_loss_step.h"
#include "simulation/basin_time_step.h"
#include "simulation/step_constants.h"
#include "simulation/sub_area_loss_step.h"

namespace {

using handbuilt::impervious;
using handbuilt::pervious;

TEST(SubAreaLossStep, PerviousWorkedExampleOverTwoSteps) {
    const vesk::SubArea grass = pervious(2.0, 5.0, 1.0, 0.0018, 0.1);
    LossState state{};

    state.waterInput = 0.5;
    const double firstLoss = vesk::subAreaLossStep(5, 5, grass, state);
    EXPECT_NEAR(vesk::hortonRate(vesk::hortonCurve(grass), 0), 5.0, 1e-15);
    EXPECT_NEAR(vesk::hortonRate(vesk::hortonCurve(grass), 5), 3.330993, 5e-7);
    EXPECT_NEAR(state.infiltration, 0.347125, 5e-7);
    EXPECT_EQ(state.previousStorage, 0.0);
    EXPECT_EQ(state.depressionStorage, 0.1);
    EXPECT_NEAR(state.excess, 0.052875, 5e-7);
    EXPECT_EQ(state.excessLoss, 0.0);
    EXPECT_NEAR(firstLoss, 2.0 * (0.347125 + 0.1), 2e-6);

    state.waterInput = 0.5;
    const double secondLoss = vesk::subAreaLossStep(10, 5, grass, state);
    EXPECT_NEAR(vesk::hortonRate(vesk::hortonCurve(grass), 10), 2.358382, 5e-7);
    EXPECT_NEAR(state.infiltration, 0.237057, 5e-7);
    EXPECT_EQ(state.previousStorage, 0.1);
    EXPECT_EQ(state.depressionStorage, 0.1);
    EXPECT_NEAR(state.excess, 0.262943, 5e-7);
    EXPECT_NEAR(secondLoss, 2.0 * 0.237057, 2e-6);
}

// Both levels share the Horton curve; only the last product of the step
// capacity is formed in each level's own order, and the two orders give other
// doubles for some steps.
TEST(HortonInfiltration, EachLevelFormsTheStepCapacityInItsOwnOrder) {
    const vesk::HortonCurve curve{5.0, 1.0, 0.00115};
    EXPECT_EQ(vesk::hortonRate(curve, 45.0), 1.0 + (5.0 - 1.0) * vesk::correctlyRoundedExp(-0.00115 * 2700.0));
    int differing = 0;
    for (double end : {10.0, 15.0, 45.0, 55.0, 60.0}) {
        for (double step : {5.0, 7.0, 10.0}) {
            const double mean = (vesk::hortonRate(curve, end) + vesk::hortonRate(curve, end - step)) * 0.5;
            const double current = vesk::stepCapacity(curve, end, step, vesk::OperationOrder::Current);
            const double earlier = vesk::stepCapacity(curve, end, step, vesk::OperationOrder::Earlier);
            EXPECT_EQ(current, (step / 60.0) * mean) << end << " " << step;
            EXPECT_EQ(earlier, mean * step * (1.0 / 60.0)) << end << " " << step;
            if (current != earlier) ++differing;
        }
    }
    EXPECT_GT(differing, 0);
}

// A carry's capacities equal freshly formed ones whatever the order of the
// calls: the same step asked for twice, a step that does not start where the
// latest one ended (a clock set back, another step length), a step with the
// same end but another length, a flat curve (whose capacity serves later
// steps of the same length, but not one that starts before time 0, where a
// huge decay makes the rate NaN), a curve whose decay or rates are not
// finite.
TEST(HortonInfiltration, CarriedCapacitiesEqualFreshOnes) {
    const double inf = std::numeric_limits<double>::infinity();
    const vesk::HortonCurve curves[] = {{5.0, 1.0, 0.00115}, {3.0, 0.5, 0.0021}, {0.0, 0.0, 0.0},
                                        {4.0, 4.0, 0.001},   {-0.0, -0.0, 0.0},  {2.0, 2.0, inf},
                                        {inf, inf, 0.001},   {1.0, 1.0, -0.5},   {1.0, 1.0, 1e300},
                                        {3.0, 3.0, -0.0}};
    struct Call {
        double end, step;
    };
    const Call calls[] = {{5, 5},  {5, 5},   {10, 5},  {20, 10}, {15, 5}, {20, 5}, {20, 5}, {20, 10}, {25, 5},
                          {40, 15}, {55, 15}, {7, 7},   {0, 5},   {14, 7}, {5, 5},  {10, 5}, {1e6, 5},
                          {3, 5},   {10, 5},  {-2, 5},  {1e6, 5}};
    for (vesk::OperationOrder order : {vesk::OperationOrder::Current, vesk::OperationOrder::Earlier}) {
        for (const vesk::HortonCurve &curve : curves) {
            vesk::HortonCarry carry;
            for (const Call &c : calls) {
                const double carried = carry.capacity(curve, c.end, c.step, order);
                const double fresh = vesk::stepCapacity(curve, c.end, c.step, order);
                EXPECT_EQ(std::memcmp(&carried, &fresh, sizeof(double)), 0)
                    << curve.initialRate << " " << curve.decay << " at " << c.end << " " << c.step;
            }
        }
    }
}

// A flat curve skips the exponential; its rate is still fc + (f0 - fc) e^(-k t)
// bit for bit, the sign of a zero included.
TEST(HortonInfiltration, FlatCurvesGiveTheFullFormulasBits) {
    const double inf = std::numeric_limits<double>::infinity();
    const vesk::HortonCurve curves[] = {{0.0, 0.0, 0.0},  {-0.0, -0.0, 0.0}, {-0.0, -0.0, 0.002}, {0.7, 0.7, 0.0},
                                        {0.7, 0.7, 0.01}, {2.0, 2.0, inf},   {inf, inf, 0.001},   {1.0, 1.0, -0.5},
                                        {3.0, 3.0, -0.0}};
    for (const vesk::HortonCurve &curve : curves) {
        for (double minutes : {0.0, -0.0, 5.0, 1440.0, 1e9, -5.0}) {
            const double full = curve.finalRate + (curve.initialRate - curve.finalRate) *
                                                      vesk::correctlyRoundedExp(-curve.decay * (60.0 * minutes));
            const double rate = vesk::hortonRate(curve, minutes);
            EXPECT_EQ(std::memcmp(&rate, &full, sizeof(double)), 0)
                << curve.initialRate << " " << curve.decay << " at " << minutes << ": " << rate << " vs " << full;
        }
    }
}

TEST(SubAreaLossStep, ImperviousWorkedExample) {
    const vesk::SubArea roof = impervious(3.0, 0.1);
    LossState state{};
    state.waterInput = 0.5;
    const double loss = vesk::subAreaLossStep(5, 5, roof, state);
    EXPECT_EQ(state.infiltration, 0.0);
    EXPECT_EQ(state.depressionStorage, 0.1);
    EXPECT_NEAR(state.excessLoss, 0.02, 1e-15);
    EXPECT_NEAR(state.excess, 0.38, 1e-15);
    EXPECT_NEAR(loss, 3.0 * 0.12, 1e-14);
}

struct SubAreaCase {
    const char *what;
    vesk::SubArea subArea;
    int32_t time, timeStep;
    double storageBefore, water;
    double infiltration, storageAfter, excessLoss, excess;
};

TEST(SubAreaLossStep, EdgeCases) {
    // 60-minute steps on a flat curve of 0.5 in/h give a capacity of exactly 0.5 in.
    const vesk::SubArea flat = pervious(1.0, 0.5, 0.5, 0.0, 0.2);
    const SubAreaCase cases[] = {
        {"capacity equal to the rain infiltrates all of it", flat, 60, 60, 0.0, 0.5, 0.5, 0.0, 0.0, 0.0},
        {"rain below the capacity leaves storage alone", flat, 60, 60, 0.05, 0.3, 0.3, 0.05, 0.0, 0.0},
        {"dry step loses its capacity", flat, 120, 60, 0.1, 0.0, 0.0, 0.1, 0.0, 0.0},
        {"remainder equal to the free room fills storage", impervious(1.0, 0.25), 5, 5, 0.125, 0.125, 0.0, 0.25,
         0.0, 0.0},
        {"full impervious storage passes 95 %", impervious(1.0, 0.1), 10, 5, 0.1, 0.4, 0.0, 0.1, 0.02, 0.38},
        {"zero decay keeps the initial rate", pervious(1.0, 3.0, 1.0, 0.0, 0.0), 600, 60, 0.0, 4.0, 3.0, 0.0,
         0.0, 1.0},
    };
    for (const SubAreaCase &c : cases) {
        SCOPED_TRACE(c.what);
        LossState state{};
        state.depressionStorage = c.storageBefore;
        state.waterInput = c.water;
        state.capacityCarry = 0.0;
        const double loss = vesk::subAreaLossStep(c.time, c.timeStep, c.subArea, state);
        EXPECT_DOUBLE_EQ(state.infiltration, c.infiltration);
        EXPECT_DOUBLE_EQ(state.previousStorage, c.storageBefore);
        EXPECT_DOUBLE_EQ(state.depressionStorage, c.storageAfter);
        EXPECT_DOUBLE_EQ(state.excessLoss, c.excessLoss);
        EXPECT_DOUBLE_EQ(state.excess, c.excess);
        EXPECT_EQ(state.otherLoss, 0.0);
        EXPECT_EQ(state.capacityCarry, 0.0);
        EXPECT_EQ(state.waterInput, c.water);
        EXPECT_NEAR(loss, c.water - c.excess, 1e-15);
    }
}

// The step follows its written order of operations to the last bit.  The
// inputs are chosen so that the usual rewrites give other doubles: k * 60 * t
// in floating point instead of the whole seconds, dt * (f1 + f2) / 120 for the
// trapezoid, pct * (R / 100) for the percentage loss.
TEST(SubAreaLossStep, FollowsTheWrittenOrderOfOperationsExactly) {
    const vesk::SubArea grass = pervious(1.75, 5.0, 1.0, 0.00115, 0.0);
    for (int32_t time : {10, 15, 45, 55, 60}) {
        SCOPED_TRACE(time);
        const double atEnd = 1.0 + (5.0 - 1.0) * vesk::correctlyRoundedExp(-0.00115 * static_cast<double>(60 * time));
        const double atStart =
            1.0 + (5.0 - 1.0) * vesk::correctlyRoundedExp(-0.00115 * static_cast<double>(60 * (time - 5)));
        EXPECT_EQ(vesk::hortonRate(vesk::hortonCurve(grass), time), atEnd);
        const double capacity = (5 / 60.0) * ((atEnd + atStart) * 0.5) + 0.0;
        LossState state{};
        state.waterInput = 2.0; // more than the capacity: all of it is used
        const double loss = vesk::subAreaLossStep(time, 5, grass, state);
        EXPECT_EQ(state.infiltration, capacity);
        EXPECT_EQ(state.excess, 2.0 - capacity);
        EXPECT_EQ(loss, 1.75 * capacity + 1.75 * 0.0 + 1.75 * 0.0 + 1.75 * 0.0);
    }

    const vesk::SubArea road = impervious(0.3, 0.0);
    LossState state{};
    state.waterInput = 0.7;
    const double loss = vesk::subAreaLossStep(5, 5, road, state);
    EXPECT_EQ(state.excessLoss, 5.0 * 0.7 / 100.0);
    EXPECT_EQ(state.excess, 0.7 - 5.0 * 0.7 / 100.0);
    EXPECT_EQ(loss, 0.3 * 0.0 + 0.3 * (0.0 - 0.0) + 0.3 * 0.0 + 0.3 * (5.0 * 0.7 / 100.0));
}

// With a remainder exactly equal to the free room the storage is set to its
// capacity, not grown by the remainder: 0.2 + (0.86 - 0.2) is one ulp short of
// 0.86, so only the strict comparison leaves the storage exactly full.
TEST(SubAreaLossStep, RemainderEqualToTheRoomSetsStorageToCapacityExactly) {
    const vesk::SubArea roof = impervious(1.0, 0.86);
    LossState state{};
    state.depressionStorage = 0.2;
    state.waterInput = 0.86 - 0.2;
    ASSERT_NE(0.2 + state.waterInput, 0.86);
    vesk::subAreaLossStep(5, 5, roof, state);
    EXPECT_EQ(state.depressionStorage, 0.86);
    EXPECT_EQ(state.excess, 0.0);
    EXPECT_EQ(state.excessLoss, 0.0);
}

TEST(SubAreaLossStep, CarriedCapacityIsUsedOnceAndCleared) {
    const vesk::SubArea roof = impervious(1.0, 0.0);
    LossState state{};
    state.waterInput = 0.3;
    state.capacityCarry = 0.2;
    vesk::subAreaLossStep(5, 5, roof, state);
    EXPECT_DOUBLE_EQ(state.infiltration, 0.2);
    EXPECT_EQ(state.capacityCarry, 0.0);
}

// A basin with all four sub-areas: 1 sq mi, 40 % impervious, half of each part
// connected or receiving.
vesk::Basin fourPartBasin() {
    vesk::Basin basin;
    basin.area = 1.0;
    basin.precip.timeStep = 5;
    basin.dcia = impervious(0.2, 0.05);
    basin.uia = impervious(0.2, 0.05);
    basin.rpa = pervious(0.3, 2.0, 0.5, 0.001, 0.1);
    basin.spa = pervious(0.3, 2.0, 0.5, 0.001, 0.1);
    vesk::formStepConstants(basin);
    return basin;
}

class BasinLossStep : public FreshLibrary {
protected:
    static void stepWithRain(vesk::Basin &basin, double rain) {
        basin.precip.time += basin.precip.timeStep;
        basin.precip.stepRain = rain;
        vesk::basinLossStep(basin);
    }
};

TEST_F(BasinLossStep, RunOnOfTheUiaIsSpreadOverTheRpa) {
    vesk::Basin basin = fourPartBasin();
    stepWithRain(basin, 1.0);
    const PrecipState &p = basin.precip;
    EXPECT_NEAR(p.uia.excess, 0.95 * 0.95, 1e-15);
    EXPECT_EQ(p.rpa.waterInput, 1.0 + (0.2 / 0.3) * p.uia.excess);
    EXPECT_EQ(p.spa.waterInput, 1.0);
    EXPECT_EQ(p.stepExcess, ((0.2 / 1.0) * p.dcia.excess + (0.3 / 1.0) * p.rpa.excess) + (0.3 / 1.0) * p.spa.excess);
    EXPECT_EQ(basin.rainVolume, 1.0);
    EXPECT_NEAR(basin.lossVolume + basin.runoffVolume, basin.rainVolume, 1e-15);
}

TEST_F(BasinLossStep, SkippedSubAreas) {
    struct Case {
        const char *what;
        double uiaArea, rpaArea, spaArea;
        bool uiaRuns, rpaRuns;
    };
    const double floor = vesk::kFractionFloor;
    const Case cases[] = {
        {"area exactly at the floor is skipped", floor, floor, 0.3, false, false},
        {"UIA runs, RPA too small", 0.2, floor, 0.6 - floor, true, false},
        {"UIA too small, RPA runs", 0.0, 0.3, 0.3, false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        vesk::Basin basin = fourPartBasin();
        basin.uia.area = c.uiaArea;
        basin.rpa.area = c.rpaArea;
        basin.spa.area = c.spaArea;
        vesk::formStepConstants(basin);
        stepWithRain(basin, 1.0);
        const PrecipState &p = basin.precip;
        EXPECT_EQ(p.uia.waterInput != 0.0, c.uiaRuns);
        EXPECT_EQ(p.rpa.waterInput != 0.0, c.rpaRuns);
        if (!c.rpaRuns) {
            EXPECT_EQ(p.rpa.excess, 0.0);
        }
        if (c.rpaRuns && !c.uiaRuns) {
            EXPECT_EQ(p.rpa.waterInput, 1.0); // rain alone
        }
        const double rpaShare = c.rpaRuns ? (c.rpaArea / 1.0) * p.rpa.excess : 0.0;
        const double expectedExcess = ((0.2 / 1.0) * p.dcia.excess + rpaShare) + (c.spaArea / 1.0) * p.spa.excess;
        EXPECT_DOUBLE_EQ(p.stepExcess, expectedExcess);
        if (c.uiaRuns && !c.rpaRuns) {
            // The UIA's excess (and the rain on the tiny RPA) leave the books:
            // counted neither as loss nor as runoff.
            EXPECT_NEAR(basin.rainVolume - basin.lossVolume - basin.runoffVolume, 0.2 * p.uia.excess + floor * 1.0,
                        1e-14);
        }
    }
}

// Over random realistic basins and storms, every drop of rain is either lost
// or runs off, as long as every sub-area is stepped.
TEST_F(BasinLossStep, RainIsLossPlusRunoffOverRandomBasinsAndStorms) {
    std::mt19937_64 random(20240611);
    auto uniform = [&random](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    for (int trial = 0; trial < 300; ++trial) {
        SCOPED_TRACE(trial);
        const double area = uniform(0.05, 8.0);
        const double impervious = uniform(0.01, 0.99);
        const double dcif = uniform(0.05, 0.95);
        const double rpf = uniform(0.05, 0.95);
        const double f0 = uniform(0.5, 6.0);
        const double fc = uniform(0.05, f0);
        const double k = uniform(0.0, 0.005);
        vesk::Basin basin;
        basin.area = area;
        basin.precip.timeStep = 1 + static_cast<int32_t>(uniform(0.0, 15.0));
        basin.dcia = handbuilt::impervious(dcif * (area * impervious), uniform(0.0, 0.2));
        basin.uia = handbuilt::impervious((1 - dcif) * (area * impervious), basin.dcia.maxDepressionStorage);
        basin.rpa = pervious(rpf * ((1 - impervious) * area), f0, fc, k, uniform(0.0, 0.5));
        basin.spa = pervious((1 - rpf) * ((1 - impervious) * area), f0, fc, k, basin.rpa.maxDepressionStorage);
        vesk::formStepConstants(basin);

        for (const vesk::SubArea *part : {&basin.dcia, &basin.uia, &basin.rpa, &basin.spa})
            ASSERT_GT(part->area, vesk::kFractionFloor);
        const int steps = 10 + static_cast<int>(uniform(0.0, 200.0));
        for (int s = 0; s < steps; ++s) {
            const double rain = uniform(0.0, 1.0) < 0.3 ? 0.0 : uniform(0.0, 0.8);
            stepWithRain(basin, rain);
        }
        EXPECT_NEAR(basin.lossVolume + basin.runoffVolume, basin.rainVolume, 1e-9 * basin.rainVolume);
    }
}

} // namespace
