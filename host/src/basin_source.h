// A basin as vesk reads it, from either of its two file forms: the positional
// basin file the library's own loader reads (a name and 22 numbers), read
// here strictly, and the CSV basin table (one basin per row, named columns).
// Values are converted to the library's units on reading; every value keeps
// the place it came from, so later checks can name file, line and column.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "basin_names.h"
#include "units.h"
#include "veskdll133.h"

namespace vesk::host {

struct SourcePlace {
    int line = 0;
    int column = 0; // 1-based column of a basin table; 0 in a positional file
};

// Where each value of a basin stands, by field name ("name" for the name).
class SourcePlaces {
public:
    void set(std::string_view field, SourcePlace place);
    const SourcePlace *find(std::string_view field) const;

private:
    // At most 23 entries: a short list beats a map (one allocation a basin).
    std::vector<std::pair<std::string_view, SourcePlace>> places_;
};

struct BasinSource {
    std::string path;
    std::string name;
    BasinInput record{};          // in the library's units; timeStep 0
    bool uhTimeStepGiven = false; // false: a table row leaves it to the run
    SourcePlaces places;          // field names are the static names of basin_fields.h

    // "path:line" or "path:line: column N (field)" for messages about `field`.
    std::string placeOf(std::string_view field) const;
};

// The positional basin file: exactly a name token and 22 numbers separated by
// white space, real fields in plain decimal, the two integer fields in
// decimal digits.  Throws InputError naming the file and line of the first
// fault.  A file this reader accepts gives the record vesk_loadandadd stores.
BasinSource readBasinFile(const std::string &path, UnitSystem units);

// A basin table (a file whose name ends in .csv, any letter case) or a
// positional basin file, whichever `path` names.
std::vector<BasinSource> readBasinSources(const std::string &path, UnitSystem units);

bool isBasinTablePath(const std::string &path);

// Refuses the second of two basins whose names differ at most in letter case
// (the library would refuse it), naming both places.  Linear in the count.
void refuseRepeatedNames(const std::vector<BasinSource> &sources);

} // namespace vesk::host
