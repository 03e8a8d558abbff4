#include "basin_source.h"

#include <gtest/gtest.h>

#include "input_error.h"
#include "test_files.h"

namespace vesk::tool {
namespace {

using testing::writeScratchFile;

constexpr const char *kGoodBasin = "Plaza\n"
                                   "0.08 0 0.12 0.85\n"
                                   "88 0.30 0 0.25\n"
                                   "0 0.015\n"
                                   "0.08 0.35\n"
                                   "4.5 0.0018 0.6\n"
                                   "0.6 0.1 0 0\n"
                                   "5 0 0\n";

TEST(BasinSource, ReadsEveryValueInFileOrder) {
    const BasinSource source = readBasinSource(writeScratchFile("good.basin", kGoodBasin));
    const BasinInput &r = source.record;
    EXPECT_EQ(source.name, "Plaza");
    EXPECT_EQ(r.area, 0.08);
    EXPECT_EQ(r.disconnectionLevel, 0);
    EXPECT_EQ(r.centroidLength, 0.12);
    EXPECT_EQ(r.dcif, 0.85);
    EXPECT_EQ(r.imperviousPct, 88.0);
    EXPECT_EQ(r.length, 0.30);
    EXPECT_EQ(r.rpf, 0.25);
    EXPECT_EQ(r.slope, 0.015);
    EXPECT_EQ(r.imperviousDepressionStorage, 0.08);
    EXPECT_EQ(r.perviousDepressionStorage, 0.35);
    EXPECT_EQ(r.initialInfiltrationRate, 4.5);
    EXPECT_EQ(r.infiltrationDecay, 0.0018);
    EXPECT_EQ(r.finalInfiltrationRate, 0.6);
    EXPECT_EQ(r.shape.cp, 0.6);
    EXPECT_EQ(r.shape.ct, 0.1);
    EXPECT_EQ(r.shape.uhTimeStep, 5);
    EXPECT_EQ(r.timeStep, 0.0);
}

struct BadBasin {
    const char *label;
    const char *text;
    const char *message;
};

void PrintTo(const BadBasin &value, std::ostream *out) { *out << value.label; }

class BadBasins : public ::testing::TestWithParam<BadBasin> {};

TEST_P(BadBasins, NamesFileLineAndValue) {
    const std::string path = writeScratchFile(std::string("bad-") + GetParam().label + ".basin", GetParam().text);
    try {
        readBasinSource(path);
        FAIL() << "accepted";
    } catch (const InputError &error) {
        const std::string expected = path + GetParam().message;
        EXPECT_NE(std::string(error.what()).find(expected), std::string::npos) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Basins, BadBasins,
    ::testing::Values(
        BadBasin{"Empty", "  \n", ": holds no basin name"},
        BadBasin{"WordForNumber", "B\n0.1 0 0.1 0.5\n50 slope 0 0.5\n", ":3: value 6 (length) 'slope' is not a number"},
        BadBasin{"FractionalLevel", "B\n0.1 1.5 0.1 0.5\n", ":2: value 2 (disconnectionLevel) '1.5' is not a whole number"},
        BadBasin{"FractionalUhStep", "B 1 0 1 1 50 1 0 1 0 0.01 0.1 0.1 3 0.001 1 0 0 0 0 2.5 0 0",
                 ":1: value 20 (uhTimeStep) '2.5' is not a whole number"},
        BadBasin{"NotANumberSpelled", "B 1 0 1 1 50 1 0 1 0 nan", ":1: value 10 (slope) 'nan' is not a number"},
        BadBasin{"HexNumber", "B 0x10", ":1: value 1 (area) '0x10' is not a number"},
        BadBasin{"TooFewValues", "B\n0.1 0 0.1 0.5\n", ": ends before value 5 (imperviousPct)"},
        BadBasin{"ByteOrderMarkAlone", "\xEF\xBB\xBF 1 0 1 1 50 1 0 1 0 0.01 0.1 0.1 3 0.001 1 0 0 0 0 5 0 0\n",
                 ":1: holds no basin name before the values"},
        BadBasin{"ExtraValue", "B 1 0 1 1 50 1 0 1 0 0.01 0.1 0.1 3 0.001 1 0 0 0 0 5 0 0\n7\n",
                 ":2: unexpected '7' after the 22 values"}),
    [](const auto &info) { return std::string(info.param.label); });

TEST(BasinSource, ByteOrderMarkIsNotPartOfTheName) {
    const std::string path = writeScratchFile("bom.basin", std::string("\xEF\xBB\xBF") + kGoodBasin);
    const BasinSource source = readBasinSource(path);
    EXPECT_EQ(source.name, "Plaza");
    EXPECT_EQ(source.record.area, 0.08);
    EXPECT_EQ(source.record.shape.uhTimeStep, 5);
}

TEST(BasinSource, OverlongNameIsRefused) {
    const std::string path = writeScratchFile("long-name.basin", std::string(300, 'N') + " 1");
    EXPECT_THROW(readBasinSource(path), InputError);
}

TEST(BasinSource, DirectoryIsNamedAsSuch) {
    try {
        readBasinSource("/");
        FAIL() << "accepted";
    } catch (const InputError &error) {
        EXPECT_STREQ(error.what(), "/: is a directory, not a basin file");
    }
}

TEST(BasinSource, MissingFileIsNamed) {
    try {
        readBasinSource("/nonexistent/a.basin");
        FAIL() << "accepted";
    } catch (const InputError &error) {
        EXPECT_STREQ(error.what(), "/nonexistent/a.basin: cannot open the basin file: No such file or directory");
    }
}

} // namespace
} // namespace vesk::tool
