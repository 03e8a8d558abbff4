// The host core's C interface: statuses, storms, basins, runs and sessions,
// at both levels.  Runs are compared bit for bit with the plain loop a host
// would write over the library's exports.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "test_files.h"
#include "vesk_host.h"

namespace {

using vesk::host::testing::examplePath;
using vesk::host::testing::writeScratchFile;

struct Handles {
    void operator()(VeskHostStorm *p) const { vesk_host_storm_free(p); }
    void operator()(VeskHostBasins *p) const { vesk_host_basins_free(p); }
    void operator()(VeskHostRun *p) const { vesk_host_run_free(p); }
    void operator()(VeskHostSession *p) const { vesk_host_session_free(p); }
    void operator()(VeskHostWarnings *p) const { vesk_host_warnings_free(p); }
    void operator()(VeskHostEvents *p) const { vesk_host_events_free(p); }
};
template <class T> using Owned = std::unique_ptr<T, Handles>;

const char *const kExamples[] = {"cedar_creek.basin", "market_square.basin", "meadowbrook.basin"};

Owned<VeskHostBasins> exampleBasins() {
    Owned<VeskHostBasins> basins(vesk_host_basins_new());
    VeskHostStatus status{};
    for (const char *name : kExamples)
        EXPECT_EQ(vesk_host_basins_read(basins.get(), examplePath(name).c_str(), VESK_HOST_UNITS_US, nullptr, &status),
                  VESK_HOST_OK)
            << status.message;
    return basins;
}

Owned<VeskHostStorm> shippedStorm() {
    VeskHostStatus status{};
    Owned<VeskHostStorm> storm(
        vesk_host_storm_read(examplePath("design_storm_2h.csv").c_str(), VESK_HOST_UNITS_FROM_FILE, &status));
    EXPECT_EQ(status.code, VESK_HOST_OK) << status.message;
    return storm;
}

std::vector<double> depthsOf(const VeskHostStorm *storm) {
    std::vector<double> depths(vesk_host_storm_length(storm));
    vesk_host_storm_depths(storm, depths.data(), depths.size());
    return depths;
}

// The plain host loop: every basin added at its own step (dividing the data
// step), each data step's depth split evenly over its sub-steps, stepped
// until the storm is over and every outflow is exactly 0.  The outflow at
// the end of each data step is kept, and each basin's peak over all its
// sub-steps.
struct PlainRun {
    std::vector<std::vector<double>> flows; // basin by basin, at each data step's end
    std::vector<double> peaks;
};

PlainRun plainLoop(const VeskHostBasins *basins, const std::vector<double> &rain, int dataStep,
                   const std::vector<int> &steps) {
    vesk_open();
    const VersionStamp stamp = VESK_VERSION_STAMP_INIT;
    vesk_checkversion(&stamp);
    std::vector<std::string> names;
    for (size_t b = 0; b < vesk_host_basins_count(basins); ++b) {
        BasinInput record{};
        vesk_host_basins_record(basins, b, &record);
        record.timeStep = steps[b];
        record.shape.uhTimeStep = steps[b];
        names.emplace_back(vesk_host_basins_name(basins, b));
        vesk_addbasin(&record, names.back().c_str());
    }
    PlainRun run{std::vector<std::vector<double>>(names.size()), std::vector<double>(names.size(), 0.0)};
    for (size_t k = 0;; ++k) {
        bool dry = k > 0;
        for (const auto &series : run.flows) dry = dry && series.back() == 0.0;
        if (k >= rain.size() && dry) break;
        const double depth = k < rain.size() ? rain[k] : 0.0;
        for (size_t b = 0; b < names.size(); ++b) {
            const int parts = dataStep / steps[b];
            double outflow = 0.0;
            for (int j = 1; j <= parts; ++j) {
                outflow = vesk_execute(names[b].c_str(), depth / parts,
                                       static_cast<int32_t>(k * dataStep + j * steps[b]));
                run.peaks[b] = std::max(run.peaks[b], outflow);
            }
            run.flows[b].push_back(outflow);
        }
    }
    vesk_free();
    return run;
}

std::vector<int> computationSteps(const VeskHostRun *run) {
    std::vector<int> steps;
    for (size_t b = 0; b < vesk_host_run_basin_count(run); ++b)
        steps.push_back(vesk_host_run_computation_step(run, b));
    return steps;
}

// The index of a summary figure by its name.
size_t fieldIndex(const char *name) {
    for (size_t i = 0; i < vesk_host_summary_field_count(); ++i)
        if (std::string(vesk_host_summary_field_name(i, VESK_HOST_UNITS_US)) == name) return i;
    ADD_FAILURE() << "no summary field " << name;
    return 0;
}

TEST(HostCInterface, StatusNamesTheFileOrTheFaultyArgument) {
    VeskHostStatus status{};
    EXPECT_EQ(vesk_host_storm_read("/nonexistent/s.csv", VESK_HOST_UNITS_US, &status), nullptr);
    EXPECT_EQ(status.code, VESK_HOST_INPUT_ERROR);
    EXPECT_STREQ(status.message, "/nonexistent/s.csv: cannot open the storm file: No such file or directory");
    EXPECT_EQ(vesk_host_storm_read(nullptr, VESK_HOST_UNITS_US, &status), nullptr);
    EXPECT_EQ(status.code, VESK_HOST_BAD_ARGUMENT);
    EXPECT_EQ(vesk_host_storm_read("x.csv", 7, &status), nullptr);
    EXPECT_EQ(status.code, VESK_HOST_BAD_ARGUMENT);
    // A message longer than the buffer is cut at a character boundary: the
    // cut at byte 2044 would split the two bytes of the e-acute.
    const std::string path = std::string(2043, 'd') + "\xC3\xA9" + std::string(1000, 'd') + "/s.csv";
    vesk_host_storm_read(path.c_str(), VESK_HOST_UNITS_US, &status);
    EXPECT_EQ(std::string(status.message), std::string(2043, 'd') + "...");
    // Success clears every field.
    Owned<VeskHostStorm> storm(vesk_host_storm_parse("5,0.1\n", 6, "s", VESK_HOST_UNITS_US, &status));
    EXPECT_EQ(status.code, VESK_HOST_OK);
    EXPECT_STREQ(status.message, "");
}

TEST(HostCInterface, StormsInEveryUnitAndForm) {
    VeskHostStatus status{};
    const std::string mm = "time_h,depth_mm\n0.25,25.4\n0.5,2.54\n";
    Owned<VeskHostStorm> storm(vesk_host_storm_parse(mm.data(), mm.size(), "mm.csv", VESK_HOST_UNITS_FROM_FILE, &status));
    ASSERT_NE(storm, nullptr) << status.message;
    EXPECT_EQ(vesk_host_storm_step(storm.get()), 15);
    EXPECT_EQ(vesk_host_storm_units(storm.get()), VESK_HOST_UNITS_SI);
    EXPECT_EQ(depthsOf(storm.get()), (std::vector<double>{1.0, 2.54 / 25.4}));

    Owned<VeskHostStorm> fine(vesk_host_storm_resample(storm.get(), 5, &status));
    EXPECT_EQ(depthsOf(fine.get()), (std::vector<double>{1.0 / 3, 1.0 / 3, 1.0 / 3, 0.1 / 3, 0.1 / 3, 0.1 / 3}));
    EXPECT_EQ(vesk_host_storm_resample(storm.get(), 7, &status), nullptr);
    EXPECT_EQ(status.code, VESK_HOST_INPUT_ERROR);

    const double depths[] = {0.1, 0.0, 0.0, 0.0, 0.2, 0.3};
    Owned<VeskHostStorm> given(vesk_host_storm_from_depths(depths, 6, 60, "given", &status));
    ASSERT_NE(given, nullptr) << status.message;
    Owned<VeskHostEvents> events(vesk_host_storm_events(given.get(), 3.0, &status));
    ASSERT_EQ(vesk_host_events_count(events.get()), 2u);
    EXPECT_EQ(vesk_host_events_start_minute(events.get(), 1), 240);
    Owned<VeskHostStorm> second(vesk_host_events_storm(events.get(), 1));
    EXPECT_EQ(depthsOf(second.get()), (std::vector<double>{0.2, 0.3}));
    EXPECT_EQ(vesk_host_events_storm(events.get(), 2), nullptr);

    for (const double bad : {-0.1, 100.5, 1e308, static_cast<double>(NAN)}) {
        EXPECT_EQ(vesk_host_storm_from_depths(&bad, 1, 5, "given", &status), nullptr) << bad;
        EXPECT_EQ(status.code, VESK_HOST_INPUT_ERROR) << bad;
    }
}

TEST(HostCInterface, BasinsAreCheckedAsTheyAreAdded) {
    Owned<VeskHostBasins> basins = exampleBasins();
    ASSERT_EQ(vesk_host_basins_count(basins.get()), 3u);
    EXPECT_STREQ(vesk_host_basins_name(basins.get(), 2), "Meadowbrook");
    EXPECT_EQ(vesk_host_basins_uh_step_given(basins.get(), 2), 1);
    BasinInput record{};
    ASSERT_EQ(vesk_host_basins_record(basins.get(), 2, &record), VESK_HOST_OK);
    EXPECT_EQ(record.area, 0.45);
    EXPECT_EQ(vesk_host_basins_record(basins.get(), 3, &record), VESK_HOST_BAD_ARGUMENT);

    VeskHostStatus status{};
    Owned<VeskHostWarnings> warnings(vesk_host_warnings_new());
    EXPECT_EQ(vesk_host_basins_add(basins.get(), "meadowBROOK", &record, 1, nullptr, warnings.get(), &status),
              VESK_HOST_INPUT_ERROR);
    EXPECT_NE(std::string(status.message).find("is already among the basins"), std::string::npos) << status.message;
    EXPECT_EQ(vesk_host_basins_add(basins.get(), "Bad\x1b[31m", &record, 1, nullptr, warnings.get(), &status),
              VESK_HOST_INPUT_ERROR);
    EXPECT_NE(std::string(status.message).find("control character"), std::string::npos) << status.message;
    EXPECT_EQ(vesk_host_basins_add(basins.get(), "Outlet", &record, 1, nullptr, warnings.get(), &status),
              VESK_HOST_INPUT_ERROR);
    BasinInput negative = record;
    negative.perviousDepressionStorage = -0.1;
    EXPECT_EQ(vesk_host_basins_add(basins.get(), "Negative", &negative, 1, "here", warnings.get(), &status),
              VESK_HOST_INPUT_ERROR);
    EXPECT_NE(std::string(status.message).find("here: basin Negative: perviousDepressionStorage -0.1 in is "
                                               "impossible"),
              std::string::npos)
        << status.message;
    BasinInput steep = record;
    steep.slope = 0.6;
    ASSERT_EQ(vesk_host_basins_add(basins.get(), "Steep", &steep, 1, nullptr, warnings.get(), &status), VESK_HOST_OK)
        << status.message;
    EXPECT_EQ(vesk_host_basins_count(basins.get()), 4u);
    ASSERT_EQ(vesk_host_warnings_count(warnings.get()), 1u);
    EXPECT_EQ(vesk_host_warning_cause(warnings.get(), 0), VESK_HOST_WARN_UNUSUAL_VALUE);
    EXPECT_STREQ(vesk_host_warning_basin(warnings.get(), 0), "Steep");
    EXPECT_STREQ(vesk_host_warning_text(warnings.get(), 1), "");
}

TEST(HostCInterface, RunEqualsThePlainLoopBitForBit) {
    Owned<VeskHostBasins> basins = exampleBasins();
    Owned<VeskHostStorm> storm = shippedStorm();
    VeskHostRunOptions options;
    vesk_host_run_options_init(&options);
    VeskHostStatus status{};
    Owned<VeskHostRun> run(vesk_host_run(basins.get(), storm.get(), &options, nullptr, &status));
    ASSERT_NE(run, nullptr) << status.message;
    EXPECT_EQ(vesk_host_run_step(run.get()), 5);
    EXPECT_EQ(vesk_host_run_data_step(run.get()), 5);
    EXPECT_EQ(vesk_host_run_volume_tolerance(run.get()), 0.02);
    // MarketSquare's 6.3-minute time to peak is short for 5-minute steps.
    EXPECT_EQ(computationSteps(run.get()), (std::vector<int>{5, 1, 5}));
    const PlainRun expected = plainLoop(basins.get(), depthsOf(storm.get()), 5, computationSteps(run.get()));
    EXPECT_EQ(vesk_host_run_end(run.get()), VESK_HOST_RUN_DRY);
    const size_t length = vesk_host_run_length(run.get());
    ASSERT_EQ(length, expected.flows[0].size());
    std::vector<double> all(3 * length);
    ASSERT_EQ(vesk_host_run_outflows(run.get(), all.data(), all.size()), all.size());
    EXPECT_EQ(vesk_host_run_outflows(run.get(), all.data(), all.size() - 1), 0u);
    std::vector<double> outlet(length);
    vesk_host_run_outlet(run.get(), outlet.data(), length);
    for (size_t b = 0; b < 3; ++b) {
        std::vector<double> one(length);
        EXPECT_EQ(vesk_host_run_outflow(run.get(), b, one.data(), length), length);
        EXPECT_EQ(one, expected.flows[b]) << b;
        EXPECT_EQ(std::vector<double>(all.begin() + b * length, all.begin() + (b + 1) * length), expected.flows[b]);
    }
    for (size_t k = 0; k < length; ++k)
        EXPECT_EQ(outlet[k], (0.0 + expected.flows[0][k] + expected.flows[1][k]) + expected.flows[2][k]) << k;

    // The summary under the names of the summary files; each peak from the
    // basin's own sub-steps.
    ASSERT_EQ(vesk_host_summary_field_count(), 16u);
    EXPECT_STREQ(vesk_host_summary_field_name(fieldIndex("peak_outflow_cfs"), VESK_HOST_UNITS_SI), "peak_outflow_m3s");
    EXPECT_STREQ(vesk_host_summary_field_unit(fieldIndex("rain_volume_acre_ft"), VESK_HOST_UNITS_SI), "m3");
    EXPECT_STREQ(vesk_host_summary_field_name(16, VESK_HOST_UNITS_US), "");
    std::vector<double> figures(16);
    for (size_t b = 0; b < 3; ++b) {
        ASSERT_EQ(vesk_host_run_summary(run.get(), b, figures.data(), figures.size()), 16u);
        EXPECT_EQ(figures[fieldIndex("peak_outflow_cfs")], expected.peaks[b]) << b;
        EXPECT_EQ(figures[fieldIndex("computation_step_min")], computationSteps(run.get())[b]) << b;
    }
    const auto peak = std::max_element(expected.flows[2].begin(), expected.flows[2].end());
    vesk_host_run_summary(run.get(), 2, figures.data(), figures.size());
    EXPECT_EQ(figures[fieldIndex("peak_outflow_time_min")], 5.0 * static_cast<double>(peak - expected.flows[2].begin() + 1));
}

// Every basin's figures in one copy: row b is basin b's summary, its peak
// the plain loop's; a buffer one value short is left untouched.
TEST(HostCInterface, SummariesOfEveryBasinInOneCopy) {
    Owned<VeskHostBasins> basins = exampleBasins();
    Owned<VeskHostStorm> storm = shippedStorm();
    VeskHostRunOptions options;
    vesk_host_run_options_init(&options);
    VeskHostStatus status{};
    Owned<VeskHostRun> run(vesk_host_run(basins.get(), storm.get(), &options, nullptr, &status));
    ASSERT_NE(run, nullptr) << status.message;
    const size_t width = vesk_host_summary_field_count();
    std::vector<double> every(3 * width, -1.0);
    EXPECT_EQ(vesk_host_run_summaries(run.get(), every.data(), every.size() - 1), 0u);
    EXPECT_EQ(every, std::vector<double>(3 * width, -1.0));
    EXPECT_EQ(vesk_host_run_summaries(nullptr, every.data(), every.size()), 0u);
    EXPECT_EQ(vesk_host_run_summaries(run.get(), nullptr, every.size()), 0u);
    ASSERT_EQ(vesk_host_run_summaries(run.get(), every.data(), every.size()), 3 * width);
    const PlainRun expected = plainLoop(basins.get(), depthsOf(storm.get()), 5, computationSteps(run.get()));
    std::vector<double> one(width);
    for (size_t b = 0; b < 3; ++b) {
        vesk_host_run_summary(run.get(), b, one.data(), width);
        EXPECT_EQ(std::vector<double>(every.begin() + b * width, every.begin() + (b + 1) * width), one) << b;
        EXPECT_EQ(every[b * width + fieldIndex("peak_outflow_cfs")], expected.peaks[b]) << b;
    }

    // In SI the figures come in the run's units, as one basin's do.
    options.units = VESK_HOST_UNITS_SI;
    Owned<VeskHostRun> si(vesk_host_run(basins.get(), storm.get(), &options, nullptr, &status));
    ASSERT_EQ(vesk_host_run_summaries(si.get(), every.data(), every.size()), 3 * width);
    EXPECT_EQ(every[2 * width + fieldIndex("peak_outflow_cfs")], expected.peaks[2] * 0.028316846592);
}

TEST(HostCInterface, ResultsInSiUnits) {
    Owned<VeskHostBasins> basins = exampleBasins();
    Owned<VeskHostStorm> storm = shippedStorm();
    VeskHostRunOptions options;
    vesk_host_run_options_init(&options);
    VeskHostStatus status{};
    Owned<VeskHostRun> us(vesk_host_run(basins.get(), storm.get(), &options, nullptr, &status));
    options.units = VESK_HOST_UNITS_SI;
    Owned<VeskHostRun> si(vesk_host_run(basins.get(), storm.get(), &options, nullptr, &status));
    ASSERT_NE(si, nullptr) << status.message;
    const size_t length = vesk_host_run_length(us.get());
    std::vector<double> cfs(length), cms(length), inches(length), mm(length);
    vesk_host_run_outflow(us.get(), 0, cfs.data(), length);
    vesk_host_run_outflow(si.get(), 0, cms.data(), length);
    vesk_host_run_rain(us.get(), inches.data(), length);
    vesk_host_run_rain(si.get(), mm.data(), length);
    std::vector<double> matrix(3 * length), outlet(length);
    vesk_host_run_outflows(si.get(), matrix.data(), matrix.size());
    vesk_host_run_outlet(si.get(), outlet.data(), length);
    for (size_t k = 0; k < length; ++k) {
        EXPECT_EQ(cms[k], cfs[k] * 0.028316846592) << k;
        EXPECT_EQ(matrix[k], cms[k]) << k;
        EXPECT_EQ(mm[k], inches[k] * 25.4) << k;
    }
    std::vector<double> usOutlet(length);
    vesk_host_run_outlet(us.get(), usOutlet.data(), length);
    for (size_t k = 0; k < length; ++k) EXPECT_EQ(outlet[k], usOutlet[k] * 0.028316846592) << k;
}

// A storm that starts with its heaviest step, through impervious ground:
// outflow from the first step on, so the outlet's first value counts.
TEST(HostCInterface, OutletFromTheFirstStepAndDurationsInWholeSteps) {
    Owned<VeskHostBasins> basins = exampleBasins();
    const double burst[] = {2.0, 0.5};
    VeskHostStatus status{};
    Owned<VeskHostStorm> storm(vesk_host_storm_from_depths(burst, 2, 5, "burst", &status));
    VeskHostRunOptions options;
    vesk_host_run_options_init(&options);
    Owned<VeskHostRun> run(vesk_host_run(basins.get(), storm.get(), &options, nullptr, &status));
    ASSERT_NE(run, nullptr) << status.message;
    double first[3], outlet = 0.0;
    for (size_t b = 0; b < 3; ++b) vesk_host_run_outflow(run.get(), b, &first[b], 1);
    vesk_host_run_outlet(run.get(), &outlet, 1);
    EXPECT_GT(first[1], 0.0);
    EXPECT_EQ(outlet, (0.0 + first[0] + first[1]) + first[2]);

    // 7 minutes of 5-minute steps: the run covers them, in two steps.
    options.duration = 7;
    Owned<VeskHostRun> cut(vesk_host_run(basins.get(), storm.get(), &options, nullptr, &status));
    EXPECT_EQ(vesk_host_run_length(cut.get()), 2u);
    EXPECT_EQ(vesk_host_run_end(cut.get()), VESK_HOST_RUN_DURATION);
}

TEST(HostCInterface, RefusedBasinsEndTheRunOrAreLeftOut) {
    Owned<VeskHostBasins> basins = exampleBasins();
    BasinInput flat{};
    vesk_host_basins_record(basins.get(), 0, &flat);
    flat.slope = 0.0; // the library cannot build its unit hydrograph
    VeskHostStatus status{};
    ASSERT_EQ(vesk_host_basins_add(basins.get(), "Flat", &flat, 1, nullptr, nullptr, &status), VESK_HOST_OK);
    Owned<VeskHostStorm> storm = shippedStorm();
    VeskHostRunOptions options;
    vesk_host_run_options_init(&options);
    EXPECT_EQ(vesk_host_run(basins.get(), storm.get(), &options, nullptr, &status), nullptr);
    EXPECT_EQ(status.code, VESK_HOST_LIBRARY_REFUSED);
    EXPECT_EQ(status.libraryCode, VESK_ERR_UH_FIT);

    options.skipRefused = 1;
    Owned<VeskHostRun> run(vesk_host_run(basins.get(), storm.get(), &options, nullptr, &status));
    ASSERT_NE(run, nullptr) << status.message;
    EXPECT_EQ(vesk_host_run_basin_count(run.get()), 3u);
    ASSERT_EQ(vesk_host_run_refused_count(run.get()), 1u);
    EXPECT_STREQ(vesk_host_run_refused_name(run.get(), 0), "Flat");
    EXPECT_EQ(vesk_host_run_refused_code(run.get(), 0), VESK_ERR_UH_FIT);
    EXPECT_NE(std::string(vesk_host_run_refused_message(run.get(), 0)).find("VESK_ERR_UH_FIT"), std::string::npos);
    // The others ran as if the refused basin had never been given.
    Owned<VeskHostBasins> examples = exampleBasins();
    const PlainRun expected = plainLoop(examples.get(), depthsOf(storm.get()), 5, computationSteps(run.get()));
    std::vector<double> last(vesk_host_run_length(run.get()));
    vesk_host_run_outflow(run.get(), 2, last.data(), last.size());
    EXPECT_EQ(last, expected.flows[2]);
}

TEST(HostCInterface, SessionStepsAsARunDoesAndSurvivesRefusedRain) {
    Owned<VeskHostBasins> basins = exampleBasins();
    Owned<VeskHostStorm> storm = shippedStorm();
    const std::vector<double> rain = depthsOf(storm.get());
    const PlainRun plain = plainLoop(basins.get(), rain, 5, {5, 1, 5});
    const std::vector<std::vector<double>> &expected = plain.flows;

    VeskHostRunOptions options;
    vesk_host_run_options_init(&options);
    options.timeStep = 5;
    VeskHostStatus status{};
    Owned<VeskHostSession> session(vesk_host_session_start(basins.get(), &options, &status));
    ASSERT_NE(session, nullptr) << status.message;
    const double absurd = 1e308;
    for (size_t k = 0; k < expected[0].size(); ++k) {
        double outflows[3], excess[3];
        const double depth = k < rain.size() ? rain[k] : 0.0;
        if (k == 3) { // refused before any basin steps; the session goes on
            EXPECT_EQ(vesk_host_session_step(session.get(), &absurd, 1, outflows, excess, &status),
                      VESK_HOST_INPUT_ERROR);
        }
        const double each[3] = {depth, depth, depth};
        ASSERT_EQ(vesk_host_session_step(session.get(), k % 2 ? each : &depth, k % 2 ? 3 : 1, outflows, excess, &status),
                  VESK_HOST_OK)
            << status.message;
        for (size_t b = 0; b < 3; ++b) EXPECT_EQ(outflows[b], expected[b][k]) << b << " " << k;
    }
    EXPECT_EQ(vesk_host_session_time(session.get()), static_cast<int64_t>(5 * expected[0].size()));
    double two[2] = {0.0, 0.0};
    EXPECT_EQ(vesk_host_session_step(session.get(), two, 2, nullptr, nullptr, &status), VESK_HOST_BAD_ARGUMENT);
}

// A step the library refuses ends the session (some basins may have stepped
// and others not): here a host tore the registry down under it.
TEST(HostCInterface, SessionEndsAtARefusalInTheMiddleOfAStep) {
    Owned<VeskHostBasins> basins = exampleBasins();
    VeskHostRunOptions options;
    vesk_host_run_options_init(&options);
    options.timeStep = 5;
    VeskHostStatus status{};
    Owned<VeskHostSession> session(vesk_host_session_start(basins.get(), &options, &status));
    ASSERT_NE(session, nullptr) << status.message;
    const double rain = 0.5;
    ASSERT_EQ(vesk_host_session_step(session.get(), &rain, 1, nullptr, nullptr, &status), VESK_HOST_OK);
    vesk_free();
    EXPECT_EQ(vesk_host_session_step(session.get(), &rain, 1, nullptr, nullptr, &status), VESK_HOST_LIBRARY_REFUSED);
    EXPECT_EQ(status.libraryCode, VESK_ERR_NULL);
    EXPECT_EQ(vesk_host_session_step(session.get(), &rain, 1, nullptr, nullptr, &status), VESK_HOST_BAD_ARGUMENT);
    EXPECT_NE(std::string(status.message).find("takes no more steps"), std::string::npos) << status.message;
}

// The earlier level, loaded beside the current one as a host loads it, its
// exports handed to the core.
class EarlierLibrary {
public:
    EarlierLibrary() : library_(dlopen(VESK_EARLIER_LIBRARY, RTLD_NOW | RTLD_LOCAL)) {
        if (library_ == nullptr) return;
        level.open = function<void (*)()>("vesk_open");
        level.free = function<void (*)()>("vesk_free");
        level.geterror = function<int32_t (*)()>("vesk_geterror");
        level.addbasin = function<void (*)(void *, const char *)>("vesk_addbasin");
        level.getbasin = function<void (*)(const char *, void *)>("vesk_getbasin");
        level.getbasinPrecip = function<void (*)(const char *, void *)>("vesk_getbasin_precip");
        level.getuhlength = function<int32_t (*)(const char *)>("vesk_getuhlength");
        level.getuhordinatevalue = function<double (*)(const char *, int32_t)>("vesk_getuhordinatevalue");
        level.execute = function<double (*)(const char *, double, int32_t)>("vesk_execute");
    }
    ~EarlierLibrary() {
        if (library_ != nullptr) dlclose(library_);
    }
    bool loaded() const { return library_ != nullptr; }

