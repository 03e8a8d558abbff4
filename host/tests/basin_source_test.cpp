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
