// Runs, their results and summary figures, and stepwise sessions through
// the C interface.
#include <algorithm>
#include <new>

#include "handles.h"
#include "input_error.h"
#include "library_session.h"
#include "number_text.h"
#include "run_summary.h"
#include "storm_events.h"

using namespace vesk::host;
using vesk::host::c_interface::ArgumentError;
using vesk::host::c_interface::copyOut;
using vesk::host::c_interface::guarded;
using vesk::host::c_interface::require;

namespace {

const BasinRun *basinAt(const VeskHostRun *run, size_t index) {
    if (run == nullptr || index >= run->result.basins.size()) return nullptr;
    return &run->result.basins[index];
}

RunOptions runOptions(const VeskHostRunOptions *given) {
    RunOptions options;
    if (given == nullptr) return options;
    if (given->timeStep < 0 || given->timeStep > 1440)
        throw InputError("the time step " + std::to_string(given->timeStep) + " min is outside 1 to 1440 minutes");
    if (given->duration < 0 || given->duration > kMaxRunMinutes)
        throw InputError("the duration " + std::to_string(given->duration) + " min is outside 1 to " +
                         std::to_string(kMaxRunMinutes) + " minutes");
    options.timeStep = given->timeStep;
    options.duration = given->duration;
    options.units = c_interface::unitsArgument(given->units);
    options.skipRefused = given->skipRefused != 0;
    if (given->reportStep < 0 || given->reportStep > 1440)
        throw InputError("the report step " + std::to_string(given->reportStep) + " min is outside 1 to 1440 minutes");
    options.reportStep = given->reportStep;
    if (given->volumeTolerance != 0.0) {
        if (!(given->volumeTolerance > 0.0 && given->volumeTolerance < 1.0))
            throw InputError("the volume tolerance " + exactText(given->volumeTolerance) +
                             " is not a fraction above 0 and below 1 (0.02 is 2 %)");
        options.rule.volumeTolerance = given->volumeTolerance;
    }
    if (given->progress != nullptr) {
        const VeskHostProgress progress = given->progress;
        void *context = given->progressContext;
        options.progress = [progress, context](std::size_t done, std::size_t total) { progress(context, done, total); };
    }
    return options;
}

void appendWarnings(VeskHostWarnings *warnings, Warnings found) {
    if (warnings == nullptr) return;
    for (Warning &w : found) warnings->items.push_back(std::move(w));
}

// A library value of the run in the run's units.
std::vector<double> inRunUnits(const std::vector<double> &values, Quantity quantity, UnitSystem units) {
    std::vector<double> converted(values);
    for (double &value : converted) value = fromLibraryUnits(value, quantity, units);
    return converted;
}

} // namespace

