// Names, chains, duplicates and failures of the basin registry.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "exports/shared/library_state.h"
#include "frame_test_support.h"
#include "registry/basin_registry.h"

namespace {

// A basin that owns arrays, so a leak of a rejected or torn-down basin shows
// under the sanitizer run.
vesk::Basin basinWithArrays(double area) {
    vesk::Basin basin;
    basin.area = area;
    basin.ring.uhLength = 3;
    basin.ring.uhOrdinates.reset(vesk::allocateArray<double>(3));
    basin.ring.convolutionBuffer.reset(vesk::allocateArray<double>(3));
    return basin;
}

class Registry : public FreshLibrary {
protected:
    void SetUp() override {
        FreshLibrary::SetUp();
        openReady();
        registry = vesk::libraryState().registry;
    }
    int chainLength(int chain) const {
        int length = 0;
        for (auto *node = registry->chains[chain]; node; node = node->next) ++length;
        return length;
    }
    vesk::BasinRegistry *registry = nullptr;
};

TEST_F(Registry, HashIsTheByteSumOfTheUpperCasedName) {
    EXPECT_EQ(vesk::nameHash(""), 0);
    EXPECT_EQ(vesk::nameHash("A"), 'A');
    EXPECT_EQ(vesk::nameHash("a"), 'A');
    EXPECT_EQ(vesk::nameHash("ABC"), ('A' + 'B' + 'C') % 256);
    EXPECT_EQ(vesk::nameHash("abc"), vesk::nameHash("CBA"));
    EXPECT_EQ(vesk::nameHash("\xff\xff"), (255 + 255) % 256);
}

TEST_F(Registry, NamesAreStoredUpperCasedAndFoundInAnyCase) {
    ASSERT_EQ(vesk::insertBasin(registry, "North Creek", basinWithArrays(2.0)), vesk::Status::Ok);
    vesk::Basin *found = vesk::lookupBasin(registry, "NORTH cREEK").basin;
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->area, 2.0);
    EXPECT_STREQ(registry->chains[vesk::nameHash("NORTH CREEK")]->name, "NORTH CREEK");
    EXPECT_EQ(vesk_geterror(), VESK_OK);
}

TEST_F(Registry, LookupReturnsTheStoredBasinNotACopy) {
    ASSERT_EQ(vesk::insertBasin(registry, "B1", basinWithArrays(1.0)), vesk::Status::Ok);
    vesk::lookupBasin(registry, "b1").basin->precip.time = 15;
    EXPECT_EQ(vesk::lookupBasin(registry, "B1").basin->precip.time, 15);
}

TEST_F(Registry, DuplicateInOtherCaseIsRefusedAndFirstKept) {
    ASSERT_EQ(vesk::insertBasin(registry, "basin", basinWithArrays(1.0)), vesk::Status::Ok);
    EXPECT_EQ(vesk::insertBasin(registry, "BaSiN", basinWithArrays(9.0)), vesk::Status::DuplicateName);
    EXPECT_EQ(vesk::lookupBasin(registry, "BASIN").basin->area, 1.0);
    EXPECT_EQ(chainLength(vesk::nameHash("BASIN")), 1);
}

TEST_F(Registry, PermutationsShareAChainInInsertionOrder) {
    ASSERT_EQ(vesk::insertBasin(registry, "ABC", basinWithArrays(1.0)), vesk::Status::Ok);
    ASSERT_EQ(vesk::insertBasin(registry, "CBA", basinWithArrays(2.0)), vesk::Status::Ok);
    ASSERT_EQ(vesk::insertBasin(registry, "bca", basinWithArrays(3.0)), vesk::Status::Ok);
    const int chain = vesk::nameHash("ABC");
    ASSERT_EQ(chainLength(chain), 3);
    EXPECT_STREQ(registry->chains[chain]->name, "ABC");
    EXPECT_STREQ(registry->chains[chain]->next->name, "CBA");
    EXPECT_STREQ(registry->chains[chain]->next->next->name, "BCA");
    EXPECT_EQ(vesk::lookupBasin(registry, "cba").basin->area, 2.0);
    EXPECT_EQ(vesk::lookupBasin(registry, "BCA").basin->area, 3.0);
}

TEST_F(Registry, EmptyNameIsAnOrdinaryKeyInChainZero) {
    ASSERT_EQ(vesk::insertBasin(registry, "", basinWithArrays(4.0)), vesk::Status::Ok);
    EXPECT_EQ(chainLength(0), 1);
    EXPECT_EQ(vesk::lookupBasin(registry, "").basin->area, 4.0);
}

