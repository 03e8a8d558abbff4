#include "design_storm.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string_view>

#include "input_error.h"
#include "number_text.h"
#include "text_file.h"
#include "veskdll133.h"

namespace vesk::host {

namespace {

void checkOptions(const DesignStormOptions &o) {
    const IntensityRelation &r = o.relation;
    for (double value : {r.a, r.b, r.c, r.factor, o.peakPosition})
        if (!std::isfinite(value)) throw InputError(o.origin + ": every coefficient must be a finite number");
    if (o.step < 1 || o.duration < o.step || o.duration % o.step != 0)
        throw InputError(o.origin + ": --duration " + std::to_string(o.duration) +
                         " min must be a whole number of --step " + std::to_string(o.step) + "-minute steps");
    if (o.peakPosition < 0.0 || o.peakPosition > 1.0)
        throw InputError(o.origin + ": --peak-position takes 0 (first step) to 1 (last step), got " +
                         exactText(o.peakPosition));
}

std::string depthText(double depth, UnitSystem units) { return exactText(depth) + " " + unitName(Quantity::Depth, units); }

// Every step a run takes: no depth beyond kMaxStepDepthInches.
void checkRunnable(const std::vector<double> &depths, int step, UnitSystem units, const std::string &origin) {
    for (std::size_t k = 0; k < depths.size(); ++k)
        if (!(toLibraryUnits(depths[k], Quantity::Depth, units) <= kMaxStepDepthInches))
            throw InputError(origin + ": step " + std::to_string(k + 1) + " would hold " + depthText(depths[k], units) +
                             " in " + std::to_string(step) + " min, beyond the " + exactText(kMaxStepDepthInches) +
                             " in (" + exactText(kMaxStepDepthInches * kMillimetresPerInch) +
                             " mm) a run accepts in one step; are the coefficients and their unit right?");
}

double intensityOver(const IntensityRelation &r, int minutes) {
    return vesk_calcIntensity(r.a, r.b, r.factor, minutes, r.c);
}

// The blocks, deepest first, from the depths of 1..n steps.
std::vector<double> blocksDeepestFirst(const DesignStormOptions &o, std::size_t n) {
    std::vector<double> blocks;
    double before = 0.0;
    double intensityBefore = 0.0;
    for (std::size_t k = 1; k <= n; ++k) {
        const int minutes = static_cast<int>(k) * o.step;
        const double intensity = intensityOver(o.relation, minutes);
        const double depth = durationDepth(o.relation, minutes);
        if (k > 1 && intensity > intensityBefore)
            throw InputError(o.origin + ": the mean intensity rises with the duration (" + exactText(intensityBefore) +
                             " " + unitName(Quantity::Rate, o.units) + " over " + std::to_string(minutes - o.step) +
                             " min, " + exactText(intensity) + " over " + std::to_string(minutes) +
                             " min); an intensity-duration relation falls as the duration grows (is c below 0?)");
        if (!std::isfinite(depth) || depth < before)
            throw InputError(o.origin + ": the intensity relation gives " + exactText(depth) + " for " +
                             std::to_string(minutes) + " min after " + exactText(before) +
                             " for one step less; the depth must be finite and never fall as the duration grows");
        blocks.push_back(depth - before);
        before = depth;
        intensityBefore = intensity;
    }
    std::stable_sort(blocks.begin(), blocks.end(), std::greater<double>());
    return blocks;
}

std::vector<std::string_view> cellsOf(std::string_view line) {
    std::vector<std::string_view> cells;
    for (std::size_t start = 0;;) {
        const std::size_t comma = line.find(',', start);
        cells.push_back(trimmed(line.substr(start, comma == std::string_view::npos ? comma : comma - start)));
        if (comma == std::string_view::npos) return cells;
        start = comma + 1;
    }
}

bool skipped(std::string_view line) {
    const std::string_view text = trimmed(line);
    return text.empty() || text.front() == '#';
}

std::string lowered(std::string_view text) {
    std::string low(text);
    for (char &c : low) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return low;
}

double finiteCell(std::string_view cell, const std::string &path, int line, const std::string &column) {
    const std::optional<double> value = parseReal(cell);
    if (!value || !std::isfinite(*value))
        throw inputErrorAt(path, line, column + " '" + std::string(cell) + "' is not a finite number");
    return *value;
}

// The table's rows after its header: (line, cells), each as wide as the header.
struct CsvTable {
    std::vector<std::string> header; // lowered
    int headerLine = 0;
    std::vector<std::pair<int, std::vector<std::string_view>>> rows;
};

CsvTable csvTable(const std::vector<std::string> &lines, const std::string &path, const char *what) {
    CsvTable table;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        if (skipped(lines[n])) continue;
        const int line = static_cast<int>(n) + 1;
        std::vector<std::string_view> cells = cellsOf(lines[n]);
        if (table.headerLine == 0) {
            table.headerLine = line;
            for (std::string_view cell : cells) table.header.push_back(lowered(cell));
            continue;
        }
        if (cells.size() != table.header.size())
            throw inputErrorAt(path, line, "expected " + std::to_string(table.header.size()) +
                                               " cells as in the header, found " + std::to_string(cells.size()));
        table.rows.emplace_back(line, std::move(cells));
    }
    if (table.rows.empty()) throw inputErrorIn(path, std::string("holds no ") + what);
    return table;
}

// NRCS 24-hour rainfall distributions, Types I and II: the cumulative
// fraction of the 24-hour depth at every half hour from 0 to 24 h, as the
// agency tabulates them in its urban hydrology technical release (TR-55,
// 1986), a public table.
constexpr double kNrcsTypeI[] = {
    0,     0.008, 0.017, 0.026, 0.035, 0.045, 0.055, 0.065, 0.076, 0.087, 0.099, 0.112, 0.125,
    0.14,  0.156, 0.174, 0.194, 0.219, 0.254, 0.303, 0.515, 0.583, 0.624, 0.654, 0.682, 0.706,
    0.727, 0.748, 0.767, 0.785, 0.801, 0.816, 0.83,  0.844, 0.857, 0.87,  0.882, 0.893, 0.905,
    0.916, 0.926, 0.936, 0.946, 0.956, 0.965, 0.974, 0.983, 0.992, 1};
constexpr double kNrcsTypeII[] = {
    0,     0.005, 0.011, 0.017, 0.023, 0.029, 0.035, 0.041, 0.048, 0.056, 0.063, 0.072, 0.08,
    0.09,  0.1,   0.111, 0.122, 0.135, 0.148, 0.163, 0.181, 0.204, 0.235, 0.283, 0.663, 0.735,
    0.772, 0.799, 0.82,  0.838, 0.854, 0.868, 0.88,  0.892, 0.903, 0.913, 0.922, 0.93,  0.938,
    0.946, 0.953, 0.959, 0.965, 0.971, 0.977, 0.983, 0.989, 0.995, 1};

Distribution halfHourly(const char *name, const double (&fractions)[49]) {
    Distribution d;
    d.name = name;
    for (int k = 0; k < 49; ++k) {
        d.minutes.push_back(30.0 * k);
        d.fractions.push_back(fractions[k]);
    }
    return d;
}

} // namespace

