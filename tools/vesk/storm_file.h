// The storm file: rain depths per time step as CSV with an optional header,
// either "time,depth" rows (time at the end of the interval, minutes) or one
// depth per row.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "units.h"

namespace vesk::tool {

// The longest stretch of time vesk simulates, minutes (about 694 days): it
// bounds the series kept in memory and keeps every step's end time well inside
// the library's 32-bit clock.
inline constexpr int kMaxRunMinutes = 1000000;

// The largest depth one step may hold, inches: far above any recorded
// rainfall, it stops a unit slip (or a damaged file) from running at all.
inline constexpr double kMaxStepDepthInches = 100.0;

// The deepest step the library takes, inches: it refuses a deeper one (no
// step, no outflow), which a storm summed into longer steps can reach.
inline constexpr double kMaxLibraryStepDepthInches = 1000.0;

struct Storm {
    std::string path;
    int stepMinutes = 0;        // step the file's times give; 0 for a one-column file
    std::vector<double> depths; // inches per step; step k ends at (k + 1) x step
    UnitSystem units = UnitSystem::Us; // the unit the file's depths were read in
};

// Reads and checks a storm file; throws InputError naming the file and line
// of the first fault (missing file, a value that is not a finite number, a
// negative depth, times that do not increase in equal whole-minute steps,
// rows of different width, no depths at all, times beyond kMaxRunMinutes).
// A UTF-8 byte-order mark at the start of the file is skipped.  Depths are in
// inches, or millimetres with `units` Si; a header naming the depth column
// depth_in or depth_mm fixes the unit itself, and one that contradicts
// `units` is refused.  Depths above kMaxStepDepthInches are refused.
Storm readStorm(const std::string &path, std::optional<UnitSystem> units = std::nullopt);
Storm parseStorm(std::istream &in, const std::string &path, std::optional<UnitSystem> units = std::nullopt);

// The storm in steps of `step` minutes: each depth split evenly over finer
// steps, or consecutive depths summed into coarser ones (the last padded with
// dry steps).  Throws InputError when neither step divides the other.
Storm resampled(const Storm &storm, int step);

} // namespace vesk::tool
