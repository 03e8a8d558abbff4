#include "storm_file.h"

#include <gtest/gtest.h>

#include <sstream>

#include "input_error.h"
#include "number_text.h"
#include "text_file.h"

namespace vesk::host {
namespace {

Storm parse(const std::string &text) {
    std::istringstream in(text);
    return parseStorm(in, "storm.csv");
}

struct GoodStorm {
    const char *label;
    const char *text;
    int step;
    std::vector<double> depths;
};

void PrintTo(const GoodStorm &value, std::ostream *out) { *out << value.label; }

class GoodStorms : public ::testing::TestWithParam<GoodStorm> {};

TEST_P(GoodStorms, ReadsDepthsAndStep) {
    const Storm storm = parse(GetParam().text);
    EXPECT_EQ(storm.stepMinutes, GetParam().step);
    EXPECT_EQ(storm.depths, GetParam().depths);
}

INSTANTIATE_TEST_SUITE_P(
    Storms, GoodStorms,
    ::testing::Values(
        GoodStorm{"TwoColumnsWithHeader", "time_min,depth_in\n5,0.1\n10,0.25\n15,0\n", 5, {0.1, 0.25, 0.0}},
        GoodStorm{"TwoColumnsNoHeader", "10,0.5\n20,0.2\n", 10, {0.5, 0.2}},
        GoodStorm{"OneColumnWithHeader", "depth\n0.1\n0.2\n", 0, {0.1, 0.2}},
        GoodStorm{"OneColumnNoHeader", "0.3\n", 0, {0.3}},
        GoodStorm{"WindowsLineEndsBlanksAndComments", "# made up\r\ntime, depth\r\n\r\n 5 , 0.1 \r\n10,0.2\r\n", 5,
                  {0.1, 0.2}},
        GoodStorm{"LateFirstTimeMeansDryStepsBefore", "15,0.4\n20,0.1\n", 5, {0.0, 0.0, 0.4, 0.1}},
        GoodStorm{"SingleTimedRowGivesItsStep", "5,0.7\n", 5, {0.7}},
        GoodStorm{"SpreadsheetRounding", "5,0.1\n9.9999999999,0.2\n15.0000000001,0.3\n", 5, {0.1, 0.2, 0.3}},
        // A byte-order mark must not turn the first row into a header.
        GoodStorm{"ByteOrderMarkBeforeFirstRow", "\xEF\xBB\xBF" "5,0.1\n10,0.2\n", 5, {0.1, 0.2}},
        GoodStorm{"ByteOrderMarkBeforeFirstDepth", "\xEF\xBB\xBF" "0.1\n0.2\n", 0, {0.1, 0.2}},
        GoodStorm{"ByteOrderMarkBeforeHeader", "\xEF\xBB\xBF" "time,depth\n5,0.1\n", 5, {0.1}},
        GoodStorm{"LastAllowedTime", "999995,0\n1000000,0.1\n", 5, [] {
                      std::vector<double> depths(200000, 0.0);
                      depths.back() = 0.1;
                      return depths;
                  }()}),
    [](const auto &info) { return std::string(info.param.label); });

struct BadStorm {
    const char *label;
    const char *text;
    const char *message; // the whole "file:line: what" must contain this
};

void PrintTo(const BadStorm &value, std::ostream *out) { *out << value.label; }

class BadStorms : public ::testing::TestWithParam<BadStorm> {};

TEST_P(BadStorms, NamesFileLineAndFault) {
    try {
        parse(GetParam().text);
        FAIL() << "accepted";
    } catch (const InputError &error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().message), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Storms, BadStorms,
    ::testing::Values(
        BadStorm{"NonNumericDepth", "t,d\n5,0.1\n10,abc\n", "storm.csv:3: rain depth 'abc' is not a number"},
        BadStorm{"NonNumericTime", "5,0.1\nten,0.1\n", "storm.csv:2: time 'ten' is not a number"},
        BadStorm{"NegativeDepth", "0.1\n-0.2\n", "storm.csv:2: rain depth -0.2 is negative"},
        BadStorm{"InfiniteDepth", "0.1\ninf\n", "storm.csv:2: rain depth 'inf' is not a finite number"},
        BadStorm{"DecreasingTimes", "5,0.1\n10,0.1\n8,0.1\n", "storm.csv:3: times must increase"},
        BadStorm{"RepeatedTime", "5,0.1\n5,0.1\n", "storm.csv:2: times must increase"},
        BadStorm{"UnevenTimes", "5,0.1\n10,0.1\n20,0.1\n", "storm.csv:3: uneven time step"},
        BadStorm{"FractionalStep", "2.5,0.1\n5,0.1\n", "storm.csv:2: the time step 2.5 min is not a whole number"},
        BadStorm{"FirstTimeOffTheGrid", "7,0.1\n12,0.1\n", "storm.csv:2: the first time 7 min is not a whole number"},
        BadStorm{"ZeroFirstTime", "0,0.1\n5,0.1\n", "storm.csv:1: the first time must be above 0"},
        BadStorm{"ColumnCountChanges", "5,0.1\n0.2\n", "storm.csv:2: expected 2 column(s)"},
        BadStorm{"ThreeColumns", "5,0.1,7\n", "storm.csv:1: expected one column"},
        BadStorm{"SecondHeader", "t,d\nt,d\n", "storm.csv:2: time 't' is not a number"},
        BadStorm{"Empty", "\n\n", "storm.csv: holds no rain depths"},
        BadStorm{"HeaderOnly", "time,depth\n", "storm.csv: holds no rain depths"},
        BadStorm{"HexadecimalDepth", "5,0.1\n10,0x1p-3\n", "storm.csv:2: rain depth '0x1p-3' is not a number"},
        BadStorm{"FirstTimeNearZero", "0.0000001,0.1\n5,0.2\n", "storm.csv:2: the first time 1e-07 min is not a whole"},
        BadStorm{"FirstTimeFarBeyondTheRun", "1e308,0.1\n", "storm.csv:1: time 1e308 min lies beyond the 1000000 minutes"},
        BadStorm{"SecondTimeFarBeyondTheRun", "5,0.1\n1e308,0.1\n",
                 "storm.csv:2: time 1e308 min lies beyond the 1000000 minutes"}),
    [](const auto &info) { return std::string(info.param.label); });

TEST(StormFile, MissingFileIsNamed) {
    try {
        readStorm("/nonexistent/storm.csv");
        FAIL() << "accepted";
    } catch (const InputError &error) {
        EXPECT_STREQ(error.what(), "/nonexistent/storm.csv: cannot open the storm file: No such file or directory");
    }
}

TEST(StormFile, DirectoryIsNamedAsSuch) {
    try {
        readStorm("/");
        FAIL() << "accepted";
    } catch (const InputError &error) {
        EXPECT_STREQ(error.what(), "/: is a directory, not a storm file");
    }
}

TEST(StormFile, DepthUnitFromTheHeaderOrTheOption) {
    const Storm mm = parse("time_min,depth_mm\n5,25.4\n10,2.54\n");
    EXPECT_EQ(mm.units, UnitSystem::Si);
    EXPECT_EQ(mm.depths, (std::vector<double>{1.0, 2.54 / 25.4}));
    std::istringstream plain("5,25.4\n");
    EXPECT_EQ(parseStorm(plain, "s.csv", UnitSystem::Si).depths, (std::vector<double>{1.0}));
    std::istringstream inches("time,DEPTH_IN\n5,0.5\n");
    EXPECT_EQ(parseStorm(inches, "s.csv", UnitSystem::Us).depths, (std::vector<double>{0.5}));
    std::istringstream contradiction("time,depth_in\n5,0.5\n");
    EXPECT_THROW(parseStorm(contradiction, "s.csv", UnitSystem::Si), InputError);
}

TEST(StormFile, DepthsBeyondTheBoundAreRefused) {
    EXPECT_EQ(parse("5,100\n").depths, (std::vector<double>{100.0}));
    for (const char *text : {"5,100.5\n", "0.1\n1e308\n", "depth_mm\n2600\n"}) {
        try {
            parse(text);
            FAIL() << text;
        } catch (const InputError &error) {
            EXPECT_NE(std::string(error.what()).find("in one step is beyond the 100 in (2540 mm) a run accepts"),
                      std::string::npos)
                << error.what();
        }
    }
}

TEST(StormResampling, SplitsEvenlySumsWholeGroupsRefusesTheRest) {
    Storm storm;
    storm.path = "s.csv";
    storm.stepMinutes = 10;
    storm.depths = std::vector<double>{0.5, 0.25, 0.75};
    EXPECT_EQ(resampled(storm, 5).depths, (std::vector<double>{0.25, 0.25, 0.125, 0.125, 0.375, 0.375}));
    EXPECT_EQ(resampled(storm, 5).stepMinutes, 5);
    EXPECT_EQ(resampled(storm, 20).depths, (std::vector<double>{0.75, 0.75})); // the last group padded dry
    EXPECT_EQ(resampled(storm, 10).depths, storm.depths);
    try {
        resampled(storm, 15);
        FAIL() << "accepted";
    } catch (const InputError &error) {
        EXPECT_NE(std::string(error.what()).find("s.csv: the storm steps 10 min, which --time-step 15 can neither"),
                  std::string::npos);
    }
}

TEST(TextFile, LongLinesAndNulBytesAreRefused) {
    EXPECT_EQ(splitTextLines("a\r\nb\n", "f"), (std::vector<std::string>{"a", "b"}));
    EXPECT_THROW(splitTextLines("ok\n" + std::string(kMaxLineBytes + 1, '1') + "\n", "f"), InputError);
    try {
        splitTextLines(std::string("5,0.1\n10,0.\0" "2\n", 13), "f");
        FAIL() << "accepted";
    } catch (const InputError &error) {
        EXPECT_STREQ(error.what(), "f:2: holds a NUL byte; is it a text file?");
    }
}

TEST(NumberText, WholeNumbersInAnyDecimalSpelling) {
    EXPECT_EQ(parseWholeNumber("10"), 10);
    EXPECT_EQ(parseWholeNumber("10.0"), 10);
    EXPECT_EQ(parseWholeNumber("1e3"), 1000);
    EXPECT_EQ(parseWholeNumber(" +5 "), 5);
    EXPECT_FALSE(parseWholeNumber("0x5"));
    EXPECT_FALSE(parseWholeNumber("2.5"));
    EXPECT_FALSE(parseWholeNumber("inf"));
    EXPECT_FALSE(parseWholeNumber("1e10"));
    EXPECT_EQ(parsePlainDecimal(".5"), 0.5);
    EXPECT_EQ(parsePlainDecimal("5."), 5.0);
    EXPECT_FALSE(parsePlainDecimal("nan"));
    EXPECT_FALSE(parsePlainDecimal(" 1"));
    EXPECT_EQ(parseDecimalInteger("+7"), 7);
    EXPECT_FALSE(parseDecimalInteger("7.0"));
}

TEST(NumberText, WholeFieldMustConvert) {
    EXPECT_EQ(parseReal(" 1.5e-3 "), 1.5e-3);
    EXPECT_FALSE(parseReal("1.5x"));
    EXPECT_FALSE(parseReal(""));
    EXPECT_FALSE(parseReal("1e999"));
    EXPECT_FALSE(parseReal("0x10"));
    EXPECT_EQ(parseInteger("+7"), 7);
    EXPECT_EQ(parseInteger("-2147483648"), INT32_MIN);
    EXPECT_FALSE(parseInteger("2147483648"));
    EXPECT_FALSE(parseInteger("2.5"));
    EXPECT_FALSE(parseInteger("+-1"));
    EXPECT_EQ(exactText(-0.019999999552965164), "-0.019999999552965164");
    EXPECT_EQ(exactText(15.0), "15");
}

} // namespace
} // namespace vesk::host
