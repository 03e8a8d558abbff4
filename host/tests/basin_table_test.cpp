// The CSV basin table: header rules, derive requests, quoting, SI units, and
// errors that name file, line and column.
#include "basin_table.h"

#include <gtest/gtest.h>

#include <cstring>

#include "basin_checks.h"
#include "input_error.h"
#include "test_files.h"
#include "text_file.h"

namespace vesk::host {
namespace {

std::vector<std::string> lines(const std::string &text) {
    std::vector<std::string> found;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        found.push_back(text.substr(start, end - start));
    if (start < text.size()) found.push_back(text.substr(start));
    return found;
}

std::vector<BasinSource> parse(const std::string &text, UnitSystem units = UnitSystem::Us) {
    return parseBasinTable(lines(text), "t.csv", units);
}

TEST(BasinTable, AbsentDerivableColumnsAskForTheLibrarysValues) {
    const BasinInput r = parse("name,area,length,centroidLength,imperviousPct,slope,imperviousDepressionStorage,"
                               "perviousDepressionStorage,initialInfiltrationRate,finalInfiltrationRate,"
                               "infiltrationDecay\nP,1,1,1,50,0.01,0.1,0.2,3,0.5,0.001\n")[0].record;
    EXPECT_EQ(r.dcif, -1.0);
    EXPECT_EQ(r.rpf, -1.0);
    EXPECT_EQ(r.shape.ct, 0.0);
    EXPECT_EQ(r.shape.rise75Fraction, 0.0);
}

const std::string kRequired = "name,area,length,centroidLength,imperviousPct,slope,imperviousDepressionStorage,"
                              "perviousDepressionStorage,initialInfiltrationRate,finalInfiltrationRate,"
                              "infiltrationDecay";
const std::string kPlaza = "Plaza,0.08,0.30,0.12,88,0.015,0.08,0.35,4.5,0.6,0.0018";

// Impossible values are refused with their place and the allowed range,
// unusual ones warned about.
TEST(BasinChecks, ImpossibleValuesAreRefusedWithPlaceAndRange) {
    struct Case {
        const char *column, *value, *message;
    };
    const Case cases[] = {
        {"imperviousPct", "165", "column 5 (imperviousPct): basin P: imperviousPct 165 is impossible; allowed: 0 to 100 %"},
        {"imperviousPct", "-1", "imperviousPct -1 is impossible"},
        {"area", "-0.5", "column 2 (area): basin P: area -0.5 sq mi is impossible; allowed: 0 or more"},
        {"length", "-1", "length -1 mi is impossible"},
        {"centroidLength", "-1", "centroidLength -1 mi is impossible"},
        {"imperviousDepressionStorage", "-0.1", "imperviousDepressionStorage -0.1 in is impossible"},
        {"perviousDepressionStorage", "-0.1", "perviousDepressionStorage -0.1 in is impossible"},
        {"initialInfiltrationRate", "-1", "initialInfiltrationRate -1 in/h is impossible"},
        {"finalInfiltrationRate", "-1", "finalInfiltrationRate -1 in/h is impossible"},
        {"infiltrationDecay", "-0.001", "infiltrationDecay -0.001 is impossible"},
        {"finalInfiltrationRate", "5", "finalInfiltrationRate 5 in/h is impossible; allowed: at most the "
                                       "initialInfiltrationRate 4.5 in/h"},
    };
    const std::vector<std::string> names = {"name", "area", "length", "centroidLength", "imperviousPct", "slope",
                                            "imperviousDepressionStorage", "perviousDepressionStorage",
                                            "initialInfiltrationRate", "finalInfiltrationRate", "infiltrationDecay"};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> cells = {"P", "0.08", "0.30", "0.12", "88", "0.015", "0.08", "0.35", "4.5", "0.6",
                                          "0.0018"};
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == c.column) cells[i] = c.value;
        std::string row;
        for (const std::string &cell : cells) row += (row.empty() ? "" : ",") + cell;
        const BasinSource source = parse(kRequired + "\n" + row + "\n")[0];
        try {
            checkBasin(source, UnitSystem::Us);
            FAIL() << "accepted";
        } catch (const InputError &error) {
            EXPECT_EQ(std::string(error.what()).rfind("t.csv:2: column ", 0), 0u) << error.what();
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
    for (const char *level : {"3", "-1"}) {
        const BasinSource source = parse(kRequired + ",disconnectionLevel\n" + kPlaza + "," + level + "\n")[0];
        EXPECT_THROW(checkBasin(source, UnitSystem::Us), InputError) << level;
    }
    for (const char *fraction : {"dcif", "rpf"}) {
        const BasinSource source = parse(kRequired + "," + fraction + "\n" + kPlaza + ",1.2\n")[0];
        EXPECT_THROW(checkBasin(source, UnitSystem::Us), InputError) << fraction;
    }
}

TEST(BasinChecks, EdgesAreAcceptedAndUnusualValuesWarned) {
    const BasinSource edges =
        parse(kRequired + ",disconnectionLevel,dcif,rpf\nP,0,0,0,100,0.5,0,0,0,0,0,2,1,-1\n")[0];
    EXPECT_TRUE(checkBasin(edges, UnitSystem::Us).empty());
    const BasinSource unusual = parse(kRequired + "\nP,150,12,6,40,0.6,0.1,0.3,3,0.5,0.001\n")[0];
    const Warnings warnings = checkBasin(unusual, UnitSystem::Us);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0].text, "t.csv:2: column 6 (slope): basin P: slope 0.6 is unusually steep (above 0.5)");
    EXPECT_EQ(warnings[1].text, "t.csv:2: column 2 (area): basin P: area 150 sq mi is unusually large for one "
                                "basin (above 100.0 sq mi)");
    EXPECT_EQ(warnings[1].cause, WarningCause::UnusualValue);
    EXPECT_EQ(warnings[1].basin, "P");
    const BasinSource si = parse(kRequired + "\nP,300,12,6,40,0.01,2,8,80,10,0.001\n", UnitSystem::Si)[0];
    const Warnings siWarnings = checkBasin(si, UnitSystem::Si);
    ASSERT_EQ(siWarnings.size(), 1u);
    EXPECT_NE(siWarnings[0].text.find("area 300 km2 is unusually large for one basin (above 259.0 km2)"),
              std::string::npos)
        << siWarnings[0].text;
}

} // namespace
} // namespace vesk::host
