// A host of a city-wide model steps its basins in the same order at every
// time step.  The registry learns that order from its lookups: each node
// remembers where the basin asked for two lookups after it lives, and finding
// a node asks the processor to fetch that basin (its node, name, ring arrays
// and index slot) into cache while the current one is stepped.  Two lookups ahead
// leaves a step's time for the fetch to arrive.  Only a hint: it changes no
// result, and a host that jumps about merely fetches something in vain.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vesk {

struct RegistryNode;

// Where a basin lives: copied from the node while it is in cache, so that
// fetching it needs no read of the node itself.
struct SweepHint {
    uint64_t key; // the basin's index key, which picks its index slot
    const RegistryNode *node;
    const char *name;
    const double *ordinates;
    const double *slots;
    int32_t length; // of both arrays
};

// The nodes of the latest two lookups.
struct SweepMemory {
    RegistryNode *last;
    RegistryNode *lastButOne;
};

// Records `found` as the latest lookup; the lookup before the previous one
// learns that `found` came two lookups after it.
void learnSweep(SweepMemory &memory, RegistryNode *found);

// Asks for the basin `found`'s hint names and its slot of `index` (of
// `indexSize` slots), unless that basin is `found` itself (a host stepping one
// or two basins, whose memory is in cache anyway).
void prefetchHinted(const RegistryNode &found, RegistryNode *const *index, std::size_t indexSize);

} // namespace vesk
