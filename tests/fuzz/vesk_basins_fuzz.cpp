// vesk's basin readers: any bytes as a positional basin file or as a CSV
// basin table, read in US customary or SI units.  Whatever a reader accepts
// must be a basin vesk can hand to the library: a name of 1 to 255 bytes
// (unique in a table, free of blanks in a positional file), every value
// finite, and, once vesk's physical checks pass, every value inside the
// ranges they state.  The unit system only scales values: both systems
// accept the same files, and values without a unit read the same in both.
//
// First byte: 'b' basin file in US units, 'B' in SI; 't' basin table in US
// units, 'T' in SI.
#include <cctype>
#include <cmath>
#include <optional>
#include <vector>

#include "basin_checks.h"
#include "basin_fields.h"
#include "basin_source.h"
#include "input_error.h"
#include "tool_fuzz_support.h"

namespace {

using vesk::host::BasinField;
using vesk::host::BasinSource;
using vesk::host::UnitSystem;

std::optional<std::vector<BasinSource>> read(const std::string &path, UnitSystem units) {
    try {
        return vesk::host::readBasinSources(path, units);
    } catch (const vesk::host::InputError &) {
        return std::nullopt;
    }
}

bool sameIgnoringCase(const std::string &a, const std::string &b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

void checkNames(const std::vector<BasinSource> &sources, bool positional) {
    if (sources.empty()) fuzz::broken("a reader accepted a file without basins");
    if (positional && sources.size() != 1) fuzz::broken("a basin file gave several basins", sources.size());
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const std::string &name = sources[i].name;
        if (name.empty() || name.size() > vesk::host::kMaxBasinNameBytes)
            fuzz::broken("accepted name of 0 or more than 255 bytes", name.size());
        if (name.find('\0') != std::string::npos) fuzz::broken("accepted name holding a NUL byte");
        if (positional && name.find_first_of(" \t\r\n\v\f") != std::string::npos)
            fuzz::broken("accepted positional name holding a blank");
        for (std::size_t j = 0; j < i; ++j)
            if (sameIgnoringCase(sources[j].name, name)) fuzz::broken("accepted a table naming a basin twice");
    }
}

// Every value either reader stores, with the two the positional file carries.
std::vector<const BasinField *> allFields() {
    std::size_t count = 0;
    const BasinField *fields = vesk::host::basinFields(count);
    std::vector<const BasinField *> all;
    for (std::size_t i = 0; i < count; ++i) all.push_back(&fields[i]);
    const BasinField *const *positional = vesk::host::positionalFields(count);
    for (std::size_t i = 0; i < count; ++i)
        if (vesk::host::findBasinField(positional[i]->name) == nullptr) all.push_back(positional[i]);
    return all;
}

void checkValues(const BasinSource &source) {
    for (const BasinField *field : allFields())
        if (!std::isfinite(field->load(source.record)))
            fuzz::broken(std::string("accepted a non-finite ") + field->name, field->load(source.record));
    if (source.record.timeStep != 0.0) fuzz::broken("a reader set the run's time step", source.record.timeStep);
}

// The ranges vesk's checks promise for a basin they let through.
void checkRanges(const BasinSource &source, UnitSystem units) {
    try {
        vesk::host::checkBasin(source, units);
    } catch (const vesk::host::InputError &) {
        return;
    }
    const BasinInput &r = source.record;
    for (double value : {r.area, r.length, r.centroidLength, r.imperviousDepressionStorage,
                         r.perviousDepressionStorage, r.initialInfiltrationRate, r.finalInfiltrationRate,
                         r.infiltrationDecay})
        if (value < 0.0) fuzz::broken("checks passed a negative size, storage or rate", value);
    if (r.imperviousPct < 0.0 || r.imperviousPct > 100.0) fuzz::broken("checks passed imperviousPct", r.imperviousPct);
    if (r.disconnectionLevel < 0 || r.disconnectionLevel > 2)
        fuzz::broken("checks passed disconnectionLevel", r.disconnectionLevel);
    if (r.dcif > 1.0 || r.rpf > 1.0) fuzz::broken("checks passed a fraction above 1", std::fmax(r.dcif, r.rpf));
    if (r.finalInfiltrationRate > r.initialInfiltrationRate)
        fuzz::broken("checks passed a final rate above the initial", r.finalInfiltrationRate);
}

// The same file in the other unit system: accepted alike, same names, and
// the values without a unit unchanged.
void checkOtherUnits(const std::vector<BasinSource> &sources, const std::optional<std::vector<BasinSource>> &other) {
    if (!other) fuzz::broken("a file accepted in one unit system was refused in the other");
    if (other->size() != sources.size()) fuzz::broken("the unit system changed the number of basins");
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if ((*other)[i].name != sources[i].name) fuzz::broken("the unit system changed a basin's name");
        for (const BasinField *field : allFields())
            if (field->quantity == vesk::host::Quantity::Unchanged &&
                field->load((*other)[i].record) != field->load(sources[i].record))
                fuzz::broken(std::string("the unit system changed ") + field->name, field->load(sources[i].record));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
    if (size == 0) return 0;
    const int chosen = fuzz::mode(bytes[0], "bBtT", 4);
    const bool positional = chosen < 2;
    const UnitSystem units = chosen % 2 == 0 ? UnitSystem::Us : UnitSystem::Si;
    const UnitSystem otherUnits = units == UnitSystem::Us ? UnitSystem::Si : UnitSystem::Us;
    const std::string path = fuzz::scratchFile("basins", positional ? ".basin" : ".csv", bytes + 1, size - 1);

    const std::optional<std::vector<BasinSource>> sources = read(path, units);
    const std::optional<std::vector<BasinSource>> other = read(path, otherUnits);
    if (!sources) {
        if (other) fuzz::broken("a file refused in one unit system was accepted in the other");
        return 0;
    }
    checkNames(*sources, positional);
    for (const BasinSource &source : *sources) {
        checkValues(source);
        checkRanges(source, units);
    }
    checkOtherUnits(*sources, other);
    return 0;
}
