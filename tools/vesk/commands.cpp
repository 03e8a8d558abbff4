#include "commands.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <new>
#include <optional>

#include "basin_source.h"
#include "basin_checks.h"
#include "calculator_table.h"
#include "design_storm.h"
#include "hydrograph_csv.h"
#include "html_report.h"
#include "hydrograph_svg.h"
#include "input_error.h"
#include "library_errors.h"
#include "library_session.h"
#include "number_text.h"
#include "run_report.h"
#include "program_version.h"
#include "progress_line.h"
#include "reading_text.h"
#include "storm_events.h"
#include "storm_file.h"
#include "summary_report.h"
#include "text_file.h"

namespace vesk::tool {

namespace {

// Runs `body`, turning the two kinds of fault into a message and a status.
int guarded(std::ostream &err, const std::function<int()> &body) {
    try {
        return body();
    } catch (const InputError &error) {
        err << "vesk: " << error.what() << '\n';
        return kExitInputError;
    } catch (const LibraryError &error) {
        err << "vesk: " << error.what() << '\n';
        return kExitLibraryError;
    } catch (const std::bad_alloc &) {
        err << "vesk: out of memory (is an input file far larger than intended?)\n";
        return kExitInputError;
    }
}

// Writes a whole output file ("-": standard output), or reports which file
// could not be written.
void writeFile(const std::string &path, const std::function<void(std::ostream &)> &write) {
    if (path == kStandardInput) {
        write(std::cout);
        return;
    }
    std::ofstream file(path, std::ios::binary);
    if (!file) throw inputErrorIn(path, std::string("cannot write: ") + std::strerror(errno));
    write(file);
    file.flush();
    if (!file) throw inputErrorIn(path, "writing failed");
}

std::optional<UnitSystem> requestedUnits(const std::string &units) {
    if (units.empty()) return std::nullopt;
    if (const std::optional<UnitSystem> named = unitSystemNamed(units)) return named;
    throw InputError("--units takes 'us' or 'si' (any letter case), got '" + units + "'");
}

// A whole number of minutes within [low, high]; 0 for an empty option.
int minutesOption(const char *option, const std::string &text, int low, int high) {
    if (text.empty()) return 0;
    const std::optional<int32_t> value = parseWholeNumber(text);
    if (!value || *value < low || *value > high)
        throw InputError(std::string(option) + " takes a whole number of minutes from " + std::to_string(low) +
                         " to " + std::to_string(high) + ", got '" + text + "'");
    return *value;
}

bool samePath(const std::string &a, const std::string &b) {
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error)) return true;
    std::error_code errorA, errorB;
    const std::filesystem::path canonicalA = std::filesystem::weakly_canonical(a, errorA);
    const std::filesystem::path canonicalB = std::filesystem::weakly_canonical(b, errorB);
    return !errorA && !errorB && canonicalA == canonicalB;
}

// An output that would overwrite an input (or the other output) is refused
// before anything is read or written.
void refuseOverwritingInputs(const RunCommand &command) {
    std::vector<std::string> inputs = command.basinFiles;
    inputs.insert(inputs.end(), command.stormFiles.begin(), command.stormFiles.end());
    const std::pair<const char *, const std::string *> outputs[] = {{"--csv", &command.csvFile},
                                                                    {"--plot", &command.plotFile},
                                                                    {"--summary", &command.summaryFile},
                                                                    {"--report", &command.reportFile}};
    constexpr std::size_t kOutputs = sizeof outputs / sizeof outputs[0];
    for (const auto &[option, output] : outputs) {
        if (output->empty() || *output == kStandardInput) continue;
        for (const std::string &input : inputs)
            if (samePath(*output, input))
                throw InputError(*output + ": " + option + " would overwrite the input file " + input +
                                 "; choose another output name");
    }
    for (std::size_t i = 0; i < kOutputs; ++i)
        for (std::size_t j = i + 1; j < kOutputs; ++j) {
            const std::string &a = *outputs[i].second, &b = *outputs[j].second;
            if (!a.empty() && !b.empty() && (a == b || samePath(a, b)))
                throw InputError(b + ": " + outputs[j].first + " and " + outputs[i].first + " name the same file");
        }
}

