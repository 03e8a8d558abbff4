// The split of a flow path into its overland part, limited by a cut-off
// length, and the channel part that follows it.  Lengths in feet.
#pragma once

namespace vesk {

// The cut-off length: 500 ft · e^(-0.035 x).
double lengthCutoff(double x);

// The path up to the cut-off, or the whole path when it is shorter.
double overlandLength(double totalLength, double maxLength);

// What lies beyond the overland part, or 0 when nothing does.
double channelLength(double totalLength, double overlandLength);

} // namespace vesk
