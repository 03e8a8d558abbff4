// The shared input corpus (tests/inputs) read by the vesk program: `vesk
// check` must print each case's expected reading, or refuse it with the
// expected message and status 1.
#include <gtest/gtest.h>

#include <sstream>

#include "corpus.h"
#include "test_files.h"

namespace vesk::tool {
namespace {

using host::testing::corpusCases;
using host::testing::expectedReading;
using host::testing::Reading;

Reading programReading(const std::string &path, const Reading &expected, bool storm) {
    std::vector<std::string> arguments{"check"};
    if (storm) arguments.push_back("--rain");
    arguments.push_back(path);
    if (expected.read == "us" || expected.read == "si") {
        arguments.push_back("--units");
        arguments.push_back(expected.read);
    }
    if (!expected.gaps.empty()) {
        arguments.push_back("--fill-gaps");
        arguments.push_back(expected.gaps);
    }
    const testing::ProgramRun run = testing::runVesk(arguments);
    Reading observed;
    if (run.status != 0) {
        EXPECT_EQ(run.status, 1) << run.err;
        const std::string lead = "vesk: " + path;
        EXPECT_EQ(run.err.rfind(lead, 0), 0u) << run.err;
        observed.error = run.err.substr(lead.size(), run.err.size() - lead.size() - 1); // without the line end
        return observed;
    }
    std::istringstream out(run.out);
    observed = host::testing::parseReading(out);
    std::istringstream err(run.err);
    for (std::string line; std::getline(err, line);) {
        const std::string warning = "warning: " + path, note = "note: " + path;
        if (line.rfind(note, 0) == 0) {
            observed.notes.push_back(line.substr(note.size()));
            continue;
        }
        EXPECT_EQ(line.rfind(warning, 0), 0u) << line;
        observed.warnings.push_back(line.substr(warning.size()));
    }
    return observed;
}

TEST(VeskInputCorpus, EveryCaseReadsAsTheCoreReadsIt) {
    for (const char *folder : {"storms", "basins"}) {
        for (const auto &path : corpusCases(folder)) {
            SCOPED_TRACE(path.filename().string());
            const Reading expected = expectedReading(path);
            host::testing::expectReading(expected, programReading(path.string(), expected,
                                                                  std::string(folder) == "storms"));
        }
    }
}

} // namespace
} // namespace vesk::tool