double durationDepth(const IntensityRelation &r, int minutes) {
    return intensityOver(r, minutes) * minutes / 60.0;
}

std::vector<double> designStorm(const DesignStormOptions &o) {
    checkOptions(o);
    const std::size_t n = static_cast<std::size_t>(o.duration / o.step);
    if (o.uniform) {
        const double total = durationDepth(o.relation, o.duration);
        if (!std::isfinite(total) || total < 0.0)
            throw InputError(o.origin + ": the intensity relation gives " + exactText(total) +
                             " for the whole duration");
        std::vector<double> even(n, total / static_cast<double>(n));
        checkRunnable(even, o.step, o.units, o.origin);
        return even;
    }
    const std::vector<double> blocks = blocksDeepestFirst(o, n);
    std::vector<double> depths(n, 0.0);
    const std::size_t peak = static_cast<std::size_t>(std::lround(o.peakPosition * static_cast<double>(n - 1)));
    depths[peak] = blocks[0];
    // Alternately after and before the peak; once one side is full, the other.
    std::size_t after = peak + 1, before = peak;
    bool next = true;
    for (std::size_t b = 1; b < n; ++b, next = !next) {
        const bool takeAfter = after < n && (next || before == 0);
        depths[takeAfter ? after++ : --before] = blocks[b];
    }
    checkRunnable(depths, o.step, o.units, o.origin);
    return depths;
}

