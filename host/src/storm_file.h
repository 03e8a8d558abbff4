// The storm file: rain per time step as CSV with an optional header, either
// "time,depth" rows (time at the end of the interval) or one depth per row.
// A header names the units: time_min or time_h for the time column, depth_in
// or depth_mm for the depths; a column called time_... or depth_... with any
// other unit word is refused.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "depth_series.h"
#include "units.h"

namespace vesk::host {

// The longest stretch of time a run simulates, minutes (about 694 days): it
// bounds the series kept in memory and keeps every step's end time well inside
// the library's 32-bit clock.
inline constexpr int kMaxRunMinutes = 1000000;

// The largest depth one step may hold, inches: far above any recorded
// rainfall, it stops a unit slip (or a damaged file) from running at all.
inline constexpr double kMaxStepDepthInches = 100.0;

struct Storm {
    std::string path;
    int stepMinutes = 0;  // step the file's times give; 0 for a one-column file
    DepthSeries depths;   // inches per step; step k ends at (k + 1) x step
    UnitSystem units = UnitSystem::Us; // the unit the file's depths were read in
};

// Reads and checks a storm file; throws InputError naming the file and line
// of the first fault (missing file, a value that is not a finite number, a
// negative depth, times that do not increase in equal whole-minute steps,
// rows of different width, no depths at all, times beyond kMaxRunMinutes, an
// unknown unit in the header).  A UTF-8 byte-order mark at the start of the
// file is skipped.  Depths are in inches, or millimetres with `units` Si; a
// header naming depth_in or depth_mm fixes the unit itself, and one that
// contradicts `units` is refused.  Depths above kMaxStepDepthInches are
// refused.  "-" reads standard input.
Storm readStorm(const std::string &path, std::optional<UnitSystem> units = std::nullopt);
Storm parseStorm(std::istream &in, const std::string &path, std::optional<UnitSystem> units = std::nullopt);
Storm parseStormText(const std::string &text, const std::string &path,
                     std::optional<UnitSystem> units = std::nullopt);

// A storm of depths in inches (one per step of `stepMinutes`, 0 when not
// known) given by a program rather than a file, with the checks a file's
// depths get; `origin` names it in messages.
Storm stormOfDepths(const std::vector<double> &inches, int stepMinutes, const std::string &origin);

// The check every depth gets: a finite number of inches from 0 to
// kMaxStepDepthInches.
inline bool stepDepthAllowed(double inches) { return inches >= 0.0 && inches <= kMaxStepDepthInches; }

// Throws InputError naming `place` ("file:line") when the depth is not allowed.
void checkStepDepth(double inches, const std::string &place, const std::string &asGiven, UnitSystem units);

// The storm in steps of `step` minutes: each depth split evenly over finer
// steps, or consecutive depths summed into coarser ones (the last padded with
// dry steps).  Throws InputError when neither step divides the other.
Storm resampled(const Storm &storm, int step);

} // namespace vesk::host
