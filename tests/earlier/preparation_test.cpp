// Earlier-level preparation: nothing snapped or written back, 0 asks for the
// default fractions, shares and effective imperviousness stored, coefficients
// from the effective imperviousness, the shared refusals of the hydrograph.
#include <cmath>
#include <cstring>
#include <limits>

#include "earlier_test_support.h"

namespace {

using EarlierPreparation = EarlierLibrary;

TEST_F(EarlierPreparation, OpenNeedsNoHandshake) {
    vesk_open();
    EXPECT_EQ(vesk_geterror(), VESK_OK);
    const BasinInput record = sampleRecord();
    vesk_addbasin(&record, "north");
    EXPECT_EQ(vesk_geterror(), VESK_OK);
    EXPECT_EQ(vesk_getuhlength("NORTH"), 26);
}

TEST_F(EarlierPreparation, CallersRecordIsNeverWritten) {
    // Values the current level would snap and write back, or derive.
    BasinInput records[4] = {sampleRecord(), sampleRecord(), sampleRecord(), sampleRecord()};
    records[0].imperviousPct = 0.0;
    records[1].imperviousPct = 100.0;
    records[2].area = 10.0;
    records[2].dcif = 0.999999;
    records[3].dcif = 0.0;
    records[3].rpf = -1.0;
    records[3].shape.ct = 0.0;
    records[3].shape.cp = 0.0;
    vesk_open();
    const char *names[4] = {"A", "B", "C", "D"};
    for (int i = 0; i < 4; ++i) {
        BasinInput before;
        std::memcpy(&before, &records[i], sizeof before);
        vesk_addbasin(&records[i], names[i]);
        EXPECT_EQ(vesk_geterror(), VESK_OK) << names[i];
        EXPECT_EQ(std::memcmp(&before, &records[i], sizeof before), 0) << names[i];
    }
}

struct DefaultCase {
    const char *name;
    int32_t level;
    double imperviousPct;
    double dcif; // given
    double rpf;  // given
    double storedDcif;
    double storedRpf;
};

TEST_F(EarlierPreparation, ZeroOrNegativeFractionsTakeTheLevelsDefaultLines) {
    const DefaultCase cases[] = {
        {"zero at level 0", 0, 30.0, 0.0, 0.0, 0.6, 0.155},
        {"negative at level 0", 0, 60.0, -1.0, -1.0, 0.9, 0.26},
        {"level 1", 1, 60.0, 0.0, 0.0, 0.75, 0.5},
        {"level 2 low", 2, 30.0, 0.0, 0.0, 0.15, 0.475},
        {"level 2 high", 2, 85.0, 0.0, 0.0, 0.7, 0.96},
        {"level 9 as level 0", 9, 60.0, 0.0, 0.0, 0.9, 0.26},
        {"given and kept", 2, 85.0, 0.3, 0.2, 0.3, 0.2},
        {"given above 1", 0, 50.0, 1.5, 2.0, 1.0, 1.0},
        {"100 % at level 0", 0, 100.0, 0.0, 0.0, 1.0, 0.4},
    };
    vesk_open();
    for (const DefaultCase &c : cases) {
        BasinInput record = sampleRecord();
        record.disconnectionLevel = c.level;
        record.imperviousPct = c.imperviousPct;
        record.dcif = c.dcif;
        record.rpf = c.rpf;
        vesk_addbasin(&record, c.name);
        ASSERT_EQ(vesk_geterror(), VESK_OK) << c.name;
        BasinInput out{};
        vesk_getbasin(c.name, &out);
        EXPECT_NEAR(out.dcif, c.storedDcif, 1e-12) << c.name;
        EXPECT_NEAR(out.rpf, c.storedRpf, 1e-12) << c.name;
        EXPECT_LE(out.dcif, 1.0) << c.name;
    }
}

TEST_F(EarlierPreparation, SharesAndRunOnRatioAreStoredInPlaceOfTheRecords) {
    vesk_open();
    BasinInput record = sampleRecord(); // 50 %, DCIF 0.5, RPF 0.5
    record.imperviousPct = 40.0;
    record.rpf = 0.25;
    record.rpaShare = 0.9; // ignored: preparation computes them
    record.spaShare = 0.9;
    record.eiaPct = 77.0;
    vesk_addbasin(&record, "shares");
    BasinInput out{};
    vesk_getbasin("shares", &out);
    EXPECT_NEAR(out.rpaShare, 0.6 * 0.25, 1e-15);
    EXPECT_NEAR(out.spaShare, 0.6 * 0.75, 1e-15);
    EXPECT_EQ(out.eiaPct, 40.0); // level 0: the imperviousness itself
    // UIA 0.4 * 0.5 = 0.2 of the basin over RPA 0.15.
    EXPECT_NEAR(stored("shares")->runOnRatio, 0.2 / 0.15, 1e-14);
}

TEST_F(EarlierPreparation, FullyConnectedOrFullyImperviousBasinsKeepIeeeShares) {
    vesk_open();
    BasinInput full = sampleRecord();
    full.imperviousPct = 100.0; // level 0: DCIF 1.1 limited to 1
    full.dcif = 0.0;
    full.rpf = 0.0;
    vesk_addbasin(&full, "full");
    ASSERT_EQ(vesk_geterror(), VESK_OK);
    BasinInput out{};
    vesk_getbasin("full", &out);
    EXPECT_EQ(out.dcif, 1.0);
    EXPECT_EQ(out.rpaShare, 0.001);
    EXPECT_EQ(out.spaShare, 0.0);
    EXPECT_TRUE(std::isnan(stored("full")->runOnRatio)); // 0 / 0

    BasinInput partly = sampleRecord();
    partly.imperviousPct = 100.0;
    partly.dcif = 0.5;
    vesk_addbasin(&partly, "partly");
    EXPECT_EQ(stored("partly")->runOnRatio, std::numeric_limits<double>::infinity()); // 0.5 / 0
}

TEST_F(EarlierPreparation, DefaultCoefficientsFollowTheEffectiveImperviousness) {
    vesk_open();
    BasinInput record = sampleRecord();
    record.disconnectionLevel = 2;
    record.imperviousPct = 50.0;
    record.area = 0.2; // small enough for the CT correction
    record.shape.ct = 0.0;
    record.shape.cp = 0.0;
    vesk_addbasin(&record, "level two");
    ASSERT_EQ(vesk_geterror(), VESK_OK);
    BasinInput out{};
    vesk_getbasin("level two", &out);
    EXPECT_NEAR(out.eiaPct, 43.575, 1e-6);
    EXPECT_EQ(out.eiaPct, vesk_calcEIA(2, 50.0));
    EXPECT_EQ(out.shape.ct, vesk_calcCT(out.eiaPct, 0.2));
    EXPECT_EQ(out.shape.cp, vesk_calcCP(out.eiaPct, 0.2));
    EXPECT_NE(out.shape.ct, vesk_calcCT(50.0, 0.2));

    // A given ct is kept, and cp is still derived without it.
    record.shape.ct = 0.2;
    vesk_addbasin(&record, "given ct");
    vesk_getbasin("given ct", &out);
    EXPECT_EQ(out.shape.ct, 0.2);
    EXPECT_EQ(out.shape.cp, vesk_calcCP(vesk_calcEIA(2, 50.0), 0.2));
}

struct RefusalCase {
    const char *what;
    void (*spoil)(BasinInput &);
};

TEST_F(EarlierPreparation, BasinsTheHydrographCannotTakeAreRefusedWithCodeTwo) {
    constexpr double spoiled = std::numeric_limits<double>::quiet_NaN();
    const RefusalCase cases[] = {
        {"step 0", [](BasinInput &r) { r.shape.uhTimeStep = 0; }},
        {"negative step", [](BasinInput &r) { r.shape.uhTimeStep = -5; }},
        {"flat", [](BasinInput &r) { r.slope = 0.0; }},
        {"uphill", [](BasinInput &r) { r.slope = -0.01; }},
        {"NaN area", [](BasinInput &r) { r.area = spoiled; }},
        {"NaN decay", [](BasinInput &r) { r.infiltrationDecay = spoiled; }},
        {"infinite storage", [](BasinInput &r) { r.perviousDepressionStorage = HUGE_VAL; }},
        {"NaN imperviousness", [](BasinInput &r) { r.imperviousPct = spoiled; }},
        {"NaN width", [](BasinInput &r) { r.shape.width50 = spoiled; }},
    };
    for (const RefusalCase &c : cases) {
        vesk_free();
        vesk_open();
        BasinInput record = sampleRecord();
        c.spoil(record);
        vesk_addbasin(&record, "refused");
        EXPECT_EQ(vesk_geterror(), VESK_ERR_UH_FIT) << c.what;
        EXPECT_EQ(vesk_getuhlength("refused"), -1) << c.what;
    }
}

// Loss parameters that make more runoff than rain (or NaN outflow, for a
// negative decay) and an imperviousness outside 0 to 100 %, which this level
// does not snap and which gave negative shares and outflow, are refused.
TEST_F(EarlierPreparation, ImpossibleLossParametersAreRefusedWithCodeTwo) {
    const RefusalCase cases[] = {
        {"negative initial rate", [](BasinInput &r) { r.initialInfiltrationRate = -0.1; }},
        {"negative final rate", [](BasinInput &r) { r.finalInfiltrationRate = -0.1; }},
        {"negative decay", [](BasinInput &r) { r.infiltrationDecay = -0.0018; }},
        {"negative impervious storage", [](BasinInput &r) { r.imperviousDepressionStorage = -0.05; }},
        {"negative pervious storage", [](BasinInput &r) { r.perviousDepressionStorage = -0.1; }},
        {"imperviousness below 0", [](BasinInput &r) { r.imperviousPct = -1.0; }},
        {"imperviousness above 100", [](BasinInput &r) { r.imperviousPct = 100.5; }},
    };
    for (const RefusalCase &c : cases) {
        vesk_free();
        vesk_open();
        BasinInput record = sampleRecord();
        c.spoil(record);
        vesk_addbasin(&record, "refused");
        EXPECT_EQ(vesk_geterror(), VESK_ERR_UH_FIT) << c.what;
        EXPECT_EQ(stored("refused"), nullptr) << c.what;
    }
    // The ends of the ranges are valid.
    vesk_free();
    vesk_open();
    for (double pct : {0.0, 100.0}) {
        BasinInput record = sampleRecord();
        record.imperviousPct = pct;
        record.infiltrationDecay = 0.0;
        record.perviousDepressionStorage = 0.0;
        vesk_addbasin(&record, pct == 0.0 ? "open field" : "car park");
        EXPECT_EQ(vesk_geterror(), VESK_OK) << pct;
    }
}

// A tiny area drives the default time-to-peak coefficient up until the curve
// would run for centuries; at an hourly step such a basin walked the
// rising-limb check for half a minute before its refusal.  It is refused
// before anything is allocated, so an allocation made to fail does not show.
TEST_F(EarlierPreparation, CurvesReachingBeyondTenWeeksAreRefusedBeforeAnyAllocation) {
    vesk_open();
    BasinInput record = sampleRecord();
    record.area = 1e-30;
    record.shape.ct = 0.0;
    record.shape.cp = 0.0;
    record.shape.uhTimeStep = 60;
    vesk::failAllocationNumber(1);
    vesk_addbasin(&record, "speck");
    vesk::failAllocationNumber(0);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_UH_FIT);
    EXPECT_EQ(stored("speck"), nullptr);
}

