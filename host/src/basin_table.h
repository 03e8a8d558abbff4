// The CSV basin table: a header row of field names (case-insensitive, `name`
// first), then one basin per row.  An empty cell or the word "derive" in a
// derivable column (dcif, rpf, ct, cp, width50, width75, rise50Fraction,
// rise75Fraction) leaves the value to the library; optional columns may be
// absent.  Blank lines and lines whose first cell starts with '#' are skipped.
#pragma once

#include <string>
#include <vector>

#include "basin_source.h"

namespace vesk::host {

// Throws InputError naming file, line and column of the first fault.
std::vector<BasinSource> readBasinTable(const std::string &path, UnitSystem units);
std::vector<BasinSource> parseBasinTable(const std::vector<std::string> &lines, const std::string &path,
                                         UnitSystem units);

// The cells of one CSV line (RFC 4180 quoting: "a,b" and "say ""x"""), each
// unquoted and, outside quotes, trimmed.  Throws InputError for a quote left
// open at the end of the line.
std::vector<std::string> csvCells(const std::string &line, const std::string &path, int lineNumber);

} // namespace vesk::host
