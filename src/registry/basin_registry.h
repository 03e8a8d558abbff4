// The registry of named basins: 256 chains selected by the byte sum of the
// upper-cased name, each in insertion order.  Names are case-insensitive
// keys; the registry stores and compares only the upper-cased form.  Beside
// the chains an index finds a name's node without walking its chain (a key
// of the whole upper-cased name into a table that doubles as the registry
// grows), and each chain's tail lets an insertion append without walking.
// There is no removal of one basin: a basin lives until the registry is torn
// down.  Failures come back as a status; the registry never touches the error
// code.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/status.h"
#include "registry/learned_sweep.h"
#include "registry/registry_node.h"
#include "registry/stored_basin.h"

namespace vesk {

inline constexpr int kRegistryChains = 256;

struct BasinRegistry {
    RegistryNode *chains[kRegistryChains]; // oldest node at the head
    RegistryNode *tails[kRegistryChains];  // newest node of each chain
    RegistryNode **index;                  // indexSize slots, null until the first basin
    std::size_t indexSize;                 // a power of two, or 0
    std::size_t count;                     // basins stored
    SweepMemory sweep;                     // the latest lookups, to learn a host's sweep
};

// Upper-cases ASCII a..z; every other byte is unchanged.
inline unsigned char upperCased(unsigned char byte) {
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

// Chain index of a name: the sum of its upper-cased bytes modulo 256.
int nameHash(const char *name);

// A new registry with 256 empty chains and no index yet, or null when it
// cannot be allocated.
BasinRegistry *createRegistry();

// Stores `basin` under the upper-cased `name`.  Returns Ok, NullArgument (no
// registry or null name), NoMemory (the name, the node or a larger index) or
// DuplicateName; on failure the basin (with its ring) is dropped and the
// registry is left exactly as it was.
Status insertBasin(BasinRegistry *registry, const char *name, Basin basin);

// The stored basin (not a copy) under `name` in any letter case, or null with
// the reason: NullArgument (no registry or null name) or BasinNotFound.  The
// lookup first tries the basin the host's sweep is expected to ask for next,
// remembers what it found to learn the sweep, and fetches the basin expected
// next but one into cache.
struct FoundBasin {
    Basin *basin;
    Status status;
};
FoundBasin lookupBasin(BasinRegistry *registry, const char *name);

// Releases every node, name and ring, the index, then the table.  Null is
// harmless.
void teardownRegistry(BasinRegistry *registry);

} // namespace vesk
