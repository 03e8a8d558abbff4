// vesk: a command-line host of the veskdll133 runoff library.  Runs basins
// through a storm, shows a basin's unit hydrograph and calls the calculators.
#include <algorithm>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "command_line_hints.h"
#include "commands.h"
#include "library_session.h"
#include "program_version.h"

namespace {

// The long option names of `app` (with their dashes).
std::vector<std::string> optionNames(const CLI::App &app) {
    std::vector<std::string> names;
    for (const CLI::Option *option : app.get_options())
        for (const std::string &name : option->get_lnames()) names.push_back("--" + name);
    return names;
}

// A parse error restated with the name the user probably meant, when the
// fault is an unknown command or option.
std::string parseFaultMessage(const CLI::App &app, const CLI::ParseError &error, int argc, char **argv) {
    std::vector<std::string> commands;
    for (const CLI::App *sub : app.get_subcommands({})) commands.push_back(sub->get_name());
    if (argc > 1 && argv[1][0] != '-' &&
        std::find(commands.begin(), commands.end(), std::string(argv[1])) == commands.end())
        return vesk::tool::unknownNameMessage("command", argv[1], commands);
    const CLI::App *chosen = nullptr;
    for (const CLI::App *sub : app.get_subcommands({}))
        if (argc > 1 && sub->get_name() == argv[1]) chosen = sub;
    if (chosen != nullptr && chosen->get_name() != "calc") {
        const std::vector<std::string> known = optionNames(*chosen);
        for (int i = 2; i < argc; ++i) {
            const std::string word = std::string(argv[i]).substr(0, std::string(argv[i]).find('='));
            if (word.rfind("--", 0) == 0 && std::find(known.begin(), known.end(), word) == known.end() &&
                word != "--help")
                return vesk::tool::unknownNameMessage("option", word, known);
        }
    }
    return error.what();
}

constexpr const char *kExitStatuses =
    "Exit status: 0 success; 1 faulty input (a file, a value or an option's value; the message names it);\n"
    "2 the library refused a basin (the message names the error code); 3 a malformed command line.";

using vesk::tool::RunCommand;

// What each option takes, as --help shows it: its unit, or the words it accepts.
void nameOptionTypes(CLI::App &app) {
    static const std::map<std::string, std::string> kTakes = {
        {"rain", "FILE"},        {"fill-gaps", "zero"},      {"time-step", "MIN"},       {"report-step", "MIN"},
        {"volume-tolerance", "PCT"}, {"duration", "MIN"},    {"events", "HOURS"},        {"units", "us|si"},
        {"csv", "FILE"},         {"plot", "FILE.svg"},       {"summary", "FILE"},        {"report", "FILE.html"},
        {"a", "NUMBER"},         {"b", "MIN"},               {"c", "NUMBER"},            {"factor", "NUMBER"},
        {"idf", "FILE"},         {"return-period", "YEARS"}, {"step", "MIN"},            {"peak-position", "0..1"},
        {"distribution", "NAME"}, {"distributions", "FILE"}, {"depth", "IN|MM"},         {"out", "FILE"},
        {"out-dir", "DIR"}};
    for (CLI::App *sub : app.get_subcommands({}))
        for (CLI::Option *option : sub->get_options()) {
            if (option->get_positional()) option->type_name("FILE");
            for (const std::string &name : option->get_lnames())
                if (const auto found = kTakes.find(name); found != kTakes.end()) option->type_name(found->second);
        }
}

void addRunOptions(CLI::App &run, RunCommand &command) {
    run.add_option("BASIN_FILE", command.basinFiles,
                   "basin files (a name and 22 numbers each) or basin tables (.csv, one basin per row)")
        ->required();
    run.add_option("--rain", command.stormFiles,
                   "storm CSV: 'time,depth' rows (minutes, hours or date-times at the end of each step) or one "
                   "depth per row; repeat it, or give a storm set, to run several storms")
        ->required()
        ->allow_extra_args(false);
    run.add_option("--fill-gaps", command.fillGaps,
                   "zero: fill gaps in a storm's times with dry steps (default: a gap is refused)");
    run.add_option("--time-step", command.timeStep,
                   "simulation step in minutes; resamples a timed storm (default: the storm's own step)");
    run.add_option("--report-step", command.reportStep,
                   "minutes between the reported values, dividing the data step (default: the data step); "
                   "peaks and volumes do not depend on it");
    run.add_option("--volume-tolerance", command.volumeTolerance,
                   "percent by which each basin's sampled unit hydrograph may miss one inch at the step it is "
                   "computed at (default: 2)");
    run.add_option("--duration", command.duration,
                   "minutes to simulate (default: until every outflow is back to 0 after the storm)");
    run.add_flag("--exact", command.exact, "print every digit (17 significant) instead of six");
    run.add_option("--events", command.events,
                   "split the record at dry spells of at least HOURS and run each event from fresh basins");
    run.add_option("--units", command.units, "us (default: sq mi, mi, in, cfs) or si (km2, km, mm, m3/s)");
    run.add_option("--csv", command.csvFile, "write the hydrograph (time, rain, outflow per basin) as CSV");
    run.add_option("--plot", command.plotFile, "write rain and outflow as an SVG chart");
    run.add_option("--summary", command.summaryFile,
                   "write the summary, one record per basin: JSON for a .json name, else CSV ('-': standard output)");
    run.add_option("--report", command.reportFile,
                   "write the run as one HTML file to hand in: inputs with checksums, basins, storms, steps, "
                   "summary, figures and warnings (print it to PDF from a browser)");
}

} // namespace

