// Stepping an earlier-level basin: one step of shape.uhTimeStep per
// vesk_execute, the lumped loss step convolved with the unit hydrograph, and
// the queries around it.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "earlier_test_support.h"

namespace {

using EarlierSimulation = EarlierLibrary;

TEST_F(EarlierSimulation, EveryCallIsOneStepWhateverTheIntegerSays) {
    vesk_open();
    const BasinInput record = sampleRecord();
    vesk_addbasin(&record, "steps");
    for (int32_t target : {0, -100, INT32_MAX}) vesk_execute("steps", 0.5, target);
    StepState state{};
    vesk_getbasin_precip("steps", &state);
    EXPECT_EQ(state.clock, 3 * 5.0);
    EXPECT_EQ(vesk_geterror(), VESK_OK);
}

TEST_F(EarlierSimulation, OutflowIsTheExcessConvolvedWithTheOrdinates) {
    vesk_open();
    BasinInput record = sampleRecord();
    record.imperviousPct = 100.0; // only the directly connected share drains
    record.dcif = 1.0;
    record.imperviousDepressionStorage = 0.0;
    vesk_addbasin(&record, "paved");
    ASSERT_EQ(vesk_geterror(), VESK_OK);
    // One inch, then dry steps: each outflow is 95 % of one ordinate.
    const int32_t length = vesk_getuhlength("paved");
    for (int32_t i = 0; i < length + 2; ++i) {
        const double outflow = vesk_execute("paved", i == 0 ? 1.0 : 0.0, 0);
        const double ordinate = i < length ? vesk_getuhordinatevalue("paved", i) : 0.0;
        EXPECT_NEAR(outflow, 0.95 * ordinate, 1e-9) << "step " << i;
    }
    // Two wet steps overlap: step 2 carries ordinate 1 of the first and
    // ordinate 0 of the second.
    vesk_addbasin(&record, "paved twice");
    vesk_execute("paved twice", 1.0, 0);
    EXPECT_NEAR(vesk_execute("paved twice", 1.0, 0),
                0.95 * (vesk_getuhordinatevalue("paved twice", 1) + vesk_getuhordinatevalue("paved twice", 0)),
                1e-9);
}

// Rain outside 0 to 1,000 in poisoned the basin (NaN, infinite or
// overflowing depths) or was taken as negative infiltration: now the call
// takes no step and returns -1, and the code stays as it was.  Both ends of
// the range are taken.
TEST_F(EarlierSimulation, RainOutsideZeroToAThousandInchesTakesNoStep) {
    const double inf = std::numeric_limits<double>::infinity();
    vesk_open();
    const BasinInput record = sampleRecord();
    vesk_addbasin(&record, "kept");
    vesk_addbasin(&record, "twin");
    for (double rain : {std::numeric_limits<double>::quiet_NaN(), inf, -inf, -5.0, -1e-300,
                        std::nextafter(1000.0, inf), 1e306, 1e308})
        EXPECT_EQ(vesk_execute("kept", rain, 0), -1.0) << rain;
    EXPECT_EQ(vesk_geterror(), VESK_OK);
    StepState state{};
    vesk_getbasin_precip("kept", &state);
    EXPECT_EQ(state.clock, 0.0);
    // The refused calls left nothing behind: both basins step alike.
    for (double rain : {1.0, 0.0, 1000.0, 0.0, 1.0}) {
        const double outflow = vesk_execute("kept", rain, 0);
        EXPECT_GE(outflow, 0.0) << rain;
        EXPECT_EQ(outflow, vesk_execute("twin", rain, 0)) << rain;
    }
    vesk_getbasin_precip("kept", &state);
    EXPECT_EQ(state.clock, 5 * 5.0);
}

TEST_F(EarlierSimulation, FailedLookupsAndPendingCodesTakeNoStep) {
    EXPECT_EQ(vesk_execute("closed", 1.0, 5), -1.0);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_NULL);

    vesk_free();
    vesk_open();
    const BasinInput record = sampleRecord();
    vesk_addbasin(&record, "kept");
    EXPECT_EQ(vesk_execute("missing", 1.0, 5), -1.0);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_BASIN_NOT_FOUND);
    EXPECT_EQ(vesk_execute("kept", 1.0, 5), -1.0); // code 1 still pending
    EXPECT_EQ(vesk_execute(nullptr, 1.0, 5), -1.0);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_BASIN_NOT_FOUND); // a null name leaves a pending code

    // The step block is not gated: it answers with the code pending and
    // shows that no step was taken.
    StepState state{};
    state.clock = -1.0;
    vesk_getbasin_precip("KEPT", &state);
    EXPECT_EQ(state.clock, 0.0);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_BASIN_NOT_FOUND);
}

