// The run as an SVG chart a browser shows: rain as bars hanging from the top
// axis (its own scale on the right), each basin's outflow as a line, labelled
// axes with units and a legend.
#pragma once

#include <ostream>
#include <string>

#include "storm_run.h"
#include "text_escapes.h"

namespace vesk::tool {

using namespace vesk::host;

void writeHydrographSvg(std::ostream &out, const RunResult &result);

// Spacing of about `wanted` axis ticks over 0..`top`: 1, 2 or 5 times a power of ten.
double tickSpacing(double top, int wanted);

} // namespace vesk::tool