namespace {

IdfTable idfOfLines(const std::vector<std::string> &lines, const std::string &path) {
    const CsvTable csv = csvTable(lines, path, "return periods");
    IdfTable table;
    table.path = path;
    std::map<std::string, std::size_t> column;
    for (std::size_t i = 0; i < csv.header.size(); ++i) {
        const std::string &name = csv.header[i];
        if (name != "return_period_yr" && name != "a_in_h" && name != "a_mm_h" && name != "b_min" && name != "c")
            throw inputErrorAt(path, csv.headerLine,
                               "unknown column '" + name + "'; an IDF table has the columns return_period_yr, "
                               "a_in_h (or a_mm_h), b_min and c, for i = a / (b + t)^c with t in minutes");
        const bool isA = name == "a_in_h" || name == "a_mm_h";
        if (column.count(isA ? "a" : name) != 0)
            throw inputErrorAt(path, csv.headerLine, "the column " + name + " is given twice");
        if (isA) table.units = name == "a_mm_h" ? UnitSystem::Si : UnitSystem::Us;
        column[isA ? "a" : name] = i;
    }
    for (const char *needed : {"return_period_yr", "a", "b_min", "c"})
        if (column.count(needed) == 0)
            throw inputErrorAt(path, csv.headerLine,
                               std::string("the header has no column ") +
                                   (std::string(needed) == "a" ? "a_in_h (or a_mm_h)" : needed));
    std::set<double> periods;
    for (const auto &[line, cells] : csv.rows) {
        IdfRow row;
        row.line = line;
        row.returnPeriod = finiteCell(cells[column["return_period_yr"]], path, line, "return_period_yr");
        row.relation.a = finiteCell(cells[column["a"]], path, line, csv.header[column["a"]]);
        row.relation.b = finiteCell(cells[column["b_min"]], path, line, "b_min");
        row.relation.c = finiteCell(cells[column["c"]], path, line, "c");
        if (!(row.returnPeriod > 0.0))
            throw inputErrorAt(path, line, "return period " + exactText(row.returnPeriod) + " yr is not above 0");
        if (!periods.insert(row.returnPeriod).second)
            throw inputErrorAt(path, line, "the return period " + exactText(row.returnPeriod) + " yr is given twice");
        if (!(row.relation.a > 0.0))
            throw inputErrorAt(path, line, "a " + exactText(row.relation.a) + " is not above 0");
        if (row.relation.b < 0.0) throw inputErrorAt(path, line, "b " + exactText(row.relation.b) + " min is negative");
        table.rows.push_back(row);
    }
    return table;
}

std::vector<Distribution> distributionsOfLines(const std::vector<std::string> &lines, const std::string &path) {
    const CsvTable csv = csvTable(lines, path, "cumulative fractions");
    if (csv.header.front() != "hour" && csv.header.front() != "minute")
        throw inputErrorAt(path, csv.headerLine,
                           "the first column is '" + csv.header.front() + "'; name it hour or minute");
    if (csv.header.size() < 2)
        throw inputErrorAt(path, csv.headerLine, "the header names no distribution after its time column");
    const double perUnit = csv.header.front() == "hour" ? 60.0 : 1.0;
    std::vector<Distribution> distributions(csv.header.size() - 1);
    std::set<std::string> names;
    for (std::size_t d = 0; d < distributions.size(); ++d) {
        distributions[d].name = csv.header[d + 1];
        if (distributions[d].name.empty()) throw inputErrorAt(path, csv.headerLine, "a distribution has no name");
        if (!names.insert(distributions[d].name).second)
            throw inputErrorAt(path, csv.headerLine, "the distribution " + distributions[d].name + " is named twice");
    }
    for (const auto &[line, cells] : csv.rows) {
        const double minute = finiteCell(cells[0], path, line, csv.header.front()) * perUnit;
        const std::vector<double> &before = distributions.front().minutes;
        if (before.empty() && minute != 0.0)
            throw inputErrorAt(path, line, "the first row must be at " + csv.header.front() + " 0");
        if (!before.empty() && minute <= before.back())
            throw inputErrorAt(path, line, "times must increase: " + std::string(cells[0]) + " follows " +
                                               exactText(before.back() / perUnit));
        for (std::size_t d = 0; d < distributions.size(); ++d) {
            Distribution &distribution = distributions[d];
            const double fraction = finiteCell(cells[d + 1], path, line, distribution.name);
            if (fraction < 0.0 || fraction > 1.0)
                throw inputErrorAt(path, line, distribution.name + ": the cumulative fraction " + exactText(fraction) +
                                                   " is outside 0 to 1");
            if (distribution.fractions.empty() && fraction != 0.0)
                throw inputErrorAt(path, line, distribution.name + ": the cumulative fraction starts at 0, not " +
                                                   exactText(fraction));
            if (!distribution.fractions.empty() && fraction < distribution.fractions.back())
                throw inputErrorAt(path, line, distribution.name + ": the cumulative fraction falls from " +
                                                   exactText(distribution.fractions.back()) + " to " +
                                                   exactText(fraction));
            distribution.minutes.push_back(minute);
            distribution.fractions.push_back(fraction);
        }
    }
    const int last = csv.rows.back().first;
    const double end = distributions.front().minutes.back();
    if (end < 1.0 || end != std::round(end) || end > kMaxRunMinutes)
        throw inputErrorAt(path, last, "the distributions last " + exactText(end) +
                                           " min, not a whole number of minutes from 1 to " +
                                           std::to_string(kMaxRunMinutes));
    for (const Distribution &distribution : distributions)
        if (distribution.fractions.back() != 1.0)
            throw inputErrorAt(path, last, distribution.name + ": the cumulative fraction ends at " +
                                               exactText(distribution.fractions.back()) + ", not 1");
    return distributions;
}

} // namespace

