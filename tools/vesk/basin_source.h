// A basin as vesk reads it, from either of its two file forms: the positional
// basin file the library's own loader reads (a name and 22 numbers), read
// here strictly, and the CSV basin table (one basin per row, named columns).
// Values are converted to the library's units on reading; every value keeps
// the place it came from, so later checks can name file, line and column.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "units.h"
#include "veskdll133.h"

namespace vesk::tool {

// The longest basin name the library keeps, in bytes.
inline constexpr std::size_t kMaxBasinNameBytes = 255;

struct SourcePlace {
    int line = 0;
    int column = 0; // 1-based column of a basin table; 0 in a positional file
};

struct BasinSource {
    std::string path;
    std::string name;
    BasinInput record{};          // in the library's units; timeStep 0
    bool uhTimeStepGiven = false; // false: a table row leaves it to the run
    std::map<std::string, SourcePlace> places; // field name -> where its value stands

    // "path:line" or "path:line: column N (field)" for messages about `field`.
    std::string placeOf(const std::string &field) const;
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

} // namespace vesk::tool