// --volume-tolerance PCT as a fraction; the default when not given.
double toleranceOption(const std::string &text) {
    if (text.empty()) return kDefaultVolumeTolerance;
    const std::optional<double> percent = parsePlainDecimal(std::string(trimmed(text)));
    if (!percent || !(*percent > 0.0 && *percent < 100.0))
        throw InputError("--volume-tolerance takes a percentage above 0 and below 100, got '" + text + "'");
    return *percent / 100.0;
}

// How storms are read: the unit asked for and what a gap gets.
StormReading stormReading(std::optional<UnitSystem> units, const std::string &fillGaps) {
    StormReading reading;
    reading.units = units;
    if (fillGaps == "zero") reading.gaps = GapRule::Zero;
    else if (!fillGaps.empty())
        throw InputError("--fill-gaps takes 'zero' (fill each gap with dry steps), got '" + fillGaps + "'");
    return reading;
}

double realOption(const char *option, const std::string &text) {
    const std::optional<double> value = parsePlainDecimal(std::string(trimmed(text)));
    if (!value) throw InputError(std::string(option) + " takes a decimal number, got '" + text + "'");
    return *value;
}

// Notes and warnings, one line per cause (a cause that concerns many basins
// lists them on its line).
void printWarnings(std::ostream &err, const Warnings &warnings) {
    for (const std::string &line : groupedWarningLines(warnings)) err << line << '\n';
}

// Every basin of the files, checked; warnings about unusual values to `err`
// (and appended to `kept` when given).
std::vector<BasinSource> checkedBasins(const std::vector<std::string> &paths, UnitSystem units, std::ostream &err,
                                       bool grouped = true, Warnings *kept = nullptr) {
    Warnings warnings;
    std::vector<BasinSource> sources = readCheckedBasins(paths, units, warnings);
    if (grouped) printWarnings(err, warnings);
    else
        for (const Warning &w : warnings) err << (isNote(w.cause) ? "note: " : "warning: ") << w.text << '\n';
    if (kept) kept->insert(kept->end(), warnings.begin(), warnings.end());
    return sources;
}

} // namespace

namespace {

// What a run reads and says, for every way of running it.
struct RunContext {
    const RunCommand &command;
    std::vector<BasinSource> sources;
    std::vector<NamedStorm> storms; // as read
    RunOptions options;
    Warnings said; // every warning and note printed, for the report
    std::ostream &out, &err;

