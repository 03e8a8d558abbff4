// The process-wide state of a loaded library: the basin registry and the
// error code.  Exactly one LibraryState exists per library
// (library_state.cpp).  Only the exports (src/exports/) include this header:
// they alone read or set the error code and reach the registry through it;
// everything below them receives what it works on as arguments and reports
// back through its return value.
#pragma once

#include <cstdint>

#include "base/status.h"

namespace vesk {

struct BasinRegistry;

struct LibraryState {
    BasinRegistry *registry{}; // absent until vesk_open, again after vesk_free
    int32_t errorCode{};       // 0 = no failure pending
};

// The one LibraryState, defined in library_state.cpp and constant-initialised
// (no constructor runs before a host's first call).
extern LibraryState theLibraryState;

inline LibraryState &libraryState() { return theLibraryState; }

inline int32_t errorCode() { return libraryState().errorCode; }
inline void setErrorCode(int32_t code) { libraryState().errorCode = code; }

// Sets the code of a failed status; Ok leaves the pending code alone.
inline void reportStatus(Status status) {
    if (status != Status::Ok) setErrorCode(static_cast<int32_t>(status));
}

// A null pointer from the host (a name, a record, a destination, a path or a
// stamp) sets `code` only when no code is pending.  A pending code stays, so
// a host whose version is still unconfirmed (7) can clear it with a matching
// stamp instead of being stuck until vesk_free.
inline void reportNullPointer(int32_t code) {
    if (errorCode() == 0) setErrorCode(code);
}

// Reports a lookup of `name`: a null name as any null pointer, every other
// failure (no registry, no such basin) as it is.
inline void reportLookup(const char *name, Status status) {
    if (name == nullptr)
        reportNullPointer(static_cast<int32_t>(Status::NullArgument));
    else
        reportStatus(status);
}

} // namespace vesk
