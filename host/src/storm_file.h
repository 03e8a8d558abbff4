// The storm file: rain per time step as CSV with an optional header.  Rows
// are "time,value" (the time at the end of the interval) or one value per
// row.  The time is minutes or hours from the start of the storm, or a civil
// date-time (civil_time.h) for a dated record, whose first row ends its first
// step.  The header names the units: time_min or time_h for a time column of
// numbers (a column of date-times carries no unit, e.g. time), and for the
// values depth_in or depth_mm (rain in each step) or intensity_in_h or
// intensity_mm_h (its mean intensity over the step); a column called time_...,
// depth_... or intensity_... with any other unit word is refused.
//
// A storm set holds several named storms in one file: its header starts with
// a column called storm, every row with the storm's name, and the rest of
// each row reads as above; the rows of each storm stand together.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "depth_series.h"
#include "units.h"
#include "warnings.h"

namespace vesk::host {

// The longest stretch of time a run simulates, minutes (about 694 days): it
// bounds the series kept in memory and keeps every step's end time well inside
// the library's 32-bit clock.
inline constexpr int kMaxRunMinutes = 1000000;

// The largest depth one step may hold, inches: far above any recorded
// rainfall, it stops a unit slip (or a damaged file) from running at all.
inline constexpr double kMaxStepDepthInches = 100.0;

// What a gap in the times (rows a whole number of steps apart) gets.
enum class GapRule {
    Refuse, // refused with its line: a record with missing rows is not silently taken as dry
    Zero,   // the missing steps are filled with dry steps, and a note says where
};

// How the value column gives the rain.
enum class RainQuantity { Depth, Intensity };

struct StormReading {
    std::optional<UnitSystem> units; // insisted on; none: the header's unit, else inches
    GapRule gaps = GapRule::Refuse;
};

// Dry steps put in for missing rows.
struct FilledGap {
    std::string where;      // "line 5" of a file (or "row 5" of a program's rows): the row after the gap
    std::string after;      // the time of the row before it, as the record counts ("30 min", a date-time)
    std::size_t steps = 0;  // dry steps put in
};

struct Storm {
    std::string path;
    int stepMinutes = 0;  // step the file's times give; 0 for a one-column file
    DepthSeries depths;   // inches per step; step k ends at (k + 1) x step
    UnitSystem units = UnitSystem::Us; // the unit the file's values were read in
    RainQuantity given = RainQuantity::Depth;
    // A dated record: the civil minute (civil_time.h) at which its first step
    // starts; step k ends at start + (k + 1) x step.
    std::optional<long long> start;
    std::vector<FilledGap> gaps; // with GapRule::Zero

    std::size_t filledSteps() const;
};

struct NamedStorm {
    std::string name;
    Storm storm;
};

struct StormSet {
    std::string path;
    bool named = false; // the file names its storms (a storm column); else one storm named after the file
    std::vector<NamedStorm> storms;
};

// Reads and checks a storm file; throws InputError naming the file and line
// of the first fault (missing file, a value that is not a finite number, a
// negative value, times that do not increase in equal whole-minute steps, a
// gap unless filled, rows of different width, no values at all, times beyond
// kMaxRunMinutes, an unknown unit in the header, intensities without times).
// A UTF-8 byte-order mark at the start of the file is skipped.  Depths come
// back in inches; a header naming its unit fixes the unit itself, and one
// that contradicts `units` is refused.  A step holding more than
// kMaxStepDepthInches is refused.  "-" reads standard input.  A storm set is
// refused: readStorms takes it.
Storm readStorm(const std::string &path, std::optional<UnitSystem> units = std::nullopt);
Storm readStorm(const std::string &path, const StormReading &reading);
Storm parseStorm(std::istream &in, const std::string &path, std::optional<UnitSystem> units = std::nullopt);
Storm parseStormText(const std::string &text, const std::string &path,
                     std::optional<UnitSystem> units = std::nullopt);
Storm parseStormText(const std::string &text, const std::string &path, const StormReading &reading);

// A storm file or a storm set; a plain storm file gives one storm named after
// the file (without its folder and a .csv ending).
StormSet readStorms(const std::string &path, const StormReading &reading = {});
StormSet parseStormsText(const std::string &text, const std::string &path, const StormReading &reading = {});

// A storm of depths in inches (one per step of `stepMinutes`, 0 when not
// known) given by a program rather than a file, with the checks a file's
// depths get; `origin` names it in messages.
Storm stormOfDepths(const std::vector<double> &inches, int stepMinutes, const std::string &origin);

// A dated storm given by a program: the end of each step in seconds from
// 1970-01-01T00:00 (civil, whole minutes), the values as a column named
// `column` gives them (a header cell such as depth_mm or intensity_in_h;
// empty: depths in inches, or millimetres with reading.units Si), and the
// step in seconds (0: from the spacing, as for a file).  Read as a file's
// rows are, with the same refusals; messages name `origin` and the row.
Storm stormOfTimes(const std::vector<long long> &seconds, const std::vector<double> &values, long long stepSeconds,
                   const std::string &column, const StormReading &reading, const std::string &origin);

// The note for a storm whose gaps were filled, if any.
Warnings gapNotes(const Storm &storm);

// Why `name` cannot name a storm (empty, longer than 255 bytes, a control
// character), or nothing.
std::optional<std::string> stormNameFault(const std::string &name);

// The check every depth gets: a finite number of inches from 0 to
// kMaxStepDepthInches.
inline bool stepDepthAllowed(double inches) { return inches >= 0.0 && inches <= kMaxStepDepthInches; }

// Throws InputError naming `place` ("file:line") when the depth is not allowed.
void checkStepDepth(double inches, const std::string &place, const std::string &asGiven, UnitSystem units);

// The storm in steps of `step` minutes: each depth split evenly over finer
// steps, or consecutive depths summed into coarser ones (the last padded with
// dry steps).  A dated storm keeps its start.  Throws InputError when neither
// step divides the other.
Storm resampled(const Storm &storm, int step);

} // namespace vesk::host
