// The run as an SVG chart a browser shows: rain as bars hanging from the top
// axis (its own scale on the right), each basin's outflow as a line, labelled
// axes with units and a legend.
#pragma once

#include <ostream>
#include <string>

#include "storm_run.h"

namespace vesk::tool {

using namespace vesk::host;

void writeHydrographSvg(std::ostream &out, const RunResult &result);

// Text safe inside an XML element or attribute: markup characters escaped,
// control characters and malformed UTF-8 replaced by '?'.
std::string xmlText(const std::string &text);

// Spacing of about `wanted` axis ticks over 0..`top`: 1, 2 or 5 times a power of ten.
double tickSpacing(double top, int wanted);

} // namespace vesk::tool
