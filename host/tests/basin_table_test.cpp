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

TEST(BasinTable, RowMatchesThePositionalFileOfTheSameBasin) {
    const std::string table =
        "\xEF\xBB\xBF# exported from GIS\n"
        "NAME, Area ,length,centroidlength,IMPERVIOUSPCT,slope,imperviousDepressionStorage,perviousDepressionStorage,"
        "initialInfiltrationRate,finalInfiltrationRate,infiltrationDecay,disconnectionLevel,dcif,rpf,ct,cp,"
        "uhTimeStep\n"
        "\n"
        "Plaza,0.08,0.30,0.12,88,0.015,0.08,0.35,4.5,0.6,0.0018,1,0.85,0.25,0.1,0.6,5\n";
    const std::string positional = "Plaza\n0.08 1 0.12 0.85\n88 0.30 0 0.25\n0 0.015\n0.08 0.35\n4.5 0.0018 0.6\n"
                                   "0.6 0.1 0 0\n5 0 0\n";
    const std::vector<BasinSource> rows = parseBasinTable(
        splitTextLines(table, "t.csv"), "t.csv", UnitSystem::Us);
    ASSERT_EQ(rows.size(), 1u);
    const BasinSource file = readBasinFile(testing::writeScratchFile("plaza.basin", positional), UnitSystem::Us);
    EXPECT_EQ(rows[0].name, "Plaza");
    EXPECT_EQ(std::memcmp(&rows[0].record, &file.record, sizeof(BasinInput)), 0);
    EXPECT_TRUE(rows[0].uhTimeStepGiven);
    EXPECT_EQ(rows[0].placeOf("slope"), "t.csv:4: column 6 (slope)");
}

TEST(BasinTable, AbsentEmptyOrDeriveLeaveValuesToTheLibrary) {
    const std::vector<BasinSource> rows =
        parse(kRequired + ",dcif,rpf,ct,width50,disconnectionLevel,uhTimeStep,eiaPct\n" + kPlaza +
              ",derive,,DERIVE,,,,\n" + "\"Elm St, north\"," + kPlaza.substr(6) + ",0.5,0.3,0.12,20,2,10.0,40\n");
    ASSERT_EQ(rows.size(), 2u);
    const BasinInput &derived = rows[0].record;
    EXPECT_EQ(derived.dcif, -1.0);
    EXPECT_EQ(derived.rpf, -1.0);
    EXPECT_EQ(derived.shape.ct, 0.0);
    EXPECT_EQ(derived.shape.cp, 0.0); // column absent
    EXPECT_EQ(derived.shape.width50, 0.0);
    EXPECT_EQ(derived.disconnectionLevel, 0);
    EXPECT_FALSE(rows[0].uhTimeStepGiven);
    EXPECT_EQ(rows[1].name, "Elm St, north");
    EXPECT_EQ(rows[1].record.dcif, 0.5);
    EXPECT_EQ(rows[1].record.shape.width50, 20.0);
    EXPECT_EQ(rows[1].record.disconnectionLevel, 2);
    EXPECT_EQ(rows[1].record.shape.uhTimeStep, 10);
    EXPECT_EQ(rows[1].record.eiaPct, 40.0);
}

TEST(BasinTable, SiValuesAreConvertedExactly) {
    const std::vector<BasinSource> rows =
        parse(kRequired + "\nP,2.589988110336,1.609344,0.804672,50,0.01,2.54,25.4,76.2,12.7,0.001\n", UnitSystem::Si);
    const BasinInput &r = rows[0].record;
    EXPECT_EQ(r.area, 1.0);
    EXPECT_EQ(r.length, 1.0);
    EXPECT_EQ(r.centroidLength, 0.5);
    EXPECT_EQ(r.imperviousPct, 50.0);
    EXPECT_EQ(r.slope, 0.01);
    EXPECT_EQ(r.imperviousDepressionStorage, 2.54 / 25.4);
    EXPECT_EQ(r.perviousDepressionStorage, 1.0);
    EXPECT_EQ(r.initialInfiltrationRate, 76.2 / 25.4);
    EXPECT_EQ(r.finalInfiltrationRate, 0.5);
    EXPECT_EQ(r.infiltrationDecay, 0.001);
}

struct BadTable {
    const char *label;
    std::string text;
    const char *message;
};

void PrintTo(const BadTable &value, std::ostream *out) { *out << value.label; }

class BadTables : public ::testing::TestWithParam<BadTable> {};

TEST_P(BadTables, NameFileLineAndColumn) {
    try {
        parse(GetParam().text);
        FAIL() << "accepted";
    } catch (const InputError &error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().message), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, BadTables,
    ::testing::Values(
        BadTable{"NameNotFirst", "area,name\n", "t.csv:1: column 1: a basin table's first column must be 'name'"},
        BadTable{"UnknownColumn", kRequired + ",rpaShare\n",
                 "t.csv:1: column 12: unknown field 'rpaShare'; the known fields are name, area, length"},
        BadTable{"RepeatedColumn", kRequired + ",AREA\n", "t.csv:1: column 12: field 'AREA' appears twice"},
        BadTable{"RequiredColumnMissing", "name,area\n", "t.csv:1: the required column 'length' is missing"},
        BadTable{"RequiredValueEmpty", kRequired + "\nP,0.08,,0.12,88,0.015,0.08,0.35,4.5,0.6,0.0018\n",
                 "t.csv:2: column 3 (length): a value is required"},
        BadTable{"DeriveNotDerivable", kRequired + "\nP,0.08,0.3,0.12,derive,0.015,0.08,0.35,4.5,0.6,0.0018\n",
                 "t.csv:2: column 5 (imperviousPct): this value cannot be derived"},
        BadTable{"WordForNumber", kRequired + "\n\n" + kPlaza + "\nQ,0.08,0.3,0.12,88,steep,0.08,0.35,4.5,0.6,0.1\n",
                 "t.csv:4: column 6 (slope): 'steep' is not a number"},
        BadTable{"Hexadecimal", kRequired + "\nP,0x1,0.3,0.12,88,0.015,0.08,0.35,4.5,0.6,0.0018\n",
                 "t.csv:2: column 2 (area): '0x1' is not a number"},
        BadTable{"NotANumberSpelled", kRequired + "\nP,nan,0.3,0.12,88,0.015,0.08,0.35,4.5,0.6,0.0018\n",
                 "t.csv:2: column 2 (area): 'nan' is not a number"},
        BadTable{"FractionalLevel", kRequired + ",disconnectionLevel\n" + kPlaza + ",1.5\n",
                 "t.csv:2: column 12 (disconnectionLevel): '1.5' is not a whole number"},
        BadTable{"ShortRow", kRequired + "\nP,1\n", "t.csv:2: expected 11 cells as in the header, found 2"},
        BadTable{"OpenQuote", kRequired + "\n\"P,1\n", "t.csv:2: a quoted cell is not closed"},
        BadTable{"SameNameTwice", kRequired + "\n" + kPlaza + "\nplaza" + kPlaza.substr(5) + "\n",
                 "t.csv:3: column 1 (name): basin 'plaza' already appears on line 2"},
        BadTable{"NoRows", kRequired + "\n", "t.csv: holds no basin"}),
    [](const auto &info) { return std::string(info.param.label); });

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
