#include "registry/basin_registry.h"

#include <cstring>
#include <new>
#include <utility>

#include "base/allocation.h"

namespace vesk {

namespace {

// The index holds at most this many basins per 4 slots before it doubles.
constexpr std::size_t kIndexLoadPerFourSlots = 3;
constexpr std::size_t kFirstIndexSize = 64;

char *upperCasedCopy(const char *name) {
    const std::size_t length = std::strlen(name);
    char *copy = allocateArray<char>(length + 1);
    if (copy == nullptr) return nullptr;
    for (std::size_t i = 0; i < length; ++i)
        copy[i] = static_cast<char>(upperCased(static_cast<unsigned char>(name[i])));
    return copy;
}

void releaseNode(RegistryNode *node) {
    release(node->name);
    node->~RegistryNode(); // the basin frees its ring
    release(node);
}

// The stored node of `name` (whose key is `key`), or null.
inline RegistryNode *indexedNode(const BasinRegistry &registry, const char *name, IndexKey key) {
    if (registry.indexSize == 0) return nullptr;
    for (RegistryNode *node = registry.index[indexSlot(key.key, registry.indexSize)]; node; node = node->indexNext)
        if (node->nameKey.key == key.key && node->nameKey.length == key.length &&
            sameUpperCasedName(node->name, name, key.length))
            return node;
    return nullptr;
}

// The stored node of `name` (of `length` bytes) found through the index, or
// null.  Kept out of lookupBasin: a host that keeps its order seldom needs
// it, and the registers hashing takes would otherwise be saved on every call.
[[gnu::noinline]] RegistryNode *nodeThroughIndex(const BasinRegistry &registry, const char *name,
                                                 std::size_t length) {
    return indexedNode(registry, name, indexKey(name, length));
}

void linkIntoIndex(RegistryNode **index, std::size_t indexSize, RegistryNode *node) {
    RegistryNode *&slot = index[indexSlot(node->nameKey.key, indexSize)];
    node->indexNext = slot;
    slot = node;
}

// Makes room for one more basin: the index doubles (or is created) once it
// would hold more than three basins per four slots.  False, with the
// registry untouched, when the larger table cannot be allocated.
bool indexHasRoomForOneMore(BasinRegistry &registry) {
    const std::size_t size = registry.indexSize;
    if (size != 0 && (registry.count + 1) * 4 <= size * kIndexLoadPerFourSlots) return true;
    const std::size_t grown = size == 0 ? kFirstIndexSize : 2 * size;
    auto **index = allocateArray<RegistryNode *>(grown);
    if (index == nullptr) return false;
    for (std::size_t i = 0; i < size; ++i) {
        for (RegistryNode *node = registry.index[i]; node != nullptr;) {
            RegistryNode *following = node->indexNext;
            linkIntoIndex(index, grown, node);
            node = following;
        }
    }
    release(registry.index);
    registry.index = index;
    registry.indexSize = grown;
    return true;
}

} // namespace

int nameHash(const char *name) {
    unsigned sum = 0;
    for (const char *byte = name; *byte != '\0'; ++byte)
        sum = (sum + upperCased(static_cast<unsigned char>(*byte))) % kRegistryChains;
    return static_cast<int>(sum);
}

BasinRegistry *createRegistry() {
    return static_cast<BasinRegistry *>(allocateZeroed(sizeof(BasinRegistry)));
}

Status insertBasin(BasinRegistry *registry, const char *name, Basin basin) {
    if (registry == nullptr || name == nullptr) return Status::NullArgument;
    char *copy = upperCasedCopy(name);
    auto *node = copy ? static_cast<RegistryNode *>(allocateZeroed(sizeof(RegistryNode))) : nullptr;
    if (node == nullptr) {
        release(copy);
        return Status::NoMemory;
    }
    new (node) RegistryNode{copy, std::move(basin), nullptr, indexKey(copy), nullptr, nullptr, SweepHint{}};

    if (indexedNode(*registry, copy, node->nameKey) != nullptr) {
        releaseNode(node);
        return Status::DuplicateName;
    }
    if (!indexHasRoomForOneMore(*registry)) {
        releaseNode(node);
        return Status::NoMemory;
    }
    // Appended: the chain stays in insertion order.
    const int chain = nameHash(copy);
    if (registry->tails[chain] == nullptr)
        registry->chains[chain] = node;
    else
        registry->tails[chain]->next = node;
    registry->tails[chain] = node;
    linkIntoIndex(registry->index, registry->indexSize, node);
    ++registry->count;
    return Status::Ok;
}

FoundBasin lookupBasin(BasinRegistry *registry, const char *name) {
    if (registry == nullptr || name == nullptr) return FoundBasin{nullptr, Status::NullArgument};
    const std::size_t length = std::strlen(name);
    RegistryNode *node = expectedNode(registry->sweep, name, length);
    if (node == nullptr) node = nodeThroughIndex(*registry, name, length);
    if (node != nullptr) {
        followSweep(registry->sweep, node);
        return FoundBasin{&node->basin, Status::Ok};
    }
    return FoundBasin{nullptr, Status::BasinNotFound};
}

void teardownRegistry(BasinRegistry *registry) {
    if (registry == nullptr) return;
    for (RegistryNode *&head : registry->chains) {
        while (head != nullptr) {
            RegistryNode *next = head->next;
            releaseNode(head);
            head = next;
        }
    }
    release(registry->index);
    release(registry);
}

} // namespace vesk
