// The library a run drives.  The host core links the current level and calls
// it directly; a host that loaded the earlier level hands over its exports
// (the earlier level has its own record, step block and error codes 0 to 6,
// and takes exactly one step of uhTimeStep minutes per call).  A run sets
// the unit-hydrograph step to its own step, so the two step alike.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "veskdll133.h"

namespace vesk::host {

class LibraryLevel {
public:
    virtual ~LibraryLevel() = default;

    // A fresh registry, ready for basins: no code pending, the handshake done
    // where there is one.
    virtual void openFreshRegistry() const = 0;
    // Stores `record` (the current level's record; converted where needed)
    // under `name`; throws LibraryError naming `source` on a refusal.
    virtual void addBasin(const BasinInput &record, const std::string &name, const std::string &source) const = 0;
    // One step of `inches` ending at `target` minutes: the outflow in cfs
    // and the step's excess depth in inches.  Throws LibraryError.
    virtual void step(const std::string &name, double inches, int32_t target, double &outflow,
                      double &excess) const = 0;
    // Whether one call takes every step of the basin's step up to its target
    // (the current level), rather than exactly one (the earlier level).
    virtual bool stepsToTarget() const = 0;
    // Clears the code a refusal left pending and keeps every stored basin;
    // false when the level cannot (then only a fresh registry clears it).
    virtual bool clearPendingCode() const = 0;
    // The prepared parameters in the current level's record.
    virtual BasinInput prepared(const std::string &name) const = 0;
    virtual std::vector<double> unitHydrograph(const std::string &name) const = 0;
};

// The current level, linked in.
const LibraryLevel &currentLevel();

// The exports of the earlier level a host loaded, as plain C functions (on
// the platforms the core is built for, the levels' exports use the C
// convention).  Records travel as the earlier level's own bytes.
struct EarlierExports {
    void (*open)(void);
    void (*free)(void);
    int32_t (*geterror)(void);
    void (*addbasin)(void *record, const char *name);
    void (*getbasin)(const char *name, void *record);
    void (*getbasinPrecip)(const char *name, void *stepState);
    int32_t (*getuhlength)(const char *name);
    double (*getuhordinatevalue)(const char *name, int32_t index);
    double (*execute)(const char *name, double rain, int32_t target);
};

// The earlier level through `exports`; throws InputError when one is missing.
std::unique_ptr<LibraryLevel> earlierLevel(const EarlierExports &exports);

} // namespace vesk::host
