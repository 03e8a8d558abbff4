// Reading the basin input file: where each value goes, how a bad value stops
// the reading, and agreement with the C library's own formatted input.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "base/basin_file.h"
#include "comma_decimal_locale.h"
#include "exports/shared/library_state.h"
#include "frame_test_support.h"
#include "registry/basin_registry.h"

namespace {

int processId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

// The files this test program wrote, removed when it ends.
struct ScratchFiles {
    std::vector<std::string> paths;
    ~ScratchFiles() {
        for (const std::string &path : paths) std::remove(path.c_str());
    }
} scratchFiles;

std::string writeFile(const std::string &text) {
    // One file per process, test and call: test programs run in parallel,
    // from several build trees at once, and share the temporary directory.
    static int serial = 0;
    const testing::TestInfo *test = testing::UnitTest::GetInstance()->current_test_info();
    const std::string path = testing::TempDir() + "vesk_basin_file_" + std::to_string(processId()) + "_" +
                             test->test_suite_name() + "_" + test->name() + "_" + std::to_string(++serial) + ".txt";
    std::ofstream(path, std::ios::binary) << text;
    scratchFiles.paths.push_back(path);
    return path;
}

struct Reading {
    vesk::BasinFileReading status;
    BasinInput record;
    std::string name;
};

Reading readText(const std::string &text, const BasinInput &start = BasinInput{}) {
    Reading r{{}, start, {}};
    char name[vesk::kBasinNameCapacity];
    r.status = vesk::readBasinFile(writeFile(text).c_str(), r.record, name);
    r.name = name;
    return r;
}

const char *const kEightLines = "North_Creek\n"
                                "1.5 1 0.8 0.7\n"
                                "35 1.2 0.3 0.6\n"
                                "0.4 0.02\n"
                                "0.1 0.25\n"
                                "3.0 0.0011 0.5\n"
                                "0.61 0.92 0.33 0.44\n"
                                "5 12.5 7.5\n";

TEST(BasinFile, EveryValueLandsInItsField) {
    BasinInput start{};
    start.timeStep = 77.0; // fields the file does not carry keep what they had
    start.eiaPct = 3.0;
    start.uhPeakRate = 9.0;
    const Reading r = readText(kEightLines, start);
    EXPECT_TRUE(r.status.opened);
    EXPECT_TRUE(r.status.nameRead);
    EXPECT_EQ(r.name, "North_Creek");
    const BasinInput &b = r.record;
    EXPECT_EQ(b.area, 1.5);
    EXPECT_EQ(b.disconnectionLevel, 1);
    EXPECT_EQ(b.centroidLength, 0.8);
    EXPECT_EQ(b.dcif, 0.7);
    EXPECT_EQ(b.imperviousPct, 35.0);
    EXPECT_EQ(b.length, 1.2);
    EXPECT_EQ(b.rpaShare, 0.3);
    EXPECT_EQ(b.rpf, 0.6);
    EXPECT_EQ(b.spaShare, 0.4);
    EXPECT_EQ(b.slope, 0.02);
    EXPECT_EQ(b.imperviousDepressionStorage, 0.1);
    EXPECT_EQ(b.perviousDepressionStorage, 0.25);
    EXPECT_EQ(b.initialInfiltrationRate, 3.0);
    EXPECT_EQ(b.infiltrationDecay, 0.0011);
    EXPECT_EQ(b.finalInfiltrationRate, 0.5);
    EXPECT_EQ(b.shape.cp, 0.61);
    EXPECT_EQ(b.shape.ct, 0.92);
    EXPECT_EQ(b.shape.rise50Fraction, 0.33);
    EXPECT_EQ(b.shape.rise75Fraction, 0.44);
    EXPECT_EQ(b.shape.uhTimeStep, 5);
    EXPECT_EQ(b.shape.width50, 12.5);
    EXPECT_EQ(b.shape.width75, 7.5);
    EXPECT_EQ(b.timeStep, 77.0);
    EXPECT_EQ(b.eiaPct, 3.0);
    EXPECT_EQ(b.uhPeakRate, 9.0);
}

TEST(BasinFile, OneLineFileReadsLikeEightLines) {
    std::string oneLine = kEightLines;
    for (char &c : oneLine)
        if (c == '\n') c = ' ';
    const Reading eight = readText(kEightLines);
    const Reading one = readText(oneLine);
    EXPECT_EQ(one.name, eight.name);
    EXPECT_EQ(std::memcmp(&one.record, &eight.record, sizeof(BasinInput)), 0);
}

TEST(BasinFile, LastLineWithZeroWidths) {
    const Reading r = readText("B\n1 0 1 1\n50 1 0 1\n0 0.01\n0 0\n1 0.001 0.5\n0 0 0 0\n10 0 0\n");
    EXPECT_EQ(r.record.shape.uhTimeStep, 10);
    EXPECT_EQ(r.record.shape.width50, 0.0);
    EXPECT_EQ(r.record.shape.width75, 0.0);
}

TEST(BasinFile, OverlongNameSpillsIntoTheFirstValue) {
    const std::string name(300, 'Q');
    BasinInput start{};
    start.area = start.length = start.centroidLength = 1.0; // defaults a caller may give
    const Reading r = readText(name + "\n1.5 1 0.8 0.7\n35 1.2 0.3 0.6\n", start);
    EXPECT_EQ(r.name, std::string(255, 'Q'));
    EXPECT_EQ(r.record.area, 1.0); // "QQQ..." is no number: nothing after it converts
    EXPECT_EQ(r.record.centroidLength, 1.0);
    EXPECT_EQ(r.record.imperviousPct, 0.0);

    const Reading glued = readText(std::string(255, 'Q') + "2.5 1 0.8 0.7\n");
    EXPECT_EQ(glued.record.area, 2.5);
    EXPECT_EQ(glued.record.dcif, 0.7);
}

TEST(BasinFile, FilesWithoutABasin) {
    char name[vesk::kBasinNameCapacity] = "stale";
    BasinInput record{};
    EXPECT_FALSE(vesk::readBasinFile("/nonexistent/dir/basin.txt", record, name).opened);
    EXPECT_STREQ(name, "");
    EXPECT_FALSE(vesk::readBasinFile(nullptr, record, name).opened);
    for (const char *text : {"", " \n\t\r\n"}) {
        const Reading r = readText(text);
        EXPECT_TRUE(r.status.opened);
        EXPECT_FALSE(r.status.nameRead);
        EXPECT_EQ(r.name, "");
    }
}

TEST(BasinFile, BadAndPartialValues) {
    struct Case {
        const char *what;
        const char *line2;
        const char *line3;
        int32_t level;
        double area, centroidLength, dcif, imperviousPct, length;
    };
    const Case cases[] = {
        {"2.5 in an integer field: 2, and .5 is the next value", "1.5 2.5 0.8", "35 1.2", 2, 1.5, 0.5, 0.8, 35, 1.2},
        {"a word stops everything after it", "1.5 1 abc 0.7", "35 1.2", 1, 1.5, 0, 0, 0, 0},
        {"a numeric start converts, the rest blocks", "1.5 1 0.8kg 0.7", "35 1.2", 1, 1.5, 0.8, 0, 0, 0},
        {"exponent without digits: the mantissa converts, the e blocks", "1.5 1 1e 0.7", "35 1.2", 1, 1.5, 1, 0, 0,
         0},
        {"a doubled sign is no number", "1.5 --5 0.8 0.7", "35 1.2", 0, 1.5, 0, 0, 0, 0},
        {"a lone point is no number", "1.5 1 . 0.7", "35 1.2", 1, 1.5, 0, 0, 0, 0},
        {"a fraction refused by the integer field starts the next line", "1.5 .7 0.8 0.9", "35 1.2", 0, 1.5, 0, 0,
         0.7, 0.8},
        {"signs, points and exponents", "+.5 -3 1.e1 -2E-2", "1e+2 007", -3, 0.5, 10, -0.02, 100, 7},
        {"integers beyond 32 bits are clamped", "1 99999999999 1 1", "1 1", 2147483647, 1, 1, 1, 1, 1},
        {"negative integers beyond 32 bits are clamped", "1 -99999999999 1 1", "1 1", -2147483647 - 1, 1, 1, 1, 1,
         1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const Reading r = readText(std::string("B\n") + c.line2 + "\n" + c.line3 + "\n");
        EXPECT_EQ(r.record.disconnectionLevel, c.level);
        EXPECT_EQ(r.record.area, c.area);
        EXPECT_EQ(r.record.centroidLength, c.centroidLength);
        EXPECT_EQ(r.record.dcif, c.dcif);
        EXPECT_EQ(r.record.imperviousPct, c.imperviousPct);
        EXPECT_EQ(r.record.length, c.length);
    }
}

// A host that sets a comma-decimal locale must not turn an area of 2.75
// into 2 and a slope of 0.012 into 0: numbers are read the same in every
// locale.
TEST(BasinFile, NumbersReadTheSameUnderACommaDecimalLocale) {
    CommaDecimalLocale comma;
    if (!comma.active()) GTEST_SKIP() << "no comma-decimal locale could be made here (localedef needed)";
    const Reading r = readText("Comma\n2.75 1 0.8 0.7\n35.5 1.2 0.3 0.6\n0.4 0.012\n");
    EXPECT_EQ(r.record.area, 2.75);
    EXPECT_EQ(r.record.centroidLength, 0.8);
    EXPECT_EQ(r.record.imperviousPct, 35.5);
    EXPECT_EQ(r.record.slope, 0.012);
}

// The same file read by the C library's fscanf, one call per line.
void readWithFscanf(const std::string &path, BasinInput &b, char (&name)[256]) {
    std::FILE *file = std::fopen(path.c_str(), "r");
    ASSERT_NE(file, nullptr);
    ShapeParameters &s = b.shape;
    name[0] = '\0';
    if (std::fscanf(file, "%255s", name) != 1) name[0] = '\0';
    std::fscanf(file, "%lf %d %lf %lf", &b.area, &b.disconnectionLevel, &b.centroidLength, &b.dcif);
    std::fscanf(file, "%lf %lf %lf %lf", &b.imperviousPct, &b.length, &b.rpaShare, &b.rpf);
    std::fscanf(file, "%lf %lf", &b.spaShare, &b.slope);
    std::fscanf(file, "%lf %lf", &b.imperviousDepressionStorage, &b.perviousDepressionStorage);
    std::fscanf(file, "%lf %lf %lf", &b.initialInfiltrationRate, &b.infiltrationDecay, &b.finalInfiltrationRate);
    std::fscanf(file, "%lf %lf %lf %lf", &s.cp, &s.ct, &s.rise50Fraction, &s.rise75Fraction);
    std::fscanf(file, "%d %lf %lf", &s.uhTimeStep, &s.width50, &s.width75);
    std::fclose(file);
}

// Random streams of awkward tokens read the same as the C library's fscanf
// reads them.  Left out are the malformed starts where fscanf consumes
// characters it then cannot convert (a lone or doubled sign, a lone point, an
// exponent without digits, a sign before a point in an integer field): the
// reader leaves those unread instead.
TEST(BasinFile, AgreesWithFormattedInputOnRandomTokenStreams) {
#ifdef _WIN32
    // The reference is the GNU C library's formatted input; the Windows C
    // runtimes read several of these malformed tokens their own way.
    GTEST_SKIP() << "formatted-input reference is the GNU C library's";
#endif
    const char *const tokens[] = {"1",     "-2.5",     "+0.5",    "3e2",      "4E-1", "007", "2.5",
                                  "1.2.3", "abc",      "12abc",   "1e5e5",    "-0.5e-1x", "0.000001",
                                  "1e-310", "9",       "-0",      "123456789.123456789e-3", "6.e1",
                                  "-7x",   "1E+03",    "42",      "1e999",    "-1e-999", "0.00001e-320",
                                  "1e99999999999999999999", "-0.0e400"};
    const char *const gaps[] = {" ", "\n", "\t", "  \r\n", "\n\n "};
    std::mt19937 random(99);
    auto pick = [&random](auto &array) {
        return array[std::uniform_int_distribution<std::size_t>(0, std::size(array) - 1)(random)];
    };
    for (int trial = 0; trial < 400; ++trial) {
        std::string text = "Name";
        const int count = std::uniform_int_distribution<int>(0, 26)(random);
        for (int i = 0; i < count; ++i) text += std::string(pick(gaps)) + pick(tokens);
        SCOPED_TRACE(text);
        const std::string path = writeFile(text);
        BasinInput expected{};
        char expectedName[256];
        readWithFscanf(path, expected, expectedName);
        BasinInput actual{};
        char actualName[vesk::kBasinNameCapacity];
        vesk::readBasinFile(path.c_str(), actual, actualName);
        EXPECT_STREQ(actualName, expectedName);
        ASSERT_EQ(std::memcmp(&actual, &expected, sizeof(BasinInput)), 0);
    }
}

int storedBasins() {
    int count = 0;
    for (auto *node : vesk::libraryState().registry->chains)
        for (; node != nullptr; node = node->next) ++count;
    return count;
}

class LoadAndAdd : public FreshLibrary {};

TEST_F(LoadAndAdd, NothingToAdd) {
    struct Case {
        const char *what;
        const char *path;
    };
    const std::string empty = writeFile("");
    const std::string blank = writeFile("  \n\n\t");
    const Case cases[] = {
        {"null path", nullptr},
        {"missing file", "/nonexistent/dir/basin.txt"},
        {"empty file", empty.c_str()},
        {"white space only", blank.c_str()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        vesk_free();
        openReady();
        vesk_loadandadd(c.path);
        EXPECT_EQ(vesk_geterror(), VESK_ERR_FILE_OPEN);
        EXPECT_EQ(storedBasins(), 0);
    }
}

TEST_F(LoadAndAdd, OutcomesAreThoseOfAddingTheRecord) {
    struct Case {
        const char *what;
        std::string text;
        bool confirmed;
        int32_t code;
        int stored;
    };
    const std::string full = "Brook\n1.0 1 1.0 -1\n50 2.0 0 -1\n0 0.02\n0.1 0.35\n3.0 0.0018 0.5\n0 0 0 0\n5 0 0\n";
    const Case cases[] = {
        {"a whole file", full, true, VESK_OK, 1},
        {"a file ending after the time step of the shape", full.substr(0, full.size() - 4), true, VESK_OK, 1},
        {"a word where the slope goes leaves the slope 0", "Brook 1.0 1 1.0 -1 50 2.0 0 -1 0 steep", true,
         VESK_ERR_UH_FIT, 0},
        {"the version not yet confirmed", full, false, VESK_ERR_VERSION_UNCONFIRMED, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        vesk_free();
        if (c.confirmed) {
            openReady();
        } else {
            vesk_open();
        }
        vesk_loadandadd(writeFile(c.text).c_str());
        EXPECT_EQ(vesk_geterror(), c.code);
        EXPECT_EQ(storedBasins(), c.stored);
    }
}

} // namespace
