// Bit-exact pins of the earlier level beyond the golden table: the default
// lines on either side of their thresholds with the shares they give, the
// lumped loss step over a short storm, and the refusal of non-finite
// fractions.  The expected values come from an independent evaluation of each
// formula in its written order.
#include <cmath>
#include <limits>

#include "earlier/lumped_loss_step.h"
#include "earlier_test_support.h"

namespace {

struct DefaultLineCase {
    const char *what;
    int32_t level;
    double imperviousPct;
    double dcif;
    double rpf;
};

// The default lines hold up to their threshold inclusive; the line above
// starts strictly above it, and there the two differ in the last bits.
TEST_F(EarlierLibrary, DefaultLinesSwitchStrictlyAboveTheirThresholds) {
    const DefaultLineCase cases[] = {
        {"level 2 at 80", 2, 80.0, 0.4, 0.9200000000000002},
        {"level 2 at 85", 2, 85.0, 0.6999999999999993, 0.9600000000000001},
        {"level 2 at 40", 2, 40.0, 0.2, 0.6},
        {"level 1 at 40", 1, 40.0, 0.5, 0.3},
        {"level 1 at 65", 1, 65.0, 0.8125, 0.55},
        {"level 0 at 35", 0, 35.0, 0.7000000000000001, 0.1725},
    };
    vesk_open();
    for (const DefaultLineCase &c : cases) {
        BasinInput record = sampleRecord();
        record.disconnectionLevel = c.level;
        record.imperviousPct = c.imperviousPct;
        record.dcif = 0.0;
        record.rpf = 0.0;
        vesk_addbasin(&record, c.what);
        ASSERT_EQ(vesk_geterror(), VESK_OK) << c.what;
        const vesk::Basin *basin = stored(c.what);
        ASSERT_NE(basin, nullptr) << c.what;
        EXPECT_EQ(basin->dcif, c.dcif) << c.what;
        EXPECT_EQ(basin->rpf, c.rpf) << c.what;
    }
    // Shares of the level 2 basin at 85 %, c = 0.85.
    const vesk::Basin *basin = stored("level 2 at 85");
    EXPECT_EQ(basin->rpaShare, 0.14400000000000004);
    EXPECT_EQ(basin->spaShare, 0.00599999999999999);
    EXPECT_EQ(basin->runOnRatio, 1.7708333333333366);
}

// clock, infiltration, reserved, spaStorage, spaOverflow, spaExcess, runOn,
// rpaStorage, rpaOverflow, rpaExcess, imperviousStorage, imperviousLoss,
// imperviousExcess, dciaExcess, stepExcess after each step.
constexpr int kFields = 15;
struct StepRow {
    double rain;
    double fields[kFields];
};

TEST(EarlierExactLossStep, AShortStormFieldByField) {
    vesk::Basin basin;
    basin.imperviousPct = 37.0;
    basin.dcif = 0.3;
    basin.rpf = 0.45;
    basin.perviousDepressionStorage = 0.07;
    basin.imperviousDepressionStorage = 0.03;
    basin.initialInfiltrationRate = 4.2;
    basin.finalInfiltrationRate = 0.7;
    basin.infiltrationDecay = 0.0013;
    basin.shape.uhTimeStep = 7;
    // Step 1 rain below the capacity; step 2 above it; step 3 below it again
    // while the run-on still spills from the full receiving storage; a dry
    // step last.
    const StepRow rows[] = {
        {0.35, {7.0, 0.35, 0.0, 0.0, 0.0, 0.0, 0.07873599999999999, 0.07, 0.008735999999999966,
                0.0024766559999999903, 0.03, 0.015999999999999997, 0.30399999999999994, 0.033743999999999996,
                0.03622065599999999}},
        {0.6, {14.0, 0.2684397551673593, 0.0, 0.07, 0.2615602448326407, 0.09063062483451001, 0.14762999999999998,
               0.07, 0.47919024483264067, 0.13585043441005362, 0.03, 0.03, 0.57, 0.06326999999999999,
               0.2897510592445636}},
        {0.05, {21.0, 0.05, 0.0, 0.07, 0.0, 0.0, 0.012302500000000001, 0.07, 0.012302499999999994,
                0.0034877587499999984, 0.03, 0.0025000000000000005, 0.0475, 0.0052725, 0.00876025875}},
        {0.0, {28.0, 0.0, 0.0, 0.07, 0.0, 0.0, 0.0, 0.07, 0.0, 0.0, 0.03, 0.0, 0.0, 0.0, 0.0}},
    };
    int stepNumber = 0;
    for (const StepRow &row : rows) {
        ++stepNumber;
        basin.step.reserved = 9.0; // every step clears it
        vesk::earlier::lumpedLossStep(basin, row.rain);
        const double *fields = &basin.step.clock;
        for (int i = 0; i < kFields; ++i)
            EXPECT_EQ(fields[i], row.fields[i]) << "step " << stepNumber << " field " << i;
    }
}

// Preparation limits a fraction above 1 and replaces one at 0 or below, but
// an infinite fraction is not a request: it is refused like any other
// non-finite parameter.
TEST_F(EarlierLibrary, InfiniteFractionsAreRefusedNotLimitedOrReplaced) {
    constexpr double infinity = std::numeric_limits<double>::infinity();
    const struct {
        const char *what;
        double dcif;
        double rpf;
    } cases[] = {
        {"dcif +inf", infinity, 0.5},
        {"dcif -inf", -infinity, 0.5},
        {"rpf +inf", 0.5, infinity},
        {"rpf -inf", 0.5, -infinity},
    };
    for (const auto &c : cases) {
        vesk_free();
        vesk_open();
        BasinInput record = sampleRecord();
        record.dcif = c.dcif;
        record.rpf = c.rpf;
        vesk_addbasin(&record, "refused");
        EXPECT_EQ(vesk_geterror(), VESK_ERR_UH_FIT) << c.what;
        EXPECT_EQ(stored("refused"), nullptr) << c.what;
    }
    // A minus-infinite coefficient is as unusable as any other infinity,
    // though its sign asks for the default.
    const struct {
        const char *what;
        double ShapeParameters::*field;
    } shapeCases[] = {{"ct", &ShapeParameters::ct}, {"cp", &ShapeParameters::cp},
                      {"width50", &ShapeParameters::width50}, {"rise75Fraction", &ShapeParameters::rise75Fraction}};
    for (const auto &c : shapeCases) {
        vesk_free();
        vesk_open();
        BasinInput record = sampleRecord();
        record.shape.*c.field = -infinity;
        vesk_addbasin(&record, "refused");
        EXPECT_EQ(vesk_geterror(), VESK_ERR_UH_FIT) << c.what;
        EXPECT_EQ(stored("refused"), nullptr) << c.what;
    }
    // A pending code still wins over the refusal.
    vesk_free();
    vesk_open();
    vesk_execute("missing", 0.0, 0);
    BasinInput record = sampleRecord();
    record.dcif = infinity;
    vesk_addbasin(&record, "refused");
    EXPECT_EQ(vesk_geterror(), VESK_ERR_BASIN_NOT_FOUND);
}

} // namespace

