// What an internal step reports back up the call chain.  Only the export
// functions turn a status into the process-wide error code; the values are
// those of the public codes so the translation is a plain cast.
#pragma once

#include <cstdint>

namespace vesk {

enum class Status : int32_t {
    Ok = 0,
    BasinNotFound = 1,  // no basin under the name
    CannotBuild = 2,    // the unit hydrograph cannot be built
    NoMemory = 3,       // an allocation failed
    NullArgument = 5,   // no registry or a null name
    DuplicateName = 6,  // a basin is already stored under the name
};

} // namespace vesk