    void warn(const Warnings &warnings) {
        printWarnings(err, warnings);
        said.insert(said.end(), warnings.begin(), warnings.end());
    }
};

// Where the printed table goes: standard error when a file takes standard output.
bool outputTaken(const RunCommand &command) {
    return command.csvFile == kStandardInput || command.plotFile == kStandardInput ||
           command.summaryFile == kStandardInput;
}

void reportWritten(std::ostream &report, const RunCommand &command) {
    if (outputTaken(command)) return;
    if (!command.csvFile.empty()) report << "\nhydrograph written to " << command.csvFile << '\n';
    if (!command.plotFile.empty()) report << "plot written to " << command.plotFile << '\n';
    if (!command.summaryFile.empty()) report << "summary written to " << command.summaryFile << '\n';
    if (!command.reportFile.empty()) report << "report written to " << command.reportFile << '\n';
}

// "2026-12-09 07:50 UTC": now, or SOURCE_DATE_EPOCH where it is set, so
// that a rebuilt report can match the one before to the byte.
std::string reportTime() {
    std::time_t now = std::time(nullptr);
    if (const char *epoch = std::getenv("SOURCE_DATE_EPOCH"))
        if (const std::optional<int32_t> seconds = parseWholeNumber(epoch)) now = static_cast<std::time_t>(*seconds);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", &parts);
    return text;
}

void writeReport(RunContext &run, std::vector<StormRun> runs) {
    const RunCommand &command = run.command;
    if (command.reportFile.empty()) return;
    ReportContent content;
    content.commandLine = shellCommandLine(command.commandWords);
    content.versions = versionText();
    content.madeAt = reportTime();
    for (const std::string &path : command.basinFiles) content.inputs.push_back(reportInput("basins", path));
    for (const std::string &path : command.stormFiles) content.inputs.push_back(reportInput("storm", path));
    content.sources = run.sources;
    content.storms = run.storms;
    content.runs = std::move(runs);
    content.warnings = run.said;
    writeFile(command.reportFile, [&](std::ostream &file) { writeHtmlReport(file, content); });
}

void runAsOneEvent(RunContext &run, const Storm &storm) {
    const RunCommand &command = run.command;
    run.warn(longRecordWarnings(storm));
    LibrarySession session;
    RunResult result;
    {
        ProgressLine progress(run.err, stderrIsTerminal(), run.sources.size());
        RunOptions shown = run.options;
        shown.progress = [&](std::size_t done, std::size_t total) { progress.update(done, total); };
        result = runStorm(run.sources, storm, shown);
    }
    refuseNonFiniteResults(result);
    run.warn(stepNotes(run.sources, result));
    if (!command.csvFile.empty())
        writeFile(command.csvFile, [&](std::ostream &file) { writeHydrographCsv(file, result); });
    if (!command.plotFile.empty())
        writeFile(command.plotFile, [&](std::ostream &file) { writeHydrographSvg(file, result); });
    if (!command.summaryFile.empty())
        writeFile(command.summaryFile, [&](std::ostream &file) {
            if (isJsonPath(command.summaryFile)) writeSummaryJson(file, result);
            else writeSummaryCsv(file, result);
        });
    std::ostream &report = outputTaken(command) ? run.err : run.out;
    printRunSummary(report, result, command.exact);
    run.warn(runWarnings(result));
    writeReport(run, {StormRun{run.storms.front().name, std::move(result)}});
    reportWritten(report, command);
}

void runAsEvents(RunContext &run, const Storm &storm) {
    const RunCommand &command = run.command;
    const std::optional<double> hours = parsePlainDecimal(std::string(trimmed(command.events)));
    if (!hours || *hours <= 0.0 || *hours * 60.0 > kMaxRunMinutes)
        throw InputError("--events takes the hours of a dry spell that separates events, above 0, got '" +
                         command.events + "'");
    if (!command.duration.empty()) throw InputError("--events runs each event until it is dry; drop --duration");
    if (!command.reportFile.empty())
        throw InputError("--report covers whole storms; with --events use --summary and --plot");
    const std::vector<StormEvent> events = splitEvents(storm, static_cast<int>(std::ceil(*hours * 60.0)));
    if (events.empty()) throw InputError(storm.path + ": holds no rain, so no event");
    std::vector<EventRun> runs;
    {
        ProgressLine progress(run.err, stderrIsTerminal(), run.sources.size());
        // Each basin's computation step depends on the basin and the data
        // step only: chosen once for every event.
        StepPlan plan;
        {
            LibrarySession session;
            plan = planComputationSteps(run.sources, storm.stepMinutes, run.options.rule, currentLevel(), false);
        }
        RunOptions eventOptions = run.options;
        eventOptions.plan = &plan;
        for (const StormEvent &event : events) {
            progress.update(event.firstStep, storm.depths.size());
            LibrarySession session; // fresh basins: nothing carries over from the event before
            EventRun eventRun;
            eventRun.number = event.number;
            eventRun.startMinute = static_cast<long long>(event.firstStep) * storm.stepMinutes;
            eventRun.result = runStorm(run.sources, event.storm, eventOptions);
            refuseNonFiniteResults(eventRun.result);
            runs.push_back(std::move(eventRun));
        }
    }
    // Every event computes each basin at the same step: one note for all.
    run.warn(stepNotes(run.sources, runs.front().result));
    // The events' warnings together, each saying its event: a basin warned
    // in many events is one entry of its cause's line.
    Warnings all;
    for (const EventRun &eventRun : runs)
        for (Warning w : runWarnings(eventRun.result)) {
            const std::string event = "event " + std::to_string(eventRun.number);
            w.text = event + ": " + w.text;
            w.detail = w.detail.empty() ? event : event + ": " + w.detail;
            all.push_back(std::move(w));
        }
    run.warn(all);
    if (!command.csvFile.empty())
        writeFile(command.csvFile, [&](std::ostream &file) { writeEventHydrographCsv(file, runs); });
    if (!command.plotFile.empty())
        writeFile(command.plotFile, [&](std::ostream &file) { writeEventsSvg(file, runs); });
    if (!command.summaryFile.empty())
        writeFile(command.summaryFile, [&](std::ostream &file) {
            if (isJsonPath(command.summaryFile)) writeEventSummaryJson(file, runs);
            else writeEventSummaryCsv(file, runs);
        });
    std::ostream &report = outputTaken(command) ? run.err : run.out;
    printEventSummary(report, runs, command.exact);
    reportWritten(report, command);
}

// Several storms, each run from fresh basins: the peak of every basin and of
// the outlet in each storm.
void runAsStorms(RunContext &run) {
    const RunCommand &command = run.command;
    if (!command.events.empty())
        throw InputError("--events splits one record into events; give one storm with --rain");
    if (!command.plotFile.empty()) throw InputError("--plot draws one run; it does not combine with several storms");
    Warnings warnings;
    std::vector<StormRun> runs;
    {
        LibrarySession session;
        ProgressLine progress(run.err, stderrIsTerminal(), run.sources.size());
        RunOptions shown = run.options;
        shown.progress = [&](std::size_t done, std::size_t total) { progress.update(done, total); };
        runs = runStorms(run.sources, run.storms, shown, warnings);
    }
    run.warn(warnings);
    if (!command.csvFile.empty())
        writeFile(command.csvFile, [&](std::ostream &file) { writeStormHydrographCsv(file, runs); });
    if (!command.summaryFile.empty())
        writeFile(command.summaryFile, [&](std::ostream &file) {
            if (isJsonPath(command.summaryFile)) writeStormSummaryJson(file, runs);
            else writeStormSummaryCsv(file, runs);
        });
    std::ostream &report = outputTaken(command) ? run.err : run.out;
    printStormPeaks(report, runs, command.exact);
    writeReport(run, std::move(runs));
    reportWritten(report, command);
}

} // namespace

