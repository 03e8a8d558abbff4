#include "commands.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <new>

#include "basin_source.h"
#include "fraction_requests.h"
#include "calculator_table.h"
#include "hydrograph_csv.h"
#include "hydrograph_svg.h"
#include "input_error.h"
#include "library_errors.h"
#include "library_session.h"
#include "number_text.h"
#include "run_report.h"
#include "storm_file.h"

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

// Writes a whole output file, or reports which file could not be written.
void writeFile(const std::string &path, const std::function<void(std::ostream &)> &write) {
    std::ofstream file(path, std::ios::binary);
    if (!file) throw inputErrorIn(path, std::string("cannot write: ") + std::strerror(errno));
    write(file);
    file.flush();
    if (!file) throw inputErrorIn(path, "writing failed");
}

} // namespace

int runCommand(const RunCommand &command, std::ostream &out, std::ostream &err) {
    return guarded(err, [&] {
        std::vector<BasinSource> sources;
        std::vector<std::string> notes;
        for (const std::string &path : command.basinFiles) {
            sources.push_back(readBasinSource(path));
            for (std::string &n : fillFractionRequests(sources.back())) notes.push_back(std::move(n));
        }
        const Storm storm = readStorm(command.stormFile);
        LibrarySession session;
        const RunResult result = runStorm(sources, storm, command.options);
        for (const std::string &n : notes) out << "note: " << n << '\n';
        if (!notes.empty()) out << '\n';
        if (!command.csvFile.empty())
            writeFile(command.csvFile, [&](std::ostream &file) { writeHydrographCsv(file, result); });
        if (!command.plotFile.empty())
            writeFile(command.plotFile, [&](std::ostream &file) { writeHydrographSvg(file, result); });
        printRunSummary(out, result);
        if (!command.csvFile.empty()) out << "\nhydrograph written to " << command.csvFile << '\n';
        if (!command.plotFile.empty()) out << "plot written to " << command.plotFile << '\n';
        return kExitOk;
    });
}

int unitHydrographCommand(const std::string &basinFile, std::ostream &out, std::ostream &err) {
    return guarded(err, [&] {
        BasinSource source = readBasinSource(basinFile);
        const std::vector<std::string> notes = fillFractionRequests(source);
        LibrarySession session;
        // The unit hydrograph does not depend on the simulation step; the
        // basin's own uhTimeStep keeps the record steppable.
        source.record.timeStep = source.record.shape.uhTimeStep;
        addBasin(source.record, source.name, source.path);
        for (const std::string &n : notes) out << "note: " << n << "\n\n";
        printUnitHydrograph(out, source.name, preparedBasin(source.name), unitHydrograph(source.name));
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
        out << exactText(callCalculator(*calculator, arguments)) << '\n';
        return kExitOk;
    });
}

} // namespace vesk::tool
