// The storm file: rain depths per time step as CSV with an optional header,
// either "time,depth" rows (time at the end of the interval, minutes) or one
// depth per row.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace vesk::tool {

// The longest stretch of time vesk simulates, minutes (about 694 days): it
// bounds the series kept in memory and keeps every step's end time well inside
// the library's 32-bit clock.
inline constexpr int kMaxRunMinutes = 1000000;

struct Storm {
    std::string path;
    int stepMinutes = 0;        // step the file's times give; 0 for a one-column file
    std::vector<double> depths; // inches per step; step k ends at (k + 1) x step
};

// Reads and checks a storm file; throws InputError naming the file and line
// of the first fault (missing file, a value that is not a finite number, a
// negative depth, times that do not increase in equal whole-minute steps,
// rows of different width, no depths at all, times beyond kMaxRunMinutes).
// A UTF-8 byte-order mark at the start of the file is skipped.
Storm readStorm(const std::string &path);
Storm parseStorm(std::istream &in, const std::string &path);

} // namespace vesk::tool
