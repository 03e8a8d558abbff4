// A negative dcif or rpf in a basin file asks for the fraction from the
// method's relations.  The library splits the basin before it fills in
// defaults, and that split snaps a negative fraction to 0 wherever the part
// it divides exists, so the request would end as the floor 0.00001 (almost no
// directly connected impervious area, or almost no receiving pervious area).
// The tool therefore answers such a request itself, with the library's own
// calculators and the levels the library's defaults step would use, before
// adding the basin.
#pragma once

#include <string>
#include <vector>

#include "basin_source.h"

namespace vesk::tool {

// Replaces a negative dcif or rpf of the record by the relation's value;
// returns one note per replaced fraction, for the user.
std::vector<std::string> fillFractionRequests(BasinSource &source);

} // namespace vesk::tool
