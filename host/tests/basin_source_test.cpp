#include "basin_source.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <random>

#include "input_error.h"
#include "library_session.h"
#include "test_files.h"

namespace vesk::host {
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
    const BasinSource source = readBasinFile(writeScratchFile("good.basin", kGoodBasin), UnitSystem::Us);
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
        readBasinFile(path, UnitSystem::Us);
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
        // Without a name the first number is taken as one, and a value is missing.
        BadBasin{"ByteOrderMarkAlone", "\xEF\xBB\xBF 1 0 1 1 50 1 0 1 0 0.01 0.1 0.1 3 0.001 1 0 0 0 0 5 0 0\n",
                 ": ends before value 22 (width75)"},
        BadBasin{"IntegerOutOfRange", "B 1 4294967296", ":1: value 2 (disconnectionLevel) '4294967296' is not a whole"},
        BadBasin{"Infinity", "B inf", ":1: value 1 (area) 'inf' is not a number"},
        BadBasin{"TrailingUnit", "B 0.8kg", ":1: value 1 (area) '0.8kg' is not a number"},
        BadBasin{"ExtraValue", "B 1 0 1 1 50 1 0 1 0 0.01 0.1 0.1 3 0.001 1 0 0 0 0 5 0 0\n7\n",
                 ":2: unexpected '7' after the 22 values"}),
    [](const auto &info) { return std::string(info.param.label); });

TEST(BasinSource, ByteOrderMarkIsNotPartOfTheName) {
    const std::string path = writeScratchFile("bom.basin", std::string("\xEF\xBB\xBF") + kGoodBasin);
    const BasinSource source = readBasinFile(path, UnitSystem::Us);
    EXPECT_EQ(source.name, "Plaza");
    EXPECT_EQ(source.record.area, 0.08);
    EXPECT_EQ(source.record.shape.uhTimeStep, 5);
}

TEST(BasinSource, OverlongNameIsRefused) {
    const std::string path = writeScratchFile("long-name.basin", std::string(300, 'N') + " 1");
    EXPECT_THROW(readBasinFile(path, UnitSystem::Us), InputError);
}

TEST(BasinSource, DirectoryIsNamedAsSuch) {
    try {
        readBasinFile("/", UnitSystem::Us);
        FAIL() << "accepted";
    } catch (const InputError &error) {
        EXPECT_STREQ(error.what(), "/: is a directory, not a basin file");
    }
}

TEST(BasinSource, MissingFileIsNamed) {
    try {
        readBasinFile("/nonexistent/a.basin", UnitSystem::Us);
        FAIL() << "accepted";
    } catch (const InputError &error) {
        EXPECT_STREQ(error.what(), "/nonexistent/a.basin: cannot open the basin file: No such file or directory");
    }
}

TEST(BasinSource, NulByteIsRefusedWithItsLine) {
    const std::string path = writeScratchFile("nul.basin", std::string("Plaza\n0.08 0\0 0.12 0.85\n", 23));
    try {
        readBasinFile(path, UnitSystem::Us);
        FAIL() << "accepted";
    } catch (const InputError &error) {
        EXPECT_EQ(std::string(error.what()), path + ":2: holds a NUL byte; is it a text file?");
    }
}

// What the library stores for a record: vesk_getbasin after adding it under
// a fresh registry, or the error code when it refuses.
struct Stored {
    int32_t code = VESK_OK;
    BasinInput record{};
};

Stored storedByLibrary(const std::function<void()> &add, const char *name) {
    vesk_open();
    const VersionStamp stamp = builtAgainstVersion();
    vesk_checkversion(&stamp);
    add();
    Stored stored;
    stored.code = vesk_geterror();
    if (stored.code == VESK_OK) vesk_getbasin(name, &stored.record);
    vesk_free();
    return stored;
}

// A value in one of the spellings the strict reader accepts.
std::string spelled(double value, std::mt19937 &random) {
    char text[64];
    switch (random() % 5) {
    case 0: std::snprintf(text, sizeof text, "%.17g", value); break;
    case 1: std::snprintf(text, sizeof text, "%e", value); break;
    case 2: std::snprintf(text, sizeof text, "%+.6f", value); break;
    case 3: std::snprintf(text, sizeof text, "%.3E", value); break;
    default: std::snprintf(text, sizeof text, "%g", value); break;
    }
    std::string s = text;
    // ".5" and "5." are plain decimals too.
    if (s.rfind("0.", 0) == 0 && random() % 2 == 0) s.erase(0, 1);
    return s;
}

// For every file the strict reader accepts, the record it gives is the one
// the library's own loader stores: compared field by field through
// vesk_getbasin, over a few hundred files with varied layout and spellings.
TEST(BasinSource, AcceptedFilesStoreWhatTheLibraryLoaderStores) {
    std::mt19937 random(1207u);
    auto uniform = [&random](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    const char *separators[] = {" ", "\n", "\t", "  \r\n", "\n\n"};
    int compared = 0;
    for (int i = 0; i < 300; ++i) {
        const double values[22] = {
            uniform(0.01, 5.0), static_cast<double>(random() % 3), uniform(0.1, 2.0),
            random() % 3 == 0 ? -1.0 : uniform(0.0, 1.0), uniform(0.0, 100.0), uniform(0.2, 4.0),
            uniform(0.0, 1.0), random() % 3 == 0 ? -1.0 : uniform(0.0, 1.0), uniform(0.0, 1.0),
            uniform(0.001, 0.08), uniform(0.0, 0.2), uniform(0.0, 0.5), uniform(1.0, 5.0),
            uniform(0.0005, 0.003), uniform(0.1, 0.9), random() % 2 ? 0.0 : uniform(0.3, 0.9),
            random() % 2 ? 0.0 : uniform(0.05, 0.2), 0.0, 0.0, static_cast<double>(1 + random() % 10), 0.0, 0.0};
        std::string text = "Basin" + std::to_string(i);
        for (int k = 0; k < 22; ++k) {
            const bool integer = k == 1 || k == 19;
            text += separators[random() % 5];
            text += integer ? (random() % 4 == 0 ? "+" : "") + std::to_string(static_cast<int>(values[k]))
                            : spelled(values[k], random);
        }
        const std::string path = writeScratchFile("equal-" + std::to_string(i) + ".basin", text + "\n");
        const BasinSource source = readBasinFile(path, UnitSystem::Us);
        const Stored loaded = storedByLibrary([&] { vesk_loadandadd(path.c_str()); }, source.name.c_str());
        const Stored added = storedByLibrary(
            [&] {
                BasinInput record = source.record;
                vesk_addbasin(&record, source.name.c_str());
            },
            source.name.c_str());
        SCOPED_TRACE(text);
        ASSERT_EQ(loaded.code, added.code);
        EXPECT_EQ(std::memcmp(&loaded.record, &added.record, sizeof(BasinInput)), 0);
        compared += loaded.code == VESK_OK;
    }
    EXPECT_GT(compared, 250);
}

} // namespace
} // namespace vesk::host