extern "C" {

void vesk_host_run_options_init(VeskHostRunOptions *options) {
    if (options == nullptr) return;
    *options = VeskHostRunOptions{};
    options->units = VESK_HOST_UNITS_US;
}

VeskHostRun *vesk_host_run(const VeskHostBasins *basins, const VeskHostStorm *storm,
                           const VeskHostRunOptions *options, VeskHostWarnings *warnings, VeskHostStatus *status) {
    VeskHostRun *run = nullptr;
    guarded(status, [&] {
        require(basins, "basins");
        require(storm, "storm");
        if (basins->sources.empty()) throw InputError("a run needs at least one basin");
        RunOptions chosen = runOptions(options);
        const std::unique_ptr<LibraryLevel> earlier = c_interface::chosenLevel(options);
        chosen.level = earlier.get();
        const Storm stepped = stormAtRunStep(basins->sources, storm->storm, chosen);
        Warnings found = longRecordWarnings(stepped);
        auto made = std::make_unique<VeskHostRun>();
        made->result = runStorm(basins->sources, stepped, chosen);
        refuseNonFiniteResults(made->result);
        for (Warning &w : stepNotes(basins->sources, made->result)) found.push_back(std::move(w));
        for (Warning &w : runWarnings(made->result)) found.push_back(std::move(w));
        appendWarnings(warnings, std::move(found));
        run = made.release();
    });
    return run;
}

void vesk_host_run_free(VeskHostRun *run) { delete run; }

VeskHostStormRuns *vesk_host_run_storms(const VeskHostBasins *basins, const VeskHostStorm *const *storms,
                                        const char *const *names, size_t count, const VeskHostRunOptions *options,
                                        VeskHostWarnings *warnings, VeskHostStatus *status) {
    VeskHostStormRuns *runs = nullptr;
    guarded(status, [&] {
        require(basins, "basins");
        if (count > 0) {
            require(storms, "storms");
            require(names, "names");
        }
        if (basins->sources.empty()) throw InputError("a run needs at least one basin");
        if (count == 0) throw InputError("a run of several storms needs at least one storm");
        std::vector<NamedStorm> named;
        for (size_t i = 0; i < count; ++i) {
            require(storms[i], "storm");
            require(names[i], "name");
            named.push_back(NamedStorm{names[i], storms[i]->storm});
        }
        RunOptions chosen = runOptions(options);
        const std::unique_ptr<LibraryLevel> earlier = c_interface::chosenLevel(options);
        chosen.level = earlier.get();
        Warnings found;
        std::vector<StormRun> done = runStorms(basins->sources, named, chosen, found);
        auto made = std::make_unique<VeskHostStormRuns>();
        made->runs.resize(done.size());
        for (std::size_t i = 0; i < done.size(); ++i) {
            made->names.push_back(done[i].name);
            made->runs[i].result = std::move(done[i].result);
        }
        appendWarnings(warnings, std::move(found));
        runs = made.release();
    });
    return runs;
}

void vesk_host_storm_runs_free(VeskHostStormRuns *runs) { delete runs; }

size_t vesk_host_storm_runs_count(const VeskHostStormRuns *runs) { return runs == nullptr ? 0 : runs->runs.size(); }

const char *vesk_host_storm_runs_name(const VeskHostStormRuns *runs, size_t index) {
    if (runs == nullptr || index >= runs->names.size()) return "";
    return runs->names[index].c_str();
}

const VeskHostRun *vesk_host_storm_runs_run(const VeskHostStormRuns *runs, size_t index) {
    if (runs == nullptr || index >= runs->runs.size()) return nullptr;
    return &runs->runs[index];
}

int32_t vesk_host_run_start(const VeskHostRun *run, int64_t *minute) {
    if (run == nullptr || !run->result.start) return 0;
    if (minute != nullptr) *minute = *run->result.start;
    return 1;
}

int32_t vesk_host_run_step(const VeskHostRun *run) { return run == nullptr ? 0 : run->result.reportStep; }

int32_t vesk_host_run_data_step(const VeskHostRun *run) { return run == nullptr ? 0 : run->result.dataStep; }

int32_t vesk_host_run_computation_step(const VeskHostRun *run, size_t index) {
    const BasinRun *basin = basinAt(run, index);
    return basin == nullptr ? 0 : basin->computation.step;
}

double vesk_host_run_volume_tolerance(const VeskHostRun *run) {
    return run == nullptr ? 0.0 : run->result.rule.volumeTolerance;
}

int32_t vesk_host_run_outlet_peak(const VeskHostRun *run, double *peak, double *minutes) {
    if (run == nullptr) return VESK_HOST_BAD_ARGUMENT;
    if (peak != nullptr) *peak = fromLibraryUnits(run->result.outletPeak, Quantity::Flow, run->result.units);
    if (minutes != nullptr) *minutes = run->result.outletPeakTime;
    return VESK_HOST_OK;
}

size_t vesk_host_run_length(const VeskHostRun *run) { return run == nullptr ? 0 : run->result.rain.size(); }

int32_t vesk_host_run_end(const VeskHostRun *run) {
    if (run == nullptr) return VESK_HOST_RUN_DRY;
    switch (run->result.end) {
    case RunEnd::Dry: return VESK_HOST_RUN_DRY;
    case RunEnd::Duration: return VESK_HOST_RUN_DURATION;
    case RunEnd::StepLimit: return VESK_HOST_RUN_NOT_DRY;
    case RunEnd::RunLimit: return VESK_HOST_RUN_LIMIT;
    }
    return VESK_HOST_RUN_DRY;
}

int32_t vesk_host_run_units(const VeskHostRun *run) {
    return run != nullptr && run->result.units == UnitSystem::Si ? VESK_HOST_UNITS_SI : VESK_HOST_UNITS_US;
}

size_t vesk_host_run_basin_count(const VeskHostRun *run) { return run == nullptr ? 0 : run->result.basins.size(); }

const char *vesk_host_run_basin_name(const VeskHostRun *run, size_t index) {
    const BasinRun *basin = basinAt(run, index);
    return basin == nullptr ? "" : basin->name.c_str();
}

size_t vesk_host_run_refused_count(const VeskHostRun *run) {
    return run == nullptr ? 0 : run->result.refusals.size();
}

namespace {
const Refusal *refusalAt(const VeskHostRun *run, size_t index) {
    if (run == nullptr || index >= run->result.refusals.size()) return nullptr;
    return &run->result.refusals[index];
}
} // namespace

const char *vesk_host_run_refused_name(const VeskHostRun *run, size_t index) {
    const Refusal *refusal = refusalAt(run, index);
    return refusal == nullptr ? "" : refusal->name.c_str();
}

int32_t vesk_host_run_refused_code(const VeskHostRun *run, size_t index) {
    const Refusal *refusal = refusalAt(run, index);
    return refusal == nullptr ? 0 : refusal->code;
}

const char *vesk_host_run_refused_message(const VeskHostRun *run, size_t index) {
    const Refusal *refusal = refusalAt(run, index);
    return refusal == nullptr ? "" : refusal->message.c_str();
}

size_t vesk_host_run_rain(const VeskHostRun *run, double *depths, size_t capacity) {
    if (run == nullptr) return 0;
    const std::vector<double> rain = inRunUnits(run->result.rain, Quantity::Depth, run->result.units);
    return copyOut(rain.data(), rain.size(), depths, capacity);
}

size_t vesk_host_run_outflow(const VeskHostRun *run, size_t index, double *flows, size_t capacity) {
    const BasinRun *basin = basinAt(run, index);
    if (basin == nullptr) return 0;
    const std::vector<double> outflow = inRunUnits(basin->outflow, Quantity::Flow, run->result.units);
    return copyOut(outflow.data(), outflow.size(), flows, capacity);
}

size_t vesk_host_run_outflows(const VeskHostRun *run, double *flows, size_t capacity) {
    if (run == nullptr || flows == nullptr) return 0;
    const std::size_t length = run->result.rain.size();
    const std::size_t count = run->result.basins.size() * length;
    if (capacity < count) return 0;
    for (std::size_t b = 0; b < run->result.basins.size(); ++b) {
        const std::vector<double> &outflow = run->result.basins[b].outflow;
        for (std::size_t k = 0; k < length; ++k)
            flows[b * length + k] = fromLibraryUnits(outflow[k], Quantity::Flow, run->result.units);
    }
    return count;
}

size_t vesk_host_run_outlet(const VeskHostRun *run, double *flows, size_t capacity) {
    if (run == nullptr) return 0;
    const std::vector<double> outlet = inRunUnits(run->result.outlet, Quantity::Flow, run->result.units);
    return copyOut(outlet.data(), outlet.size(), flows, capacity);
}

int32_t vesk_host_run_prepared(const VeskHostRun *run, size_t index, BasinInput *record) {
    const BasinRun *basin = basinAt(run, index);
    if (basin == nullptr || record == nullptr) return VESK_HOST_BAD_ARGUMENT;
    *record = basin->prepared;
    return VESK_HOST_OK;
}

size_t vesk_host_run_ordinates(const VeskHostRun *run, size_t index, double *ordinates, size_t capacity) {
    const BasinRun *basin = basinAt(run, index);
    if (basin == nullptr) return 0;
    const std::vector<double> shown = inRunUnits(basin->ordinates, Quantity::UnitFlow, run->result.units);
    return copyOut(shown.data(), shown.size(), ordinates, capacity);
}

size_t vesk_host_summary_field_count(void) { return summaryFields(UnitSystem::Us).size(); }

const char *vesk_host_summary_field_name(size_t index, int32_t units) {
    const std::vector<SummaryField> &fields =
        summaryFields(units == VESK_HOST_UNITS_SI ? UnitSystem::Si : UnitSystem::Us);
    return index < fields.size() ? fields[index].name.c_str() : "";
}

const char *vesk_host_summary_field_unit(size_t index, int32_t units) {
    const std::vector<SummaryField> &fields =
        summaryFields(units == VESK_HOST_UNITS_SI ? UnitSystem::Si : UnitSystem::Us);
    return index < fields.size() ? fields[index].unit.c_str() : "";
}

size_t vesk_host_run_summary(const VeskHostRun *run, size_t index, double *figures, size_t capacity) {
    const BasinRun *basin = basinAt(run, index);
    if (basin == nullptr) return 0;
    const std::vector<double> values = summaryFigures(run->result, *basin);
    return copyOut(values.data(), values.size(), figures, capacity);
}

size_t vesk_host_run_outlet_summary(const VeskHostRun *run, double *figures, size_t capacity) {
    if (run == nullptr) return 0;
    const std::vector<double> values = outletFigures(run->result);
    return copyOut(values.data(), values.size(), figures, capacity);
}

size_t vesk_host_run_summaries(const VeskHostRun *run, double *figures, size_t capacity) {
    if (run == nullptr || figures == nullptr) return 0;
    const std::size_t width = summaryFields(run->result.units).size();
    const std::size_t count = run->result.basins.size() * width;
    if (capacity < count) return 0;
    for (std::size_t b = 0; b < run->result.basins.size(); ++b) {
        const std::vector<double> values = summaryFigures(run->result, run->result.basins[b]);
        std::copy(values.begin(), values.end(), figures + b * width);
    }
    return count;
}

VeskHostSession *vesk_host_session_start(const VeskHostBasins *basins, const VeskHostRunOptions *options,
                                         VeskHostStatus *status) {
    VeskHostSession *session = nullptr;
    guarded(status, [&] {
        require(basins, "basins");
        require(options, "options");
        if (basins->sources.empty()) throw InputError("a session needs at least one basin");
        const int32_t stepMinutes = options->timeStep;
        if (stepMinutes < 1 || stepMinutes > 1440)
            throw InputError("the step " + std::to_string(stepMinutes) + " min is outside 1 to 1440 minutes");
        auto made = std::make_unique<VeskHostSession>();
        made->earlier = c_interface::chosenLevel(options);
        const RunOptions chosen = runOptions(options);
        SessionOptions sessionOptions;
        sessionOptions.keepSeries = false;
        sessionOptions.level = made->earlier.get();
        sessionOptions.rule = chosen.rule;
        sessionOptions.reportStep = chosen.reportStep;
        made->session = std::make_unique<RunSession>(basins->sources, stepMinutes, sessionOptions);
        session = made.release();
    });
    return session;
}

void vesk_host_session_free(VeskHostSession *session) { delete session; }

int32_t vesk_host_session_step(VeskHostSession *session, const double *inches, size_t count, double *outflows,
                               double *excess, VeskHostStatus *status) {
    return guarded(status, [&] {
        require(session, "session");
        require(inches, "inches");
        if (session->failed) throw ArgumentError("the session stopped at an earlier refusal and takes no more steps");
        RunSession &run = *session->session;
        const std::size_t basins = run.basins().size();
        if (count != 1 && count != basins)
            throw ArgumentError("a step takes one rain depth or one for each of the " + std::to_string(basins) +
                                " basins, not " + std::to_string(count));
        // Rain outside its range is refused before any basin steps, so the
        // session goes on; a refusal in the middle of a step ends it.
        for (std::size_t b = 0; b < count; ++b)
            if (!stepDepthAllowed(inches[b]))
                checkStepDepth(inches[b],
                               "step " + std::to_string(run.stepsTaken() + 1) +
                                   (count > 1 ? ", basin " + run.basins()[b].name : std::string()),
                               exactText(inches[b]), UnitSystem::Us);
        try {
            if (count == 1) run.step(inches[0]);
            else run.step(std::vector<double>(inches, inches + count));
        } catch (...) {
            session->failed = true;
            throw;
        }
        for (std::size_t b = 0; b < basins; ++b) {
            if (outflows != nullptr) outflows[b] = run.basins()[b].lastOutflow;
            if (excess != nullptr) excess[b] = run.basins()[b].lastExcess;
        }
    });
}

int64_t vesk_host_session_time(const VeskHostSession *session) {
    if (session == nullptr) return 0;
    return static_cast<int64_t>(session->session->stepsTaken()) * session->session->dataStep();
}

size_t vesk_host_session_basin_count(const VeskHostSession *session) {
    return session == nullptr ? 0 : session->session->basins().size();
}

} // extern "C"
