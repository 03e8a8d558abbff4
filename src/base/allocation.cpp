#include "base/allocation.h"

#include <cstdlib>

namespace vesk {

namespace {

// The test seam's countdown: > 0 makes that allocation fail.  It is the
// seam's own, not part of the library's state: only the tests set it, and
// nothing but allocateZeroed reads it.
int64_t allocationsUntilFailure = 0;

bool seamRefuses() {
    if (allocationsUntilFailure <= 0) return false;
    return --allocationsUntilFailure == 0;
}

} // namespace

void *allocateZeroed(std::size_t bytes) {
    if (seamRefuses()) return nullptr;
    return std::calloc(1, bytes == 0 ? 1 : bytes);
}

void release(void *memory) { std::free(memory); }

void failAllocationNumber(int64_t n) { allocationsUntilFailure = n > 0 ? n : 0; }

} // namespace vesk