namespace {

// Opening sets no code of its own: a failed table leaves 3, and a code
// pending before the call survives it.
TEST_F(EarlierLibrary, OpenSetsOnlyItsOwnAllocationFailure) {
    vesk::failAllocationNumber(1);
    vesk_open();
    vesk::failAllocationNumber(0);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_NO_MEMORY);
    const BasinInput record = sampleRecord();
    vesk_addbasin(&record, "nowhere"); // code 3 pending: stops before the hydrograph
    EXPECT_EQ(vesk_geterror(), VESK_ERR_NO_MEMORY);

    vesk_free();
    EXPECT_EQ(vesk_getuhlength("x"), -1); // code 5, no registry
    vesk_open();
    EXPECT_EQ(vesk_geterror(), VESK_ERR_NULL);
}

// A second open releases the registry of the first, which the host can no
// longer reach (the sanitizer build's leak check fails if it is not).
TEST_F(EarlierLibrary, SecondOpenReleasesTheFirstRegistry) {
    vesk_open();
    const BasinInput record = sampleRecord();
    vesk_addbasin(&record, "first");
    ASSERT_EQ(vesk_geterror(), VESK_OK);
    vesk_open();
    EXPECT_EQ(vesk_geterror(), VESK_OK);
    EXPECT_EQ(vesk_getuhlength("first"), -1);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_BASIN_NOT_FOUND);
}

} // namespace
