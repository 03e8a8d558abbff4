// What the opaque handles of the C interface hold, and the one guard every
// call runs its work in: it turns the core's exceptions into a status.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_set>
#include <vector>

#include "basin_source.h"
#include "library_level.h"
#include "run_session.h"
#include "storm_events.h"
#include "storm_file.h"
#include "storm_run.h"
#include "vesk_host.h"
#include "warnings.h"

struct VeskHostWarnings {
    vesk::host::Warnings items;
};

struct VeskHostStorm {
    vesk::host::Storm storm;
};

struct VeskHostStormSet {
    std::vector<vesk::host::NamedStorm> storms;
    bool named = false;
};

struct VeskHostEvents {
    std::vector<vesk::host::StormEvent> events;
};

struct VeskHostBasins {
    std::vector<vesk::host::BasinSource> sources;
    std::unordered_set<std::string> comparedNames; // as the library compares them
};

struct VeskHostRun {
    vesk::host::RunResult result;
};

struct VeskHostStormRuns {
    std::vector<std::string> names;
    std::vector<VeskHostRun> runs; // not resized once made: the queries hold pointers to them
};

struct VeskHostSession {
    std::unique_ptr<vesk::host::LibraryLevel> earlier; // null: the current level
    std::unique_ptr<vesk::host::RunSession> session;
    bool failed = false;
};

namespace vesk::host::c_interface {

// A fault of the calling program (a null pointer, an index out of range).
class ArgumentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs `work`, filling `status` (which may be null) with what happened;
// returns its code.
int32_t guarded(VeskHostStatus *status, const std::function<void()> &work);

// Throws ArgumentError naming `what` when `pointer` is null.
void require(const void *pointer, const char *what);

// `units` as a unit system; FROM_FILE only where `fromFileAllowed`.
UnitSystem unitsArgument(int32_t units);

// The level the options choose: null for the current one, else the earlier
// level through its exports (held by the returned pointer).
std::unique_ptr<LibraryLevel> chosenLevel(const VeskHostRunOptions *options);
// The same for the exports themselves (null: the current level).
std::unique_ptr<LibraryLevel> levelOf(const VeskHostEarlierLevel *earlier);

// Copies min(values.size(), capacity) values into `out` (which may be null
// when capacity is 0); returns values.size().
std::size_t copyOut(const double *values, std::size_t count, double *out, std::size_t capacity);

} // namespace vesk::host::c_interface
