#include "corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "basin_fields.h"
#include "number_text.h"

namespace vesk::host::testing {

namespace fs = std::filesystem;

namespace {

double number(const std::string &text) {
    const std::optional<double> value = parseReal(text);
    EXPECT_TRUE(value.has_value()) << "not a number: " << text;
    return value.value_or(0.0);
}

void setField(BasinInput &record, const std::string &field, double value) {
    if (field == "rpaShare") record.rpaShare = value;
    else if (field == "spaShare") record.spaShare = value;
    else if (const BasinField *known = findBasinField(field)) known->store(record, value);
    else ADD_FAILURE() << "unknown field " << field;
}

ReadStorm &currentStorm(Reading &reading) {
    if (reading.storms.empty()) reading.storms.emplace_back();
    return reading.storms.back();
}

void takeStatement(Reading &reading, const std::string &word, const std::string &rest) {
    std::istringstream values(rest);
    if (word == "read") {
        reading.read = rest;
    } else if (word == "gaps") {
        reading.gaps = rest;
    } else if (word == "error") {
        reading.error = rest;
    } else if (word == "warning") {
        reading.warnings.push_back(rest);
    } else if (word == "note") {
        reading.notes.push_back(rest);
    } else if (word == "storm") {
        reading.storms.push_back(ReadStorm{});
        reading.storms.back().name = rest;
    } else if (word == "step") {
        currentStorm(reading).step = std::stoi(rest);
    } else if (word == "unit") {
        currentStorm(reading).unit = rest;
    } else if (word == "start") {
        currentStorm(reading).start = rest;
    } else if (word == "filled") {
        currentStorm(reading).filled = std::stoul(rest);
    } else if (word == "steps") {
        currentStorm(reading).steps = std::stoul(rest);
    } else if (word == "depths") {
        for (std::string value; values >> value;) currentStorm(reading).depths.push_back(number(value));
    } else if (word == "depth") {
        std::size_t k = 0;
        std::string value;
        values >> k >> value;
        currentStorm(reading).depthAt.emplace_back(k, number(value));
    } else if (word == "basin") {
        const std::size_t last = rest.rfind(' ');
        reading.basins.push_back(ReadBasin{rest.substr(0, last), rest.substr(last + 1) == "uh-step-given", {}});
    } else if (!reading.basins.empty()) {
        setField(reading.basins.back().record, word, number(rest));
    } else {
        ADD_FAILURE() << "unknown statement " << word;
    }
}

} // namespace

Reading parseReading(std::istream &in) {
    Reading reading;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const std::size_t space = line.find(' ');
        takeStatement(reading, line.substr(0, space), space == std::string::npos ? "" : line.substr(space + 1));
    }
    return reading;
}

Reading expectedReading(const fs::path &input) {
    std::ifstream in(input.string() + ".expect");
    EXPECT_TRUE(in.good()) << "no expectation for " << input;
    return parseReading(in);
}

std::vector<fs::path> corpusCases(const std::string &folder) {
    std::vector<fs::path> cases;
    for (const fs::directory_entry &entry : fs::directory_iterator(fs::path(VESK_INPUTS_DIR) / folder))
        if (entry.path().extension() != ".expect") cases.push_back(entry.path());
    std::sort(cases.begin(), cases.end());
    return cases;
}

void expectStorm(const ReadStorm &expected, const ReadStorm &observed) {
    SCOPED_TRACE("storm " + expected.name);
    EXPECT_EQ(observed.name, expected.name);
    EXPECT_EQ(observed.start, expected.start);
    EXPECT_EQ(observed.filled, expected.filled);
    if (expected.step) {
        EXPECT_EQ(observed.step, expected.step);
    }
    if (!expected.unit.empty()) {
        EXPECT_EQ(observed.unit, expected.unit);
    }
    if (expected.steps) {
        EXPECT_EQ(observed.depths.size(), *expected.steps);
    }
    if (!expected.depths.empty()) {
        EXPECT_EQ(observed.depths, expected.depths);
    }
    for (const auto &[k, depth] : expected.depthAt) {
        ASSERT_LT(k, observed.depths.size());
        EXPECT_EQ(observed.depths[k], depth) << "depth " << k;
    }
}

void expectReading(const Reading &expected, const Reading &observed) {
    EXPECT_EQ(observed.error, expected.error);
    if (!expected.error.empty()) return;
    EXPECT_EQ(observed.warnings, expected.warnings);
    EXPECT_EQ(observed.notes, expected.notes);
    ASSERT_EQ(observed.storms.size(), expected.storms.size());
    for (std::size_t i = 0; i < expected.storms.size(); ++i) expectStorm(expected.storms[i], observed.storms[i]);
    ASSERT_EQ(observed.basins.size(), expected.basins.size());
    std::size_t count = 0;
    const BasinField *const *fields = positionalFields(count);
    for (std::size_t i = 0; i < expected.basins.size(); ++i) {
        const ReadBasin &want = expected.basins[i], &got = observed.basins[i];
        SCOPED_TRACE(want.name);
        EXPECT_EQ(got.name, want.name);
        EXPECT_EQ(got.uhTimeStepGiven, want.uhTimeStepGiven);
        for (std::size_t f = 0; f < count; ++f)
            EXPECT_EQ(fields[f]->load(got.record), fields[f]->load(want.record)) << fields[f]->name;
        EXPECT_EQ(got.record.eiaPct, want.record.eiaPct);
        EXPECT_EQ(std::memcmp(&got.record, &want.record, sizeof(BasinInput)), 0);
    }
}

} // namespace vesk::host::testing