// A basin of no or negative area was stored in corners of the shape and gave
// negative outflow; it is refused before anything is allocated.
TEST_F(EarlierPreparation, AreaNotAboveZeroIsRefusedBeforeAnyAllocation) {
    for (double area : {-1.0, -0.0, 0.0}) {
        vesk_free();
        vesk_open();
        BasinInput record = sampleRecord();
        record.area = area;
        record.imperviousPct = 100.0;
        record.imperviousDepressionStorage = record.perviousDepressionStorage = 0.0;
        record.shape = ShapeParameters{100.0, 100.0, 0.0, 0.0, 100.0, 100.0, 60, 0};
        vesk::failAllocationNumber(1);
        vesk_addbasin(&record, "nowhere");
        vesk::failAllocationNumber(0);
        EXPECT_EQ(vesk_geterror(), VESK_ERR_UH_FIT) << area;
        EXPECT_EQ(stored("nowhere"), nullptr) << area;
    }
}

TEST_F(EarlierPreparation, RegistryFailuresAndPendingCodesStoreNothing) {
    const BasinInput record = sampleRecord();
    vesk_addbasin(&record, "closed"); // no registry yet
    EXPECT_EQ(vesk_geterror(), VESK_ERR_NULL);

    vesk_open(); // opening does not clear a pending code
    EXPECT_EQ(vesk_geterror(), VESK_ERR_NULL);

    vesk_free();
    vesk_open();
    vesk_addbasin(nullptr, "no record");
    EXPECT_EQ(vesk_geterror(), VESK_ERR_NULL);

    vesk_free();
    vesk_open();
    vesk_addbasin(&record, nullptr);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_NULL);

    vesk_free();
    vesk_open();
    vesk_addbasin(&record, "twice");
    vesk_addbasin(&record, "TWICE");
    EXPECT_EQ(vesk_geterror(), VESK_ERR_DUPLICATE_BASIN);

    // Code 6 still pending: the next basin is not stored, and a call without
    // a record or a name leaves the code as it is.
    vesk_addbasin(&record, "later");
    EXPECT_EQ(vesk_geterror(), VESK_ERR_DUPLICATE_BASIN);
    EXPECT_EQ(vesk_getuhlength("later"), -1);
    vesk::setErrorCode(VESK_ERR_DUPLICATE_BASIN);
    vesk_addbasin(nullptr, "no record");
    EXPECT_EQ(vesk_geterror(), VESK_ERR_DUPLICATE_BASIN);
    vesk_addbasin(&record, nullptr);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_DUPLICATE_BASIN);
}

TEST_F(EarlierPreparation, OutOfMemoryInTheHydrographStoresNothing) {
    for (int64_t n = 1; n <= 4; ++n) { // the two arrays, then the name and the node
        vesk_free();
        vesk_open();
        const BasinInput record = sampleRecord();
        vesk::failAllocationNumber(n);
        vesk_addbasin(&record, "starved");
        vesk::failAllocationNumber(0);
        EXPECT_EQ(vesk_geterror(), VESK_ERR_NO_MEMORY) << n;
        EXPECT_EQ(stored("starved"), nullptr) << n;
    }
}

} // namespace
