#include "library_level.h"

#include "library_errors.h"
#include "library_session.h"

namespace vesk::host {

namespace {

class CurrentLevel final : public LibraryLevel {
public:
    void openFreshRegistry() const override { host::openFreshRegistry(); }

    void addBasin(const BasinInput &record, const std::string &name, const std::string &source) const override {
        BasinInput copy = record; // the library writes snapped values back
        host::addBasin(copy, name, source);
    }

    void step(const std::string &name, double inches, int32_t target, double &outflow, double &excess) const override {
        outflow = vesk_execute(name.c_str(), inches, target);
        int32_t code = vesk_geterror();
        if (code != VESK_OK)
            throw LibraryError("stepping basin " + name + " to " + std::to_string(target) + " min", code);
        PrecipState state{};
        vesk_getbasin_precip(name.c_str(), &state);
        code = vesk_geterror();
        if (code != VESK_OK) throw LibraryError("reading the step of basin " + name, code);
        excess = state.stepExcess;
    }

    bool clearPendingCode() const override {
        host::clearPendingCode();
        return vesk_geterror() == VESK_OK;
    }

    bool stepsToTarget() const override { return true; }

    BasinInput prepared(const std::string &name) const override { return preparedBasin(name); }

    std::vector<double> unitHydrograph(const std::string &name) const override {
        return host::unitHydrograph(name);
    }
};

} // namespace

const LibraryLevel &currentLevel() {
    static const CurrentLevel level;
    return level;
}

} // namespace vesk::host