int runCommand(const RunCommand &command, std::ostream &out, std::ostream &err) {
    return guarded(err, [&] {
        refuseOverwritingInputs(command);
        if (command.reportFile == kStandardInput) throw InputError("--report writes a file; give it a name");
        const std::optional<UnitSystem> requested = requestedUnits(command.units);
        const UnitSystem units = requested.value_or(UnitSystem::Us);
        RunOptions options;
        options.timeStep = minutesOption("--time-step", command.timeStep, 1, 1440);
        options.duration = minutesOption("--duration", command.duration, 1, kMaxRunMinutes);
        options.reportStep = minutesOption("--report-step", command.reportStep, 1, 1440);
        options.rule.volumeTolerance = toleranceOption(command.volumeTolerance);
        options.units = units;
        const StormReading reading = stormReading(requested, command.fillGaps);
        RunContext run{command, {}, {}, options, {}, out, err};
        run.sources = checkedBasins(command.basinFiles, units, err, true, &run.said);
        bool named = false;
        for (const std::string &path : command.stormFiles) {
            StormSet set = readStorms(path, reading);
            named = named || set.named;
            for (NamedStorm &storm : set.storms) {
                run.warn(gapNotes(storm.storm));
                run.storms.push_back(std::move(storm));
            }
        }
        if (run.storms.size() > 1 || named) {
            runAsStorms(run);
            return kExitOk;
        }
        const Storm storm = stormAtRunStep(run.sources, run.storms.front().storm, options);
        if (command.events.empty()) runAsOneEvent(run, storm);
        else runAsEvents(run, storm);
        return kExitOk;
    });
}