TEST_F(Registry, TrailingBlankMakesAnotherKey) {
    ASSERT_EQ(vesk::insertBasin(registry, "X", basinWithArrays(1.0)), vesk::Status::Ok);
    ASSERT_EQ(vesk::insertBasin(registry, "X ", basinWithArrays(2.0)), vesk::Status::Ok);
    EXPECT_EQ(vesk::lookupBasin(registry, "X ").basin->area, 2.0);
    EXPECT_EQ(vesk::lookupBasin(registry, "X").basin->area, 1.0);
}

TEST_F(Registry, HighBytesAreNotUpperCasedAndLandInTheirChain) {
    const char name[] = "\xe9t\xe9";
    ASSERT_EQ(vesk::insertBasin(registry, name, basinWithArrays(1.0)), vesk::Status::Ok);
    EXPECT_EQ(chainLength((0xe9 + 'T' + 0xe9) % 256), 1);
    EXPECT_NE(vesk::lookupBasin(registry, "\xe9T\xe9").basin, nullptr);
    EXPECT_EQ(vesk::lookupBasin(registry, "\xc9T\xc9").basin, nullptr);
}

TEST_F(Registry, UnknownNameIsReportedAndTheCodeLeftToTheExports) {
    const vesk::FoundBasin missing = vesk::lookupBasin(registry, "NOPE");
    EXPECT_EQ(missing.basin, nullptr);
    EXPECT_EQ(missing.status, vesk::Status::BasinNotFound);
    ASSERT_EQ(vesk::insertBasin(registry, "YES", basinWithArrays(1.0)), vesk::Status::Ok);
    EXPECT_EQ(vesk::lookupBasin(registry, "YES").status, vesk::Status::Ok);
    EXPECT_EQ(vesk_geterror(), VESK_OK); // the registry never sets a code
}

TEST_F(Registry, NullNameOrAbsentRegistryIsANullArgument) {
    EXPECT_EQ(vesk::insertBasin(registry, nullptr, basinWithArrays(1.0)), vesk::Status::NullArgument);
    EXPECT_EQ(vesk::lookupBasin(registry, nullptr).basin, nullptr);
    EXPECT_EQ(vesk::lookupBasin(registry, nullptr).status, vesk::Status::NullArgument);
    vesk_free();
    EXPECT_EQ(vesk::insertBasin(vesk::libraryState().registry, "A", basinWithArrays(1.0)),
              vesk::Status::NullArgument);
    EXPECT_EQ(vesk::lookupBasin(vesk::libraryState().registry, "A").basin, nullptr);
    EXPECT_EQ(vesk::lookupBasin(vesk::libraryState().registry, "A").status, vesk::Status::NullArgument);
}

TEST_F(Registry, EachAllocationFailureOfInsertIsNoMemoryAndChangesNothing) {
    ASSERT_EQ(vesk::insertBasin(registry, "KEEP", basinWithArrays(1.0)), vesk::Status::Ok);
    for (int failing = 1; failing <= 2; ++failing) { // the name copy, then the node
        vesk::Basin basin = basinWithArrays(2.0);
        vesk::failAllocationNumber(failing);
        EXPECT_EQ(vesk::insertBasin(registry, "NEW", std::move(basin)), vesk::Status::NoMemory) << failing;
        vesk::failAllocationNumber(0);
        EXPECT_EQ(vesk::lookupBasin(registry, "NEW").basin, nullptr);
        EXPECT_NE(vesk::lookupBasin(registry, "KEEP").basin, nullptr);
        int stored = 0;
        for (int chain = 0; chain < vesk::kRegistryChains; ++chain) stored += chainLength(chain);
        EXPECT_EQ(stored, 1) << failing;
    }
}