int main(int argc, char **argv) {
    CLI::App app{"vesk - runs urban basins through a storm with the veskdll133 runoff library"};
    app.require_subcommand(1);
    app.set_version_flag("--version", vesk::tool::versionText());
    app.footer(kExitStatuses);

    RunCommand runArguments;
    CLI::App *run = app.add_subcommand("run", "run basins through a storm and summarize the runoff");
    addRunOptions(*run, runArguments);

    vesk::tool::UhCommand uhArguments;
    CLI::App *uh = app.add_subcommand("uh", "show a basin's prepared parameters and unit hydrograph");
    uh->add_option("BASIN_FILE", uhArguments.basinFiles, "basin files or basin tables (.csv), in any mix")
        ->required();
    uh->add_option("--time-step", uhArguments.timeStep, "build at this step in minutes (default: uhTimeStep)");
    uh->add_option("--units", uhArguments.units, "us (default) or si");
    uh->add_option("--csv", uhArguments.csvFile, "write the ordinates as CSV ('-': standard output)");

    vesk::tool::StormCommand stormArguments;
    CLI::App *storm = app.add_subcommand(
        "storm", "write design storms as CSV: from the intensity relation i = factor * a / (b + t)^c, from an IDF "
                 "table by return period, or from a dimensionless distribution scaled to a depth");
    storm->add_option("--a", stormArguments.a, "coefficient a: in/h x min^c (mm/h x min^c with --units si)");
    storm->add_option("--b", stormArguments.b, "offset b, minutes");
    storm->add_option("--c", stormArguments.c, "exponent c");
    storm->add_option("--factor", stormArguments.factor, "factor on the intensity, e.g. for a return period (1)");
    storm->add_option("--idf", stormArguments.idf,
                      "IDF table (CSV: return_period_yr, a_in_h or a_mm_h, b_min, c): one relation per return period");
    storm->add_option("--return-period", stormArguments.returnPeriods,
                      "years: the table's relation(s) to use; repeat or separate by commas")
        ->delimiter(',')
        ->allow_extra_args(false);
    storm->add_option("--duration", stormArguments.durations,
                      "storm duration, minutes; repeat or separate by commas for several")
        ->delimiter(',')
        ->allow_extra_args(false);
    storm->add_option("--step", stormArguments.step, "time step, minutes; divides the duration")->required();
    storm->add_option("--peak-position", stormArguments.peakPosition,
                      "where the deepest block falls: 0 first step .. 1 last step (0.5)");
    storm->add_flag("--uniform", stormArguments.uniform, "spread the duration's depth evenly instead");
    storm->add_option("--distribution", stormArguments.distribution,
                      "a dimensionless distribution: nrcs_type_I or nrcs_type_II (built in), or a column of "
                      "--distributions");
    storm->add_option("--distributions", stormArguments.distributions,
                      "CSV of cumulative fractions: hour or minute, then one column per distribution");
    storm->add_option("--depth", stormArguments.depth, "the distribution's total depth, in (mm with --units si)");
    storm->add_option("--units", stormArguments.units, "us (inches, default) or si (millimetres)");
    storm->add_option("--out", stormArguments.out,
                      "write to this file (default: standard output); several storms make a storm set");
    storm->add_option("--out-dir", stormArguments.outDir, "write each storm to NAME.csv in this folder");

    vesk::tool::CheckCommand checkArguments;
    CLI::App *check = app.add_subcommand(
        "check", "read and check input files as run does, and print what they give in the library's units");
    check->add_option("BASIN_FILE", checkArguments.basinFiles, "basin files or basin tables (.csv)");
    check->add_option("--rain", checkArguments.stormFile, "a storm file");
    check->add_option("--units", checkArguments.units, "us (default) or si: the units the files are in");
    check->add_option("--fill-gaps", checkArguments.fillGaps,
                      "zero: fill gaps in the storm's times with dry steps (default: a gap is refused)");

    bool list = false;
    CLI::App *calc = app.add_subcommand("calc", "call one of the library's calculators: calc NAME ARG...");
    calc->add_flag("--list", list, "name every calculator with its arguments and units");
    // Everything after `calc` is the calculator's name and arguments, passed
    // on untouched, so negative numbers are not mistaken for options.
    calc->prefix_command();

    nameOptionTypes(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp &request) {
        return app.exit(request);
    } catch (const CLI::CallForAllHelp &request) {
        return app.exit(request);
    } catch (const CLI::CallForVersion &request) {
        return app.exit(request);
    } catch (const CLI::ParseError &error) {
        std::cerr << "vesk: " << parseFaultMessage(app, error, argc, argv) << "\nRun 'vesk --help' for usage.\n";
        return vesk::tool::kExitUsage;
    }

    int status = 0;
    if (*storm) status = vesk::tool::stormCommand(stormArguments, std::cout, std::cerr);
    else if (*run) {
        runArguments.commandWords.assign(argv, argv + argc);
        status = vesk::tool::runCommand(runArguments, std::cout, std::cerr);
    }
    else if (*uh) status = vesk::tool::unitHydrographCommand(uhArguments, std::cout, std::cerr);
    else if (*check) status = vesk::tool::checkCommand(checkArguments, std::cout, std::cerr);
    else status = vesk::tool::calcCommand(calc->remaining(), list, std::cout, std::cerr);
    // A summary lost on a full disk or a closed pipe is a failure, not a success.
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "vesk: cannot write the results to standard output\n";
        if (status == vesk::tool::kExitOk) status = vesk::tool::kExitInputError;
    }
    return status;
}
