#include "basin_checks.h"

#include "basin_fields.h"
#include "input_error.h"
#include "number_text.h"

namespace vesk::host {

namespace {

class BasinChecker {
public:
    BasinChecker(const BasinSource &source, UnitSystem units) : source_(source), units_(units) {}

    // The value as the file gave it, with its unit.
    std::string given(const char *name) const {
        const BasinField &field = *findBasinField(name);
        const double value = fromLibraryUnits(field.load(source_.record), field.quantity, units_);
        const std::string unit = unitName(field.quantity, units_);
        return exactText(value) + (unit.empty() ? "" : " " + unit);
    }

    [[noreturn]] void refuse(const char *name, const std::string &allowed) const {
        throw InputError(source_.placeOf(name) + ": basin " + source_.name + ": " + name + " " + given(name) +
                         " is impossible; allowed: " + allowed);
    }

    void atLeastZero(const char *name) const {
        if (findBasinField(name)->load(source_.record) < 0.0) refuse(name, "0 or more");
    }

    void warn(const char *name, const std::string &why) {
        warnings_.push_back(Warning{WarningCause::UnusualValue, source_.name,
                                    source_.placeOf(name) + ": basin " + source_.name + ": " + name + " " +
                                        given(name) + " " + why,
                                    std::string(name) + " " + given(name)});
    }

    Warnings run() {
        const BasinInput &r = source_.record;
        for (const char *name : {"area", "length", "centroidLength", "imperviousDepressionStorage",
                                 "perviousDepressionStorage", "initialInfiltrationRate", "finalInfiltrationRate",
                                 "infiltrationDecay"})
            atLeastZero(name);
        if (r.imperviousPct < 0.0 || r.imperviousPct > 100.0) refuse("imperviousPct", "0 to 100 %");
        if (r.disconnectionLevel < 0 || r.disconnectionLevel > 2) refuse("disconnectionLevel", "0, 1 or 2");
        if (r.dcif > 1.0) refuse("dcif", "0 to 1, or below 0 (or derive) for the library's value");
        if (r.rpf > 1.0) refuse("rpf", "0 to 1, or below 0 (or derive) for the library's value");
        if (r.finalInfiltrationRate > r.initialInfiltrationRate)
            refuse("finalInfiltrationRate", "at most the initialInfiltrationRate " + given("initialInfiltrationRate"));
        if (r.slope > kUnusualSlope) warn("slope", "is unusually steep (above " + exactText(kUnusualSlope) + ")");
        if (r.area > kUnusualAreaSqMi)
            warn("area", "is unusually large for one basin (above " +
                             fixedText(fromLibraryUnits(kUnusualAreaSqMi, Quantity::Area, units_), 1) + " " +
                             unitName(Quantity::Area, units_) + ")");
        return warnings_;
    }

private:
    const BasinSource &source_;
    UnitSystem units_;
    Warnings warnings_;
};

} // namespace

Warnings checkBasin(const BasinSource &source, UnitSystem units) {
    return BasinChecker(source, units).run();
}

std::vector<BasinSource> readCheckedBasins(const std::vector<std::string> &paths, UnitSystem units,
                                           Warnings &warnings) {
    std::vector<BasinSource> sources;
    for (const std::string &path : paths)
        for (BasinSource &source : readBasinSources(path, units)) sources.push_back(std::move(source));
    for (const BasinSource &source : sources)
        for (Warning &w : checkBasin(source, units)) warnings.push_back(std::move(w));
    return sources;
}

} // namespace vesk::host
