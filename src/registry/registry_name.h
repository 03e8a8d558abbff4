// A name as the registry's index sees it: its length and a 64-bit key of its
// upper-cased bytes, and the comparison of a stored (upper-cased) name with a
// name in any letter case.  Both work eight bytes at a time, so a lookup
// costs a few instructions per eight characters instead of several per one.
// Defined here so that the lookup inlines them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vesk {

struct IndexKey {
    std::size_t length; // bytes before the terminating NUL
    uint64_t key;       // hash of the upper-cased bytes and the length
};

namespace name_bytes {

inline constexpr uint64_t kEveryByte = 0x0101010101010101ull;
inline constexpr uint64_t kHighBits = 0x8080808080808080ull;
inline constexpr uint64_t kMixFactor = 0x9E3779B97F4A7C15ull; // 2^64 / golden ratio, odd
inline constexpr std::size_t kChunk = 8;

// The eight bytes with ASCII a..z upper-cased and every other byte (128-255
// included) unchanged.  Each byte's high bit tells whether its low seven bits
// are at least 'a' and whether they are beyond 'z'; the sums never carry into
// the next byte.
inline uint64_t upperCasedBytes(uint64_t bytes) {
    const uint64_t low7 = bytes & ~kHighBits;
    const uint64_t atLeastA = low7 + kEveryByte * (0x80 - 'a');
    const uint64_t beyondZ = low7 + kEveryByte * (0x80 - 'z' - 1);
    const uint64_t lowerCase = atLeastA & ~beyondZ & ~bytes & kHighBits;
    return bytes - (lowerCase >> 2); // 0x80 >> 2 is the 0x20 between the cases
}

inline uint64_t loaded(const char *bytes, std::size_t count) {
    uint64_t word = 0;
    std::memcpy(&word, bytes, count);
    return word;
}

// The word of a name of `length` bytes at `offset` (a multiple of eight below
// `length`): eight bytes where they remain, else the last eight bytes of a
// longer name, else two overlapping four-byte halves, else the first, middle
// and last byte.  Every byte lies in some word, so two names of the same
// length are equal exactly when all their words are.
inline uint64_t wordAt(const char *name, std::size_t offset, std::size_t length) {
    if (length - offset >= kChunk) return loaded(name + offset, kChunk);
    if (length >= kChunk) return loaded(name + length - kChunk, kChunk);
    if (length >= 4) return loaded(name, 4) | loaded(name + length - 4, 4) << 32;
    return loaded(name, 1) | loaded(name + length / 2, 1) << 8 | loaded(name + length - 1, 1) << 16;
}

inline uint64_t mixed(uint64_t key, uint64_t bytes) {
    key = (key ^ bytes) * kMixFactor;
    return key ^ (key >> 29);
}

} // namespace name_bytes

// The key of `name` (`length` bytes before its NUL, any letter case).  Names that are equal
// after upper-casing ASCII a..z have equal keys.
inline IndexKey indexKey(const char *name, std::size_t length) {
    uint64_t key = name_bytes::mixed(0, length);
    for (std::size_t offset = 0; offset < length; offset += name_bytes::kChunk)
        key = name_bytes::mixed(key, name_bytes::upperCasedBytes(name_bytes::wordAt(name, offset, length)));
    return IndexKey{length, name_bytes::mixed(key, 0)};
}

// The same for a name whose length is not known yet.
inline IndexKey indexKey(const char *name) { return indexKey(name, std::strlen(name)); }

// The slot of a key in an index of `indexSize` slots, a power of two.
inline std::size_t indexSlot(uint64_t key, std::size_t indexSize) {
    return static_cast<std::size_t>(key) & (indexSize - 1);
}

// Whether `name` upper-cased is `stored`; both have `length` bytes.
inline bool sameUpperCasedName(const char *stored, const char *name, std::size_t length) {
    for (std::size_t offset = 0; offset < length; offset += name_bytes::kChunk)
        if (name_bytes::wordAt(stored, offset, length) !=
            name_bytes::upperCasedBytes(name_bytes::wordAt(name, offset, length)))
            return false;
    return true;
}

} // namespace vesk
