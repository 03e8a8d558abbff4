// Heap allocation for everything the library owns.  Going through one
// function lets the tests make the n-th allocation fail and check that every
// out-of-memory path reports code 3 and leaks nothing.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vesk {

// Returns zero-filled storage of `bytes` bytes, or null when the allocation
// fails (or the test seam makes it fail).
void *allocateZeroed(std::size_t bytes);
void release(void *memory);

// Releases what allocateZeroed gave, for owning pointers (std::unique_ptr).
struct Releaser {
    void operator()(void *memory) const { release(memory); }
};

template <class T> T *allocateArray(std::size_t count) {
    if (count > SIZE_MAX / sizeof(T)) return nullptr;
    return static_cast<T *>(allocateZeroed(count * sizeof(T)));
}

// Test seam: the n-th allocation from now fails (n >= 1); 0 turns it off.
void failAllocationNumber(int64_t n);

} // namespace vesk
