// A node of the basin registry: the stored basin under its upper-cased name,
// its links in its chain and its index slot, and what the learned sweep
// remembers about the lookups around it.  Defined apart from the registry so
// that the sweep (learned_sweep.cpp), which reads and writes these fields,
// needs nothing of the registry itself.
#pragma once

#include <cstdint>

#include "registry/registry_name.h"
#include "registry/stored_basin.h"

namespace vesk {

struct RegistryNode;

// Where a basin lives: copied from its node while that is in cache, so that
// fetching it needs no read of the node itself.
struct SweepHint {
    const RegistryNode *node;
    const char *name;
    const double *ordinates;
    const double *slots;
    int32_t length; // of both arrays
};

struct RegistryNode {
    char *name;              // owned, upper-cased
    Basin basin;             // owns the arrays of its ring
    RegistryNode *next;      // next node of the same chain, in insertion order
    IndexKey nameKey;        // the name's length and index key
    RegistryNode *indexNext; // next node of the same index slot
    RegistryNode *foundNext; // the node found right after this one, last time
    SweepHint sweepHint;     // the basin found two lookups after this one, last time
};

} // namespace vesk
