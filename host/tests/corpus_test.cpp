// Every case of the shared input corpus (tests/inputs), read by the core.
// The vesk program's and the Python package's tests read the same cases and
// must give the same readings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "basin_checks.h"
#include "basin_fields.h"
#include "input_error.h"
#include "number_text.h"
#include "storm_file.h"
#include "test_files.h"

namespace vesk::host {
namespace {

namespace fs = std::filesystem;

struct Expectation {
    std::string read;                              // "us", "si", "file" or empty (the default)
    std::string error;                             // the message after the path
    std::vector<std::string> warnings;             // each after the path
    std::vector<std::pair<std::string, std::string>> statements; // the rest, in order
};

Expectation expectationOf(const fs::path &input) {
    Expectation expected;
    std::ifstream in(input.string() + ".expect");
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const std::size_t space = line.find(' ');
        const std::string word = line.substr(0, space);
        const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
        if (word == "read") expected.read = rest;
        else if (word == "error") expected.error = rest;
        else if (word == "warning") expected.warnings.push_back(rest);
        else expected.statements.emplace_back(word, rest);
    }
    return expected;
}

std::vector<fs::path> casesIn(const std::string &folder) {
    std::vector<fs::path> cases;
    for (const fs::directory_entry &entry : fs::directory_iterator(testing::inputsPath(folder)))
        if (entry.path().extension() != ".expect") cases.push_back(entry.path());
    std::sort(cases.begin(), cases.end());
    return cases;
}

double number(const std::string &text) {
    const std::optional<double> value = parseReal(text);
    EXPECT_TRUE(value.has_value()) << text;
    return value.value_or(0.0);
}

std::string unitWord(UnitSystem units) { return units == UnitSystem::Si ? "mm" : "in"; }

void checkStorm(const fs::path &path, const Expectation &expected) {
    std::optional<UnitSystem> units;
    if (expected.read == "us") units = UnitSystem::Us;
    if (expected.read == "si") units = UnitSystem::Si;
    Storm storm;
    try {
        storm = readStorm(path.string(), units);
    } catch (const InputError &error) {
        EXPECT_EQ(error.what(), path.string() + expected.error);
        return;
    }
    ASSERT_TRUE(expected.error.empty()) << "accepted; expected " << expected.error;
    std::vector<double> depths;
    for (const auto &[word, rest] : expected.statements) {
        std::istringstream values(rest);
        if (word == "step") {
            EXPECT_EQ(storm.stepMinutes, std::stoi(rest));
        } else if (word == "unit") {
            EXPECT_EQ(unitWord(storm.units), rest);
        } else if (word == "steps") {
            EXPECT_EQ(storm.depths.size(), std::stoul(rest));
        } else if (word == "depths") {
            for (std::string value; values >> value;) depths.push_back(number(value));
        } else if (word == "depth") {
            std::size_t k = 0;
            std::string value;
            values >> k >> value;
            ASSERT_LT(k, storm.depths.size());
            EXPECT_EQ(storm.depths[k], number(value)) << "depth " << k;
        } else {
            ADD_FAILURE() << "unknown statement " << word;
        }
    }
    if (!depths.empty()) {
        EXPECT_EQ(storm.depths.toVector(), depths);
    }
}

// The expected record of a basin: its listed fields, every other one 0.
struct ExpectedBasin {
    std::string name;
    bool uhTimeStepGiven = false;
    BasinInput record{};
};

void setField(BasinInput &record, const std::string &field, double value) {
    if (field == "rpaShare") record.rpaShare = value;
    else if (field == "spaShare") record.spaShare = value;
    else if (const BasinField *known = findBasinField(field)) known->store(record, value);
    else ADD_FAILURE() << "unknown field " << field;
}

std::vector<ExpectedBasin> expectedBasins(const Expectation &expected) {
    std::vector<ExpectedBasin> basins;
    for (const auto &[word, rest] : expected.statements) {
        if (word == "basin") {
            const std::size_t last = rest.rfind(' ');
            basins.push_back(ExpectedBasin{rest.substr(0, last), rest.substr(last + 1) == "uh-step-given", {}});
        } else {
            if (basins.empty()) {
                ADD_FAILURE() << word << " before any basin";
                continue;
            }
            setField(basins.back().record, word, number(rest));
        }
    }
    return basins;
}

void checkBasins(const fs::path &path, const Expectation &expected) {
    const UnitSystem units = expected.read == "si" ? UnitSystem::Si : UnitSystem::Us;
    std::vector<BasinSource> sources;
    Warnings warnings;
    try {
        sources = readCheckedBasins({path.string()}, units, warnings);
    } catch (const InputError &error) {
        EXPECT_EQ(error.what(), path.string() + expected.error);
        return;
    }
    ASSERT_TRUE(expected.error.empty()) << "accepted; expected " << expected.error;
    ASSERT_EQ(warnings.size(), expected.warnings.size());
    for (std::size_t i = 0; i < warnings.size(); ++i) EXPECT_EQ(warnings[i].text, path.string() + expected.warnings[i]);
    const std::vector<ExpectedBasin> basins = expectedBasins(expected);
    ASSERT_EQ(sources.size(), basins.size());
    for (std::size_t i = 0; i < basins.size(); ++i) {
        SCOPED_TRACE(basins[i].name);
        EXPECT_EQ(sources[i].name, basins[i].name);
        EXPECT_EQ(sources[i].uhTimeStepGiven, basins[i].uhTimeStepGiven);
        EXPECT_EQ(std::memcmp(&sources[i].record, &basins[i].record, sizeof(BasinInput)), 0);
        std::size_t count = 0;
        const BasinField *fields = basinFields(count);
        for (std::size_t f = 0; f < count; ++f)
            EXPECT_EQ(fields[f].load(sources[i].record), fields[f].load(basins[i].record)) << fields[f].name;
    }
}

TEST(InputCorpus, EveryStormReadsAsExpected) {
    const std::vector<fs::path> cases = casesIn("storms");
    EXPECT_GE(cases.size(), 30u);
    for (const fs::path &path : cases) {
        SCOPED_TRACE(path.filename().string());
        checkStorm(path, expectationOf(path));
    }
}

TEST(InputCorpus, EveryBasinFileAndTableReadsAsExpected) {
    const std::vector<fs::path> cases = casesIn("basins");
    EXPECT_GE(cases.size(), 30u);
    for (const fs::path &path : cases) {
        SCOPED_TRACE(path.filename().string());
        checkBasins(path, expectationOf(path));
    }
}

} // namespace
} // namespace vesk::host