IdfTable parseIdfTableText(const std::string &text, const std::string &path) {
    return idfOfLines(splitTextLines(text, path), path);
}

IdfTable readIdfTable(const std::string &path) {
    return idfOfLines(readTextLines(path, "IDF table"), path == kStandardInput ? kStandardInputName : path);
}

std::vector<Distribution> parseDistributionsText(const std::string &text, const std::string &path) {
    return distributionsOfLines(splitTextLines(text, path), path);
}

std::vector<Distribution> readDistributions(const std::string &path) {
    return distributionsOfLines(readTextLines(path, "distribution file"),
                                path == kStandardInput ? kStandardInputName : path);
}

const std::vector<Distribution> &builtInDistributions() {
    static const std::vector<Distribution> builtIn{halfHourly("nrcs_type_I", kNrcsTypeI),
                                                   halfHourly("nrcs_type_II", kNrcsTypeII)};
    return builtIn;
}

const Distribution &findDistribution(const std::vector<Distribution> &distributions, const std::string &name,
                                     const std::string &origin) {
    std::string known;
    for (const Distribution &distribution : distributions) {
        if (lowered(distribution.name) == lowered(name)) return distribution;
        known += (known.empty() ? "" : ", ") + distribution.name;
    }
    throw InputError(origin + ": no distribution is named '" + name + "'; there are " + known);
}

