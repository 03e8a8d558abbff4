#include "frame/library_state.h"

namespace vesk {

LibraryState theLibraryState;

} // namespace vesk