// The index beside the chains: created with the first basin, doubled as the
// registry grows.  Its allocation is the third of an insertion (after the
// name and the node); when it fails the registry stays exactly as it was.
TEST_F(Registry, AFailedIndexAllocationIsNoMemoryAndChangesNothing) {
    vesk::failAllocationNumber(3);
    EXPECT_EQ(vesk::insertBasin(registry, "FIRST", basinWithArrays(1.0)), vesk::Status::NoMemory);
    vesk::failAllocationNumber(0);
    EXPECT_EQ(registry->count, 0u);
    EXPECT_EQ(registry->index, nullptr);
    EXPECT_EQ(registry->chains[vesk::nameHash("FIRST")], nullptr);
    EXPECT_EQ(registry->tails[vesk::nameHash("FIRST")], nullptr);
    EXPECT_EQ(vesk::lookupBasin(registry, "first").status, vesk::Status::BasinNotFound);

    // Fill the first table to its limit, then fail the doubling.
    std::vector<std::string> names;
    for (int i = 1;; ++i) {
        names.push_back("B-" + std::to_string(i));
        ASSERT_EQ(vesk::insertBasin(registry, names.back().c_str(), basinWithArrays(i)), vesk::Status::Ok);
        if ((registry->count + 1) * 4 > registry->indexSize * 3) break;
    }
    const std::size_t size = registry->indexSize;
    int lengths[vesk::kRegistryChains];
    for (int chain = 0; chain < vesk::kRegistryChains; ++chain) lengths[chain] = chainLength(chain);
    vesk::failAllocationNumber(3);
    EXPECT_EQ(vesk::insertBasin(registry, "ONE MORE", basinWithArrays(0.5)), vesk::Status::NoMemory);
    vesk::failAllocationNumber(0);
    EXPECT_EQ(registry->indexSize, size);
    EXPECT_EQ(registry->count, names.size());
    for (int chain = 0; chain < vesk::kRegistryChains; ++chain) EXPECT_EQ(chainLength(chain), lengths[chain]);
    EXPECT_EQ(vesk::lookupBasin(registry, "ONE MORE").basin, nullptr);

    ASSERT_EQ(vesk::insertBasin(registry, "ONE MORE", basinWithArrays(0.5)), vesk::Status::Ok);
    EXPECT_EQ(registry->indexSize, 2 * size);
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(vesk::lookupBasin(registry, names[i].c_str()).basin->area, static_cast<double>(i + 1));
    EXPECT_EQ(vesk::lookupBasin(registry, "one more").basin->area, 0.5);
}

// Names that crowd a few chains (the byte sums of B-000001 ... spread over
// few values) are found through the index in any case, and every chain keeps
// its insertion order with its tail at the newest node.
TEST_F(Registry, ThousandsOfSimilarNamesAreFoundAndChainsKeepTheirOrder) {
    constexpr int kBasins = 5000;
    char name[16];
    for (int i = 1; i <= kBasins; ++i) {
        std::snprintf(name, sizeof name, "b-%06d", i);
        ASSERT_EQ(vesk::insertBasin(registry, name, basinWithArrays(i)), vesk::Status::Ok);
    }
    EXPECT_EQ(vesk::insertBasin(registry, "B-000077", basinWithArrays(0.0)), vesk::Status::DuplicateName);
    for (int i = 1; i <= kBasins; ++i) {
        std::snprintf(name, sizeof name, "B-%06d", i);
        const vesk::FoundBasin found = vesk::lookupBasin(registry, name);
        ASSERT_NE(found.basin, nullptr) << name;
        EXPECT_EQ(found.basin->area, static_cast<double>(i));
    }
    EXPECT_EQ(vesk::lookupBasin(registry, "B-005001").status, vesk::Status::BasinNotFound);
    int stored = 0;
    for (int chain = 0; chain < vesk::kRegistryChains; ++chain) {
        double previous = 0.0;
        const vesk::RegistryNode *last = nullptr;
        for (const vesk::RegistryNode *node = registry->chains[chain]; node; node = node->next) {
            EXPECT_GT(node->basin.area, previous); // inserted in increasing order
            previous = node->basin.area;
            last = node;
            ++stored;
        }
        EXPECT_EQ(registry->tails[chain], last);
    }
    EXPECT_EQ(stored, kBasins);
}

// The index reads names eight bytes at a time.  Against upper-casing byte by
// byte, for random names of every length up to 40 over all 255 byte values:
// a name in any case has the key of its upper-cased form and matches it, and
// a name that differs in one byte other than by the case of a letter does not.
TEST(RegistryNames, EightBytesAtATimeAgreeWithByteByByte) {
    std::mt19937_64 random(11);
    auto anyByte = [&random] { return static_cast<char>(1 + random() % 255); };
    for (int trial = 0; trial < 20000; ++trial) {
        std::string name(random() % 41, ' ');
        for (char &byte : name) byte = anyByte();
        std::string upper = name;
        for (char &byte : upper) byte = static_cast<char>(vesk::upperCased(static_cast<unsigned char>(byte)));
        const vesk::IndexKey key = vesk::indexKey(name.c_str());
        const vesk::IndexKey upperKey = vesk::indexKey(upper.c_str());
        ASSERT_EQ(key.length, name.size());
        ASSERT_EQ(key.key, upperKey.key) << trial;
        ASSERT_TRUE(vesk::sameUpperCasedName(upper.c_str(), name.c_str(), name.size())) << trial;
        if (name.empty()) continue;
        std::string other = name;
        const std::size_t at = random() % name.size();
        do other[at] = anyByte();
        while (vesk::upperCased(static_cast<unsigned char>(other[at])) ==
               vesk::upperCased(static_cast<unsigned char>(name[at])));
        ASSERT_FALSE(vesk::sameUpperCasedName(upper.c_str(), other.c_str(), name.size())) << trial;
    }
}

