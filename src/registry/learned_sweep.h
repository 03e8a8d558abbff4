// A host of a city-wide model steps its basins in the same order at every
// time step.  The registry learns that order from its lookups.  Each node
// remembers the node found right after it, so the next lookup first tries
// that one: names are unique, so when it carries the name asked for it is
// the basin the index would find, without hashing the name or reading the
// index.  Each node also remembers where the basin found two lookups after it
// lives, and finding a node asks the processor to fetch that basin (node,
// name and ring arrays) into cache while the current one is stepped; two
// lookups ahead leaves a step's time for the fetch to arrive.
// A host that jumps about merely guesses and fetches in vain: no lookup ever
// finds another basin than the index would.
#pragma once

#include <cstddef>

namespace vesk {

struct RegistryNode; // registry_node.h, which holds each node's SweepHint

// The nodes of the latest two lookups.
struct SweepMemory {
    RegistryNode *last;
    RegistryNode *lastButOne;
};

// The node found right after the latest one last time, or else the latest
// one itself, if its name is `name` (of `length` bytes) in any letter case;
// else null.
RegistryNode *expectedNode(const SweepMemory &memory, const char *name, std::size_t length);

// Records `found` as the latest lookup: the latest one before it learns that
// `found` came next, the one before that where `found` lives.  Finding the
// latest one again (a host that steps a basin, then queries it) changes
// nothing.  Then asks for the basin `found`'s hint names, unless that basin
// is `found` itself (a host stepping one or two basins, whose memory is in
// cache anyway).  The index slot is not fetched: a host that keeps its order
// finds that basin through the sweep, without the index.
void followSweep(SweepMemory &memory, RegistryNode *found);

} // namespace vesk