int checkCommand(const CheckCommand &command, std::ostream &out, std::ostream &err) {
    return guarded(err, [&] {
        if (command.basinFiles.empty() && command.stormFile.empty())
            throw InputError("check needs basin files, --rain STORM or both");
        const std::optional<UnitSystem> requested = requestedUnits(command.units);
        if (!command.basinFiles.empty())
            // Every warning on its own line: check shows what each file gives.
            writeReading(out, checkedBasins(command.basinFiles, requested.value_or(UnitSystem::Us), err, false));
        if (!command.stormFile.empty()) {
            const StormSet storms = readStorms(command.stormFile, stormReading(requested, command.fillGaps));
            writeReading(out, storms);
            for (const NamedStorm &storm : storms.storms) printWarnings(err, gapNotes(storm.storm));
        }
        return kExitOk;
    });
}

namespace {

// The storms `vesk storm` is asked for, in the unit their depths are written in.
std::vector<DesignStorm> requestedStorms(const StormCommand &command, std::optional<UnitSystem> requested) {
    const bool relation = !command.a.empty() || !command.b.empty() || !command.c.empty();
    const bool table = !command.idf.empty(), distribution = !command.distribution.empty();
    if (relation + table + distribution != 1)
        throw InputError("storm takes one source: --a, --b and --c (one relation), --idf (a table of relations by "
                         "return period) or --distribution (a dimensionless distribution)");
    const int step = minutesOption("--step", command.step, 1, 1440);
    if (step == 0) throw InputError("storm needs --step MIN");
    std::vector<int> durations;
    for (const std::string &text : command.durations)
        durations.push_back(minutesOption("--duration", text, 1, kMaxRunMinutes));
    const double peak = command.peakPosition.empty() ? 0.5 : realOption("--peak-position", command.peakPosition);
    const double factor = command.factor.empty() ? 1.0 : realOption("--factor", command.factor);
    if (distribution) {
        if (!durations.empty() || !command.returnPeriods.empty() || !command.peakPosition.empty() || command.uniform ||
            !command.factor.empty())
            throw InputError("--distribution sets the storm's duration and shape: give it --depth and --step only");
        if (command.depth.empty()) throw InputError("--distribution needs --depth, the storm's total depth");
        const std::vector<Distribution> read =
            command.distributions.empty() ? std::vector<Distribution>{} : readDistributions(command.distributions);
        const Distribution &chosen =
            findDistribution(command.distributions.empty() ? builtInDistributions() : read, command.distribution,
                             command.distributions.empty() ? "storm" : command.distributions);
        const UnitSystem units = requested.value_or(UnitSystem::Us);
        return {DesignStorm{chosen.name, step, units,
                            distributionStorm(chosen, realOption("--depth", command.depth), step, units)}};
    }
    if (!command.depth.empty() || !command.distributions.empty())
        throw InputError("--depth and --distributions go with --distribution");
    if (durations.empty()) throw InputError("storm needs --duration MIN (one or more)");
    if (table) {
        if (relation) throw InputError("--idf gives the relations; drop --a, --b and --c");
        if (command.returnPeriods.empty()) throw InputError("--idf needs --return-period YEARS (one or more)");
        const IdfTable idf = readIdfTable(command.idf);
        if (requested && *requested != idf.units)
            throw InputError(command.idf + ": the table gives a in " + unitName(Quantity::Rate, idf.units) +
                             " but --units asks for " + unitName(Quantity::Depth, *requested) +
                             "; drop --units or convert the table");
        std::vector<double> periods;
        for (const std::string &text : command.returnPeriods) periods.push_back(realOption("--return-period", text));
        return idfStorms(idf, periods, durations, step, peak, command.uniform, factor);
    }
    if (!command.returnPeriods.empty())
        throw InputError("--return-period picks relations from an --idf table; with --a, --b and --c use --factor");
    if (command.a.empty() || command.b.empty() || command.c.empty())
        throw InputError("a relation needs --a, --b and --c");
    DesignStormOptions options;
    options.relation.a = realOption("--a", command.a);
    options.relation.b = realOption("--b", command.b);
    options.relation.c = realOption("--c", command.c);
    options.relation.factor = factor;
    options.step = step;
    options.peakPosition = peak;
    options.uniform = command.uniform;
    options.units = requested.value_or(UnitSystem::Us);
    std::vector<DesignStorm> storms;
    for (int duration : durations) {
        options.duration = duration;
        storms.push_back(DesignStorm{std::to_string(duration) + "min", step, options.units, designStorm(options)});
    }
    return storms;
}

} // namespace

