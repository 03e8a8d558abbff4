#include "frame/basin_registry.h"

#include <cstring>
#include <new>
#include <utility>

#include "frame/allocation.h"

namespace vesk {

namespace {

char *upperCasedCopy(const char *name) {
    const std::size_t length = std::strlen(name);
    char *copy = allocateArray<char>(length + 1);
    if (copy == nullptr) return nullptr;
    for (std::size_t i = 0; i < length; ++i)
        copy[i] = static_cast<char>(upperCased(static_cast<unsigned char>(name[i])));
    return copy;
}

// Byte-for-byte equality of a stored (upper-cased) name with `name` upper-cased,
// without making a copy of `name`.
bool equalsUpperCased(const char *stored, const char *name) {
    for (;; ++stored, ++name) {
        const unsigned char wanted = upperCased(static_cast<unsigned char>(*name));
        if (static_cast<unsigned char>(*stored) != wanted) return false;
        if (wanted == 0) return true;
    }
}

void releaseNode(RegistryNode *node) {
    release(node->name);
    node->~RegistryNode(); // the basin frees its ring
    release(node);
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
    new (node) RegistryNode{copy, std::move(basin), nullptr};

    RegistryNode **link = &registry->chains[nameHash(copy)];
    for (; *link != nullptr; link = &(*link)->next) {
        if (std::strcmp((*link)->name, copy) == 0) {
            releaseNode(node);
            return Status::DuplicateName;
        }
    }
    *link = node; // appended: the chain stays in insertion order
    return Status::Ok;
}

FoundBasin lookupBasin(BasinRegistry *registry, const char *name) {
    if (registry == nullptr || name == nullptr) return FoundBasin{nullptr, Status::NullArgument};
    for (RegistryNode *node = registry->chains[nameHash(name)]; node != nullptr; node = node->next)
        if (equalsUpperCased(node->name, name)) return FoundBasin{&node->basin, Status::Ok};
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
    release(registry);
}

} // namespace vesk
