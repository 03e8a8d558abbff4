#include "registry/learned_sweep.h"

#include <cstddef>

#include "registry/registry_name.h"
#include "registry/registry_node.h"

namespace vesk {

namespace {

constexpr std::size_t kCacheLine = 64;
// A longer ring is followed by the processor's own stream prefetch.
constexpr std::size_t kMostLinesPerArray = 32;

void prefetch(const void *address) {
#if defined(__GNUC__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

void prefetchBytes(const void *start, std::size_t bytes) {
    const auto *byte = static_cast<const unsigned char *>(start);
    for (std::size_t at = 0; at < bytes; at += kCacheLine) prefetch(byte + at);
}

void prefetchArray(const double *values, int32_t length) {
    if (values == nullptr || length <= 0) return;
    const std::size_t bytes = static_cast<std::size_t>(length) * sizeof(double);
    prefetchBytes(values, bytes < kMostLinesPerArray * kCacheLine ? bytes : kMostLinesPerArray * kCacheLine);
}

SweepHint hintTo(const RegistryNode &node) {
    const ConvolutionRing &ring = node.basin.ring;
    return SweepHint{&node, node.name, ring.uhOrdinates.get(), ring.convolutionBuffer.get(), ring.uhLength};
}

bool carriesName(const RegistryNode *node, const char *name, std::size_t length) {
    return node != nullptr && node->nameKey.length == length && sameUpperCasedName(node->name, name, length);
}

void learnSweep(SweepMemory &memory, RegistryNode *found) {
    if (found == memory.last) return; // the same basin again teaches nothing about the sweep
    if (memory.last != nullptr) memory.last->foundNext = found;
    if (memory.lastButOne != nullptr && memory.lastButOne->sweepHint.node != found)
        memory.lastButOne->sweepHint = hintTo(*found);
    memory.lastButOne = memory.last;
    memory.last = found;
}

void prefetchHinted(const RegistryNode &found) {
    const SweepHint &hint = found.sweepHint;
    if (hint.node == nullptr || hint.node == &found) return;
    prefetchBytes(hint.node, sizeof(RegistryNode));
    prefetch(hint.name);
    prefetchArray(hint.ordinates, hint.length);
    prefetchArray(hint.slots, hint.length);
}

} // namespace

RegistryNode *expectedNode(const SweepMemory &memory, const char *name, std::size_t length) {
    if (memory.last == nullptr) return nullptr;
    if (carriesName(memory.last->foundNext, name, length)) return memory.last->foundNext;
    if (carriesName(memory.last, name, length)) return memory.last; // asked again (a step, then a query)
    return nullptr;
}

void followSweep(SweepMemory &memory, RegistryNode *found) {
    learnSweep(memory, found);
    prefetchHinted(*found);
}

} // namespace vesk
