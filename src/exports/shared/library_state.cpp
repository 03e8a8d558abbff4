#include "exports/shared/library_state.h"

namespace vesk {

LibraryState theLibraryState;

} // namespace vesk
