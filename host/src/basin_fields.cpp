#include "basin_fields.h"

#include <cmath>

namespace vesk::host {

namespace {

constexpr double kNotDerivable = NAN;

#define VESK_REAL_FIELD(member) \
    [](BasinInput &r, double v) { r.member = v; }, [](const BasinInput &r) { return static_cast<double>(r.member); }
#define VESK_INTEGER_FIELD(member) \
    [](BasinInput &r, double v) { r.member = static_cast<int32_t>(v); }, \
        [](const BasinInput &r) { return static_cast<double>(r.member); }

const BasinField kFields[] = {
    {"area", Quantity::Area, false, true, kNotDerivable, VESK_REAL_FIELD(area), "basin area"},
    {"length", Quantity::Length, false, true, kNotDerivable, VESK_REAL_FIELD(length), "flow length"},
    {"centroidLength", Quantity::Length, false, true, kNotDerivable, VESK_REAL_FIELD(centroidLength),
     "length to the centroid"},
    {"imperviousPct", Quantity::Unchanged, false, true, kNotDerivable, VESK_REAL_FIELD(imperviousPct),
     "imperviousness"},
    {"slope", Quantity::Unchanged, false, true, kNotDerivable, VESK_REAL_FIELD(slope), "slope"},
    {"imperviousDepressionStorage", Quantity::Depth, false, true, kNotDerivable,
     VESK_REAL_FIELD(imperviousDepressionStorage), "impervious depression storage"},
    {"perviousDepressionStorage", Quantity::Depth, false, true, kNotDerivable,
     VESK_REAL_FIELD(perviousDepressionStorage), "pervious depression storage"},
    {"initialInfiltrationRate", Quantity::Rate, false, true, kNotDerivable, VESK_REAL_FIELD(initialInfiltrationRate),
     "initial infiltration rate"},
    {"finalInfiltrationRate", Quantity::Rate, false, true, kNotDerivable, VESK_REAL_FIELD(finalInfiltrationRate),
     "final infiltration rate"},
    {"infiltrationDecay", Quantity::Unchanged, false, true, kNotDerivable, VESK_REAL_FIELD(infiltrationDecay),
     "infiltration decay"},
    {"disconnectionLevel", Quantity::Unchanged, true, false, kNotDerivable, VESK_INTEGER_FIELD(disconnectionLevel),
     "disconnection level"},
    {"eiaPct", Quantity::Unchanged, false, false, kNotDerivable, VESK_REAL_FIELD(eiaPct),
     "effective imperviousness (carried through)"},
    {"uhTimeStep", Quantity::Unchanged, true, false, kNotDerivable, VESK_INTEGER_FIELD(shape.uhTimeStep),
     "unit-hydrograph step"},
    {"dcif", Quantity::Unchanged, false, false, -1.0, VESK_REAL_FIELD(dcif), "directly connected fraction"},
    {"rpf", Quantity::Unchanged, false, false, -1.0, VESK_REAL_FIELD(rpf), "receiving pervious fraction"},
    {"ct", Quantity::Unchanged, false, false, 0.0, VESK_REAL_FIELD(shape.ct), "time-to-peak coefficient"},
    {"cp", Quantity::Unchanged, false, false, 0.0, VESK_REAL_FIELD(shape.cp), "peak coefficient"},
    {"width50", Quantity::Unchanged, false, false, 0.0, VESK_REAL_FIELD(shape.width50), "width at 50 % of the peak"},
    {"width75", Quantity::Unchanged, false, false, 0.0, VESK_REAL_FIELD(shape.width75), "width at 75 % of the peak"},
    {"rise50Fraction", Quantity::Unchanged, false, false, 0.0, VESK_REAL_FIELD(shape.rise50Fraction),
     "rising share of width50"},
    {"rise75Fraction", Quantity::Unchanged, false, false, 0.0, VESK_REAL_FIELD(shape.rise75Fraction),
     "rising share of width75"},
};
constexpr std::size_t kFieldCount = sizeof kFields / sizeof kFields[0];

const BasinField kRpaShare{"rpaShare", Quantity::Unchanged, false, false, kNotDerivable, VESK_REAL_FIELD(rpaShare),
                           "carried, unused"};
const BasinField kSpaShare{"spaShare", Quantity::Unchanged, false, false, kNotDerivable, VESK_REAL_FIELD(spaShare),
                           "carried, unused"};

#undef VESK_REAL_FIELD
#undef VESK_INTEGER_FIELD

const BasinField &field(std::string_view name) { return *findBasinField(name); }

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

} // namespace

bool derivable(const BasinField &field) { return !std::isnan(field.deriveWith); }

const BasinField *basinFields(std::size_t &count) {
    count = kFieldCount;
    return kFields;
}

const BasinField *findBasinField(std::string_view name) {
    for (const BasinField &f : kFields)
        if (sameIgnoringCase(f.name, name)) return &f;
    return nullptr;
}

const BasinField *const *positionalFields(std::size_t &count) {
    static const BasinField *const order[] = {
        &field("area"), &field("disconnectionLevel"), &field("centroidLength"), &field("dcif"),
        &field("imperviousPct"), &field("length"), &kRpaShare, &field("rpf"),
        &kSpaShare, &field("slope"),
        &field("imperviousDepressionStorage"), &field("perviousDepressionStorage"),
        &field("initialInfiltrationRate"), &field("infiltrationDecay"), &field("finalInfiltrationRate"),
        &field("cp"), &field("ct"), &field("rise50Fraction"), &field("rise75Fraction"),
        &field("uhTimeStep"), &field("width50"), &field("width75"),
    };
    count = sizeof order / sizeof order[0];
    return order;
}

std::string knownFieldNames() {
    std::string names = "name";
    for (const BasinField &f : kFields) names += std::string(", ") + f.name;
    return names;
}

} // namespace vesk::host
