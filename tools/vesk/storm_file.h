// The storm file: rain depths per time step as CSV with an optional header,
// either "time,depth" rows (time at the end of the interval, minutes) or one
// depth per row.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace vesk::tool {

struct Storm {
    std::string path;
    int stepMinutes = 0;        // step the file's times give; 0 for a one-column file
    std::vector<double> depths; // inches per step; step k ends at (k + 1) x step
};

// Reads and checks a storm file; throws InputError naming the file and line
// of the first fault (missing file, a value that is not a finite number, a
// negative depth, times that do not increase in equal whole-minute steps,
// rows of different width, no depths at all).
Storm readStorm(const std::string &path);
Storm parseStorm(std::istream &in, const std::string &path);

} // namespace vesk::tool
