// The basin values vesk reads, by the names of the library's BasinInput and
// ShapeParameters fields: what each measures and how it is stored.  Both basin
// readers (the positional file and the CSV table) and the checks use it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "units.h"
#include "veskdll133.h"

namespace vesk::host {

struct BasinField {
    const char *name;
    Quantity quantity;
    bool integer;      // a whole number (disconnectionLevel, uhTimeStep)
    bool required;     // must have a value in every row of a basin table
    double deriveWith; // stored for "derive": -1 for dcif/rpf, 0 for shape values; NaN when not derivable
    void (*store)(BasinInput &record, double value);
    double (*load)(const BasinInput &record);
    const char *meaning; // a few words for messages and listings
};

bool derivable(const BasinField &field);

// Every field of the table, `name` aside, in the order the README lists them.
const BasinField *basinFields(std::size_t &count);

// The field of that name (ASCII case-insensitive), or null.
const BasinField *findBasinField(std::string_view name);

// The 22 values of the positional basin file in file order (rpaShare and
// spaShare, carried but never used, included).
const BasinField *const *positionalFields(std::size_t &count);

// "area, length, ..." for a message listing the known names.
std::string knownFieldNames();

} // namespace vesk::host
