#include "frame/library_state.h"

namespace vesk {

LibraryState &libraryState() {
    static LibraryState state;
    return state;
}

} // namespace vesk
