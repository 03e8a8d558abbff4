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

// A storm: its step, unit ("in", "mm", or "in/h" and "mm/h" for intensities),
// the start of a dated record, the dry steps put in for gaps, its depths.
void writeReading(std::ostream &out, const Storm &storm);
// Each storm of a set; a set that names its storms leads each with its name.
void writeReading(std::ostream &out, const StormSet &storms);
void writeReading(std::ostream &out, const std::vector<BasinSource> &basins);

} // namespace vesk::host