int stormCommand(const StormCommand &command, std::ostream &out, std::ostream &err) {
    return guarded(err, [&] {
        const std::vector<DesignStorm> storms = requestedStorms(command, requestedUnits(command.units));
        if (!command.outDir.empty()) {
            if (!command.out.empty()) throw InputError("--out and --out-dir: choose one");
            std::error_code error;
            std::filesystem::create_directories(command.outDir, error);
            if (error) throw inputErrorIn(command.outDir, "cannot make the folder: " + error.message());
            for (const DesignStorm &storm : storms) {
                const std::string path = (std::filesystem::path(command.outDir) / (storm.name + ".csv")).string();
                writeFile(path, [&](std::ostream &file) { writeStormCsv(file, storm); });
                out << path << '\n';
            }
            return kExitOk;
        }
        const std::string path = command.out.empty() ? std::string(kStandardInput) : command.out;
        writeFile(path, [&](std::ostream &file) {
            if (storms.size() == 1) writeStormCsv(file, storms.front());
            else writeStormSetCsv(file, storms);
        });
        return kExitOk;
    });
}

int unitHydrographCommand(const UhCommand &command, std::ostream &out, std::ostream &err) {
    return guarded(err, [&] {
        if (!command.csvFile.empty() && command.csvFile != kStandardInput)
            for (const std::string &input : command.basinFiles)
                if (samePath(command.csvFile, input))
                    throw InputError(command.csvFile + ": --csv would overwrite the input file " + input +
                                     "; choose another output name");
        const UnitSystem units = requestedUnits(command.units).value_or(UnitSystem::Us);
        const int step = minutesOption("--time-step", command.timeStep, 1, 1440);
        const std::vector<BasinSource> sources = checkedBasins(command.basinFiles, units, err);
        if (!command.csvFile.empty() && sources.size() > 1)
            throw InputError(command.csvFile + ": uh --csv writes one basin's ordinates; the files hold " +
                             std::to_string(sources.size()) + " basins");
        std::ostream &report = command.csvFile == kStandardInput ? err : out;
        LibrarySession session;
        for (const BasinSource &source : sources) {
            BasinInput record = source.record;
            if (step > 0) record.shape.uhTimeStep = step;
            else if (!source.uhTimeStepGiven)
                throw InputError(source.placeOf("uhTimeStep") + ": basin " + source.name +
                                 " gives no uhTimeStep; choose one with --time-step");
            // The simulation step matches, so the stored basin could be stepped.
            record.timeStep = record.shape.uhTimeStep;
            addBasin(record, source.name, source.path);
            if (&source != &sources.front()) report << '\n';
            const BasinInput prepared = preparedBasin(source.name);
            const std::vector<double> ordinates = unitHydrograph(source.name);
            printUnitHydrograph(report, source.name, prepared, ordinates, units);
            printWarnings(err, unitHydrographWarnings(source.name, prepared, ordinates, units));
            if (!command.csvFile.empty())
                writeFile(command.csvFile, [&](std::ostream &file) {
                    writeOrdinatesCsv(file, source.name, prepared.shape.uhTimeStep, ordinates, units);
                });
        }
        return kExitOk;
    });
}

int calcCommand(const std::vector<std::string> &words, bool list, std::ostream &out, std::ostream &err) {
    return guarded(err, [&] {
        if (list) {
            if (!words.empty()) throw InputError("calc --list takes no arguments, got '" + words.front() + "'");
            printCalculatorList(out);
            return kExitOk;
        }
        if (words.empty()) throw InputError("calc needs a calculator name; see vesk calc --list");
        const Calculator *calculator = findCalculator(words.front());
        if (calculator == nullptr)
            throw InputError("no calculator is named '" + words.front() + "'; see vesk calc --list");
        const std::vector<std::string> arguments(words.begin() + 1, words.end());
        std::vector<std::string> warnings;
        out << exactText(callCalculator(*calculator, arguments, &warnings)) << '\n';
        for (const std::string &w : warnings) err << "warning: " << w << '\n';
        return kExitOk;
    });
}

} // namespace vesk::tool
