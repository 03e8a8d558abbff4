#include "test_files.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace vesk::tool::testing {

namespace {

std::string shellQuoted(const std::string &word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

std::string outputPath(const std::string &name) { return std::string(VESK_TOOL_TEST_OUTPUT) + "/" + name; }
std::string examplePath(const std::string &name) { return std::string(VESK_EXAMPLES_DIR) + "/" + name; }
std::string dataPath(const std::string &name) { return std::string(VESK_TOOL_TEST_DATA) + "/" + name; }

std::string writeScratchFile(const std::string &name, const std::string &text) {
    return host::testing::writeWholeFile(outputPath(name), text);
}

ProgramRun runVesk(const std::vector<std::string> &arguments) {
    static int runNumber = 0;
    // Test cases run as parallel processes: the process id keeps their files apart.
    const std::string stem = outputPath("run-" + std::to_string(getpid()) + "-" + std::to_string(++runNumber));
    std::string command = shellQuoted(VESK_PROGRAM);
    for (const std::string &argument : arguments) command += " " + shellQuoted(argument);
    command += " >" + shellQuoted(stem + ".out") + " 2>" + shellQuoted(stem + ".err");
    const int raw = std::system(command.c_str());
    ProgramRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = readWholeFile(stem + ".out");
    run.err = readWholeFile(stem + ".err");
    return run;
}

} // namespace vesk::tool::testing