double cumulativeFraction(const Distribution &d, double minute) {
    if (minute <= d.minutes.front()) return d.fractions.front();
    if (minute >= d.minutes.back()) return d.fractions.back();
    const std::size_t i =
        static_cast<std::size_t>(std::upper_bound(d.minutes.begin(), d.minutes.end(), minute) - d.minutes.begin()) - 1;
    return d.fractions[i] + (d.fractions[i + 1] - d.fractions[i]) * ((minute - d.minutes[i]) / (d.minutes[i + 1] - d.minutes[i]));
}

std::vector<double> distributionStorm(const Distribution &d, double depth, int step, UnitSystem units) {
    const std::string origin = "storm: " + d.name;
    if (!std::isfinite(depth) || !(depth > 0.0))
        throw InputError(origin + ": --depth " + exactText(depth) + " is not a depth above 0");
    const int duration = d.duration();
    if (step < 1 || step > duration || duration % step != 0)
        throw InputError(origin + ": --step " + std::to_string(step) + " min must divide the distribution's " +
                         std::to_string(duration) + " min");
    std::vector<double> depths;
    double before = 0.0;
    for (int end = step; end <= duration; end += step) {
        const double reached = cumulativeFraction(d, end);
        depths.push_back(depth * (reached - before));
        before = reached;
    }
    checkRunnable(depths, step, units, origin);
    return depths;
}

std::string designStormName(double returnPeriod, int duration) {
    return exactText(returnPeriod) + "yr_" + std::to_string(duration) + "min";
}

std::vector<DesignStorm> idfStorms(const IdfTable &table, const std::vector<double> &returnPeriods,
                                   const std::vector<int> &durations, int step, double peakPosition, bool uniform,
                                   double factor) {
    std::vector<DesignStorm> storms;
    for (double period : returnPeriods) {
        const IdfRow *row = nullptr;
        std::string held;
        for (const IdfRow &candidate : table.rows) {
            if (candidate.returnPeriod == period) row = &candidate;
            held += (held.empty() ? "" : ", ") + exactText(candidate.returnPeriod);
        }
        if (row == nullptr)
            throw InputError(table.path + ": holds no relation for the return period " + exactText(period) +
                             " yr (it holds " + held + " yr); return periods are not interpolated");
        for (int duration : durations) {
            DesignStormOptions options;
            options.relation = row->relation;
            options.relation.factor = factor;
            options.duration = duration;
            options.step = step;
            options.peakPosition = peakPosition;
            options.uniform = uniform;
            options.units = table.units;
            options.origin = table.path + ":" + std::to_string(row->line) + ": the " + exactText(period) +
                             "-year relation over " + std::to_string(duration) + " min";
            storms.push_back(DesignStorm{designStormName(period, duration), step, table.units, designStorm(options)});
        }
    }
    return storms;
}

Storm stormOf(const DesignStorm &storm, const std::string &origin) {
    std::vector<double> inches;
    inches.reserve(storm.depths.size());
    for (double depth : storm.depths) inches.push_back(toLibraryUnits(depth, Quantity::Depth, storm.units));
    Storm made = stormOfDepths(inches, storm.step, origin);
    made.units = storm.units;
    return made;
}

namespace {

void stormRows(std::ostream &out, const DesignStorm &storm, const std::string &lead) {
    for (std::size_t k = 0; k < storm.depths.size(); ++k)
        out << lead << (k + 1) * static_cast<std::size_t>(storm.step) << ',' << exactText(storm.depths[k]) << '\n';
}

const char *depthHeader(UnitSystem units) { return units == UnitSystem::Si ? "time_min,depth_mm" : "time_min,depth_in"; }

} // namespace

void writeStormCsv(std::ostream &out, const DesignStorm &storm) {
    out << depthHeader(storm.units) << '\n';
    stormRows(out, storm, "");
}

void writeStormSetCsv(std::ostream &out, const std::vector<DesignStorm> &storms) {
    if (storms.empty()) return;
    out << "storm," << depthHeader(storms.front().units) << '\n';
    for (const DesignStorm &storm : storms) stormRows(out, storm, storm.name + ",");
}

} // namespace vesk::host
