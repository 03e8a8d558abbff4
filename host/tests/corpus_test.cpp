// Every case of the shared input corpus (tests/inputs), read by the core.
// The vesk program's and the Python package's tests read the same cases and
// must give the same readings.
#include <gtest/gtest.h>

#include <sstream>

#include "basin_checks.h"
#include "corpus.h"
#include "input_error.h"
#include "reading_text.h"
#include "storm_file.h"

namespace vesk::host {
namespace {

using testing::corpusCases;
using testing::expectedReading;
using testing::Reading;

// What the core reads, in the corpus's own form (the same text `vesk
// check` prints), or the refusal.
Reading coreReading(const std::string &path, const Reading &expected, bool storm) {
    std::ostringstream text;
    Reading observed;
    try {
        if (storm) {
            StormReading reading;
            if (expected.read == "us") reading.units = UnitSystem::Us;
            if (expected.read == "si") reading.units = UnitSystem::Si;
            if (expected.gaps == "zero") reading.gaps = GapRule::Zero;
            const StormSet storms = readStorms(path, reading);
            writeReading(text, storms);
            for (const NamedStorm &named : storms.storms)
                for (const Warning &w : gapNotes(named.storm)) text << "note " << w.text.substr(path.size()) << '\n';
        } else {
            Warnings warnings;
            writeReading(text, readCheckedBasins({path}, expected.read == "si" ? UnitSystem::Si : UnitSystem::Us,
                                                 warnings));
            for (const Warning &w : warnings) text << "warning " << w.text.substr(path.size()) << '\n';
        }
    } catch (const InputError &error) {
        const std::string message = error.what();
        EXPECT_EQ(message.rfind(path, 0), 0u) << message;
        observed.error = message.substr(path.size());
        return observed;
    }
    std::istringstream in(text.str());
    return testing::parseReading(in);
}

TEST(InputCorpus, EveryStormReadsAsExpected) {
    const auto cases = corpusCases("storms");
    EXPECT_GE(cases.size(), 30u);
    for (const auto &path : cases) {
        SCOPED_TRACE(path.filename().string());
        const Reading expected = expectedReading(path);
        testing::expectReading(expected, coreReading(path.string(), expected, true));
    }
}

TEST(InputCorpus, EveryBasinFileAndTableReadsAsExpected) {
    const auto cases = corpusCases("basins");
    EXPECT_GE(cases.size(), 30u);
    for (const auto &path : cases) {
        SCOPED_TRACE(path.filename().string());
        const Reading expected = expectedReading(path);
        testing::expectReading(expected, coreReading(path.string(), expected, false));
    }
}

} // namespace
} // namespace vesk::host
