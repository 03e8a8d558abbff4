// The earlier level driven through the exports a host hands over.  It never
// calls the earlier level's names (the current level exports the same ones),
// only the functions it is given, and fills the earlier level's records from
// the current level's.
#include "earlier_records.h"
#include "input_error.h"
#include "library_errors.h"
#include "library_level.h"

namespace vesk::host {

namespace {

EarlierBasinRecord earlierRecord(const BasinInput &r) {
    EarlierBasinRecord e{};
    e.area = r.area;
    e.length = r.length;
    e.centroidLength = r.centroidLength;
    e.imperviousPct = r.imperviousPct;
    e.eiaPct = r.eiaPct;
    e.slope = r.slope;
    e.perviousDepressionStorage = r.perviousDepressionStorage;
    e.imperviousDepressionStorage = r.imperviousDepressionStorage;
    e.initialInfiltrationRate = r.initialInfiltrationRate;
    e.finalInfiltrationRate = r.finalInfiltrationRate;
    e.infiltrationDecay = r.infiltrationDecay;
    e.disconnectionLevel = r.disconnectionLevel;
    e.dcif = r.dcif; // below 0 asks both levels for the derived value
    e.rpf = r.rpf;
    e.shape = EarlierShape{r.shape.ct, r.shape.cp, r.shape.width50, r.shape.width75,
                           r.shape.rise50Fraction, r.shape.rise75Fraction, r.shape.uhTimeStep, 0};
    return e;
}

BasinInput currentRecord(const EarlierBasinRecord &e) {
    BasinInput r{};
    r.area = e.area;
    r.length = e.length;
    r.centroidLength = e.centroidLength;
    r.imperviousPct = e.imperviousPct;
    r.eiaPct = e.eiaPct;
    r.slope = e.slope;
    r.timeStep = e.shape.uhTimeStep; // the earlier level steps in its unit-hydrograph step
    r.perviousDepressionStorage = e.perviousDepressionStorage;
    r.imperviousDepressionStorage = e.imperviousDepressionStorage;
    r.initialInfiltrationRate = e.initialInfiltrationRate;
    r.finalInfiltrationRate = e.finalInfiltrationRate;
    r.infiltrationDecay = e.infiltrationDecay;
    r.disconnectionLevel = e.disconnectionLevel;
    r.dcif = e.dcif;
    r.rpf = e.rpf;
    r.rpaShare = e.rpaShare;
    r.spaShare = e.spaShare;
    r.uhPeakTime = e.uhPeakTime;
    r.unitPeakRate = e.unitPeakRate;
    r.uhPeakRate = e.uhPeakRate;
    r.unitRunoffVolume = e.unitRunoffVolume;
    r.shape = ShapeParameters{e.shape.ct, e.shape.cp, e.shape.width50, e.shape.width75,
                              e.shape.rise50Fraction, e.shape.rise75Fraction, e.shape.uhTimeStep, 0};
    return r;
}

class EarlierLevel final : public LibraryLevel {
public:
    explicit EarlierLevel(const EarlierExports &exports) : x_(exports) {}

    void openFreshRegistry() const override {
        x_.free(); // clears a code a refusal left pending, which opening keeps
        x_.open(); // no handshake at this level
        check("opening the earlier-level library");
    }

    void addBasin(const BasinInput &record, const std::string &name, const std::string &source) const override {
        EarlierBasinRecord earlier = earlierRecord(record);
        x_.addbasin(&earlier, name.c_str());
        check(source + ": adding basin " + name);
    }

    void step(const std::string &name, double inches, int32_t target, double &outflow, double &excess) const override {
        outflow = x_.execute(name.c_str(), inches, target);
        check("stepping basin " + name + " to " + std::to_string(target) + " min");
        EarlierStepState state{};
        x_.getbasinPrecip(name.c_str(), &state);
        check("reading the step of basin " + name);
        excess = state.stepExcess();
    }

    bool clearPendingCode() const override { return false; } // only vesk_free clears a code here

    BasinInput prepared(const std::string &name) const override {
        EarlierBasinRecord record{};
        x_.getbasin(name.c_str(), &record);
        check("reading basin " + name);
        return currentRecord(record);
    }

    std::vector<double> unitHydrograph(const std::string &name) const override {
        const int32_t length = x_.getuhlength(name.c_str());
        if (length < 0) throw LibraryError("reading the unit hydrograph of " + name, x_.geterror());
        std::vector<double> ordinates;
        ordinates.reserve(static_cast<std::size_t>(length));
        for (int32_t i = 0; i < length; ++i) ordinates.push_back(x_.getuhordinatevalue(name.c_str(), i));
        check("reading the unit hydrograph of " + name);
        return ordinates;
    }

private:
    void check(const std::string &doing) const {
        const int32_t code = x_.geterror();
        if (code != 0) throw LibraryError(doing, code);
    }

    EarlierExports x_;
};

} // namespace

std::unique_ptr<LibraryLevel> earlierLevel(const EarlierExports &exports) {
    const void *functions[] = {reinterpret_cast<const void *>(exports.open),
                               reinterpret_cast<const void *>(exports.free),
                               reinterpret_cast<const void *>(exports.geterror),
                               reinterpret_cast<const void *>(exports.addbasin),
                               reinterpret_cast<const void *>(exports.getbasin),
                               reinterpret_cast<const void *>(exports.getbasinPrecip),
                               reinterpret_cast<const void *>(exports.getuhlength),
                               reinterpret_cast<const void *>(exports.getuhordinatevalue),
                               reinterpret_cast<const void *>(exports.execute)};
    for (const void *function : functions)
        if (function == nullptr) throw InputError("the earlier level's exports are incomplete (a null function)");
    return std::make_unique<EarlierLevel>(exports);
}

} // namespace vesk::host