// Lookups teach each node which basin was found next and where the basin
// found two lookups later lives: a host sweeping A, B, C, D leaves A
// expecting B and pointing at C, B expecting C and pointing at D, with C's
// and D's keys, names and ring arrays copied; a failed lookup teaches
// nothing.
TEST_F(Registry, LookupsLearnTheSweepTwoBasinsAhead) {
    for (const char *name : {"A", "B", "C", "D"})
        ASSERT_EQ(vesk::insertBasin(registry, name, basinWithArrays(1.0)), vesk::Status::Ok);
    auto nodeOf = [this](const char *name) {
        vesk::Basin *basin = vesk::lookupBasin(registry, name).basin;
        for (vesk::RegistryNode *head : registry->chains)
            for (vesk::RegistryNode *node = head; node; node = node->next)
                if (&node->basin == basin) return node;
        return static_cast<vesk::RegistryNode *>(nullptr);
    };
    vesk::RegistryNode *a = nodeOf("a"), *b = nodeOf("b");
    EXPECT_EQ(vesk::lookupBasin(registry, "nowhere").status, vesk::Status::BasinNotFound);
    vesk::RegistryNode *c = nodeOf("c"), *d = nodeOf("d");
    EXPECT_EQ(vesk::lookupBasin(registry, "D").basin, &d->basin); // the same basin again teaches nothing
    EXPECT_EQ(a->foundNext, b);
    EXPECT_EQ(b->foundNext, c);
    EXPECT_EQ(c->foundNext, d);
    EXPECT_EQ(d->foundNext, nullptr);
    EXPECT_EQ(a->sweepHint.node, c);
    EXPECT_EQ(b->sweepHint.node, d);
    EXPECT_EQ(c->sweepHint.node, nullptr); // nothing found two lookups after C yet
    EXPECT_EQ(b->sweepHint.name, d->name);
    EXPECT_EQ(b->sweepHint.ordinates, d->basin.ring.uhOrdinates.get());
    EXPECT_EQ(b->sweepHint.slots, d->basin.ring.convolutionBuffer.get());
    EXPECT_EQ(b->sweepHint.length, 3);
}

// The lookup tries the basin a learned sweep expects before the index.
// Whatever the host does (sweeps in a fixed order, jumps, the same basin
// twice, other letter case, names that are prefixes or extensions of the
// expected one, unknown names),
// every lookup finds exactly the basin stored under the name.
TEST_F(Registry, LookupsFollowingOrLeavingTheSweepFindTheNamedBasin) {
    const std::vector<std::string> names = {"A", "AB", "ABC", "b-000001", "B-000002", "basin 1", "Basin 10",
                                            "\xe9t\xe9", "", "zz", "Zz1", "long name of a basin, 26"};
    for (std::size_t i = 0; i < names.size(); ++i)
        ASSERT_EQ(vesk::insertBasin(registry, names[i].c_str(), basinWithArrays(static_cast<double>(i + 1))),
                  vesk::Status::Ok);
    std::mt19937_64 random(5);
    std::size_t next = 0, previous = 0;
    for (int call = 0; call < 20000; ++call) {
        const uint64_t draw = random() % 10;
        std::size_t index = next;
        if (draw == 0) index = random() % names.size(); // a jump
        if (draw == 3) index = previous;                 // the same basin again
        std::string asked = names[index];
        if (draw == 1)
            for (char &byte : asked)
                if (byte >= 'A' && byte <= 'Z') byte = static_cast<char>(byte - 'A' + 'a');
        if (draw == 2) asked += "X"; // not stored
        const vesk::FoundBasin found = vesk::lookupBasin(registry, asked.c_str());
        if (draw == 2) {
            ASSERT_EQ(found.status, vesk::Status::BasinNotFound) << asked;
            continue;
        }
        ASSERT_NE(found.basin, nullptr) << asked;
        ASSERT_EQ(found.basin->area, static_cast<double>(index + 1)) << asked;
        previous = index;
        next = (index + 1) % names.size();
    }
}

TEST_F(Registry, TeardownReleasesLongChains) {
    // Many permutations of one name put several basins in each chain; the
    // sanitizer run reports any node, name or array left behind.
    std::string name = "ABCDE";
    for (int i = 0; i < 40; ++i) {
        ASSERT_EQ(vesk::insertBasin(registry, name.c_str(), basinWithArrays(i)), vesk::Status::Ok);
        std::next_permutation(name.begin(), name.end());
    }
    EXPECT_EQ(chainLength(vesk::nameHash("ABCDE")), 40);
    vesk_free();
    EXPECT_EQ(vesk::libraryState().registry, nullptr);
    vesk::teardownRegistry(nullptr); // harmless
}

} // namespace
