// What a reader read, as plain lines ("step 5", "depths 0.1 0.25", "basin
// Plaza uh-step-given", "area 0.08", ...), every number the shortest text
// that reads back exactly and in the library's units.  `vesk check` prints
// it, so an engineer sees what a file gives before running it; it is also
// the form of the expected readings in the tests' input corpus.
#pragma once

#include <ostream>
#include <vector>

#include "basin_source.h"
#include "storm_file.h"

namespace vesk::host {

void writeReading(std::ostream &out, const Storm &storm);
void writeReading(std::ostream &out, const std::vector<BasinSource> &basins);

} // namespace vesk::host
