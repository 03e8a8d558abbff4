#include "storm_file.h"

#include <gtest/gtest.h>

#include <sstream>

#include "input_error.h"
#include "number_text.h"
#include "text_file.h"

namespace vesk::host {
namespace {


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