    VeskHostEarlierLevel level{};

private:
    template <class F> F function(const char *name) { return reinterpret_cast<F>(dlsym(library_, name)); }
    void *library_;
};

TEST(HostCInterface, RunsAtTheEarlierLevelThroughItsExports) {
    EarlierLibrary earlier;
    ASSERT_TRUE(earlier.loaded()) << dlerror();
    VeskHostEarlierLevel &level = earlier.level;
    Owned<VeskHostBasins> basins = exampleBasins();
    Owned<VeskHostStorm> storm = shippedStorm();
    const std::vector<double> rain = depthsOf(storm.get());
    VeskHostRunOptions options;
    vesk_host_run_options_init(&options);
    options.earlier = &level;
    VeskHostStatus status{};
    Owned<VeskHostRun> run(vesk_host_run(basins.get(), storm.get(), &options, nullptr, &status));
    ASSERT_NE(run, nullptr) << status.message;

    // The plain loop over the earlier level's exports, one call a step.
    level.open();
    std::vector<double> meadowbrook;
    double meadowbrookExcess = 0.0;
    {
        unsigned char record[216] = {};
        BasinInput current{};
        vesk_host_basins_record(basins.get(), 2, &current);
        std::memcpy(record, &current, 48);                        // area .. slope
        std::memcpy(record + 48, &current.perviousDepressionStorage, 5 * 8 + 8); // storages .. level, gap
        std::memcpy(record + 96, &current.dcif, 16);              // dcif, rpf
        current.shape.uhTimeStep = 5;
        std::memcpy(record + 160, &current.shape, 56);
        level.addbasin(record, "Meadowbrook");
        ASSERT_EQ(level.geterror(), 0);
        for (size_t k = 0; k < rain.size() || meadowbrook.back() != 0.0; ++k) {
            meadowbrook.push_back(level.execute("Meadowbrook", k < rain.size() ? rain[k] : 0.0,
                                                static_cast<int32_t>(5 * (k + 1))));
            double block[15];
            level.getbasinPrecip("Meadowbrook", block);
            meadowbrookExcess += block[14];
        }
    }
    level.free();
    std::vector<double> ran(vesk_host_run_length(run.get()));
    vesk_host_run_outflow(run.get(), 2, ran.data(), ran.size());
    ran.resize(meadowbrook.size()); // the run goes on while the other basins drain
    EXPECT_EQ(ran, meadowbrook);
    BasinInput prepared{};
    vesk_host_run_prepared(run.get(), 2, &prepared);
    EXPECT_EQ(prepared.shape.uhTimeStep, 5);
    EXPECT_EQ(prepared.timeStep, 5.0); // the earlier level steps in its unit-hydrograph step
    EXPECT_GT(prepared.uhPeakRate, 0.0);
    // The run's runoff volume is the sum of the steps' excess depths, the
    // last of the fifteen doubles of the earlier level's step block.
    std::vector<double> figures(16);
    vesk_host_run_summary(run.get(), 2, figures.data(), figures.size());
    EXPECT_EQ(figures[fieldIndex("runoff_volume_acre_ft")], meadowbrookExcess * prepared.area * 640.0 / 12.0);

    // A refused basin at this level (which can clear a code only by starting
    // afresh) is left out, and the basins before it are added again.
    BasinInput flat = prepared;
    flat.slope = 0.0;
    VeskHostStatus added{};
    ASSERT_EQ(vesk_host_basins_add(basins.get(), "Flat", &flat, 1, nullptr, nullptr, &added), VESK_HOST_OK);
    options.skipRefused = 1;
    Owned<VeskHostRun> skipped(vesk_host_run(basins.get(), storm.get(), &options, nullptr, &status));
    ASSERT_NE(skipped, nullptr) << status.message;
    EXPECT_EQ(vesk_host_run_refused_count(skipped.get()), 1u);
    std::vector<double> again(vesk_host_run_length(skipped.get()));
    vesk_host_run_outflow(skipped.get(), 2, again.data(), again.size());
    again.resize(meadowbrook.size());
    EXPECT_EQ(again, meadowbrook);
    level.free(); // the run leaves its basins stored, as a run at either level does
}

} // namespace
