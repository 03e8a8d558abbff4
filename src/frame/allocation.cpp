#include "frame/allocation.h"

#include <cstdlib>

#include "frame/library_state.h"

namespace vesk {

namespace {
bool seamRefuses() {
    int64_t &countdown = libraryState().allocationsUntilFailure;
    if (countdown <= 0) return false;
    return --countdown == 0;
}
} // namespace

void *allocateZeroed(std::size_t bytes) {
    if (seamRefuses()) return nullptr;
    return std::calloc(1, bytes == 0 ? 1 : bytes);
}

void release(void *memory) { std::free(memory); }

void failAllocationNumber(int64_t n) { libraryState().allocationsUntilFailure = n > 0 ? n : 0; }

} // namespace vesk