TEST_F(EarlierSimulation, ParameterCopyIsGatedAndNullDestinationsAreRefused) {
    vesk_open();
    const BasinInput record = sampleRecord();
    vesk_addbasin(&record, "gated");
    vesk_execute("missing", 1.0, 0); // code 1
    BasinInput out{};
    out.area = -7.0;
    vesk_getbasin("gated", &out);
    EXPECT_EQ(out.area, -7.0);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_BASIN_NOT_FOUND);

    vesk::setErrorCode(VESK_OK);
    vesk_getbasin("gated", nullptr);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_NULL);
    vesk::setErrorCode(VESK_OK);
    vesk_getbasin_precip("gated", nullptr);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_NULL);

    vesk_free();
    vesk_open();
    vesk_addbasin(&record, "open");
    vesk_getbasin("open", &out);
    EXPECT_EQ(out.area, 1.0);
    EXPECT_EQ(out.perviousDepressionStorage, 0.1);
    EXPECT_EQ(out.infiltrationDecay, 0.0018);
    EXPECT_EQ(out.shape.uhTimeStep, 5);
}

// Every export that takes a pointer: a null one leaves a pending code, and
// with none pending sets its own code as before.
TEST_F(EarlierSimulation, NullPointerLeavesAPendingCode) {
    struct Case {
        const char *what;
        void (*call)();
        int32_t codeWhenNonePending;
    };
    const Case cases[] = {
        {"getbasin, no destination", [] { vesk_getbasin("A", nullptr); }, VESK_ERR_NULL},
        {"getbasin, no name", [] { BasinInput out; vesk_getbasin(nullptr, &out); }, VESK_ERR_NULL},
        {"getbasin_precip, no destination", [] { vesk_getbasin_precip("A", nullptr); }, VESK_ERR_NULL},
        {"getbasin_precip, no name", [] { StepState out; vesk_getbasin_precip(nullptr, &out); }, VESK_ERR_NULL},
        {"execute", [] { vesk_execute(nullptr, 1.0, 0); }, VESK_ERR_NULL},
        {"getuhlength", [] { vesk_getuhlength(nullptr); }, VESK_ERR_NULL},
        {"getuhordinatevalue", [] { vesk_getuhordinatevalue(nullptr, 0); }, VESK_ERR_NULL},
        {"addbasin", [] { vesk_addbasin(nullptr, "A"); }, VESK_ERR_NULL},
        {"loadandadd", [] { vesk_loadandadd(nullptr); }, VESK_ERR_FILE_OPEN},
    };
    vesk_open();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        vesk::setErrorCode(VESK_ERR_DUPLICATE_BASIN);
        c.call();
        EXPECT_EQ(vesk_geterror(), VESK_ERR_DUPLICATE_BASIN);
        vesk::setErrorCode(VESK_OK);
        c.call();
        EXPECT_EQ(vesk_geterror(), c.codeWhenNonePending);
    }
}

class EarlierBasinFile : public EarlierLibrary {
protected:
    // One file per test: ctest runs the tests as parallel processes.
    std::string path = ::testing::TempDir() + "earlier_basin_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
    void write(const char *text) {
        std::FILE *file = std::fopen(path.c_str(), "w");
        ASSERT_NE(file, nullptr);
        std::fputs(text, file);
        std::fclose(file);
    }
    void TearDown() override {
        std::remove(path.c_str());
        EarlierLibrary::TearDown();
    }
};

TEST_F(EarlierBasinFile, LoadedBasinGetsItsSharesFromPreparation) {
    write("Creek\n"
          "1.0 0 1.0 0.5\n"
          "50 2.0 0.9 0.5\n"
          "0.9 0.02\n"
          "0.05 0.1\n"
          "5.0 0.0018 1.0\n"
          "0.5 0.1 0 0\n"
          "5 0 0\n");
    vesk_open();
    vesk_loadandadd(path.c_str());
    ASSERT_EQ(vesk_geterror(), VESK_OK);
    EXPECT_EQ(vesk_getuhlength("creek"), 26);
    BasinInput out{};
    vesk_getbasin("CREEK", &out);
    EXPECT_EQ(out.length, 2.0);
    EXPECT_EQ(out.imperviousDepressionStorage, 0.05);
    EXPECT_EQ(out.initialInfiltrationRate, 5.0);
    EXPECT_EQ(out.infiltrationDecay, 0.0018);
    EXPECT_NEAR(out.rpaShare, 0.25, 1e-15); // not the file's 0.9
    EXPECT_NEAR(out.spaShare, 0.25, 1e-15);
    // Stepped straight away by its uhTimeStep: the file needs no time step.
    EXPECT_GE(vesk_execute("creek", 1.0, 0), 0.0);
}

TEST_F(EarlierBasinFile, MissingOrUnusableFilesAddNothing) {
    vesk_open();
    vesk_loadandadd((path + ".absent").c_str());
    EXPECT_EQ(vesk_geterror(), VESK_ERR_FILE_OPEN);
    vesk_free();
    vesk_open();
    vesk_loadandadd(nullptr);
    EXPECT_EQ(vesk_geterror(), VESK_ERR_FILE_OPEN);

    // A file that ends early keeps area and lengths at 1.0 but has no
    // unit-hydrograph step: the basin is refused.
    write("Stub\n1.0 0\n");
    vesk_free();
    vesk_open();
    vesk_loadandadd(path.c_str());
    EXPECT_EQ(vesk_geterror(), VESK_ERR_UH_FIT);
    EXPECT_EQ(vesk_getuhlength("stub"), -1);
}

} // namespace
