#include "storm_file.h"

#include <cmath>
#include <optional>
#include <sstream>
#include <string_view>

#include "input_error.h"
#include "number_text.h"
#include "text_file.h"

namespace vesk::host {

namespace {

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(trimmed(line.substr(start, comma == std::string_view::npos ? comma : comma - start)));
        if (comma == std::string_view::npos) return fields;
        start = comma + 1;
    }
}

bool isBlankOrComment(std::string_view line) {
    const std::string_view text = trimmed(line);
    return text.empty() || text.front() == '#';
}

// Times are compared with a small tolerance (in minutes): files written by
// spreadsheets carry values such as 14.999999999.
constexpr double kTimeTolerance = 1e-6;

std::string lowered(std::string_view text) {
    std::string low(text);
    for (char &c : low) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return low;
}

const char *depthColumn(UnitSystem units) { return units == UnitSystem::Si ? "depth_mm" : "depth_in"; }

// The unit word of a header cell "stem_unit", when the cell names the stem.
std::optional<std::string> unitWord(const std::string &cell, const char *stem) {
    const std::string prefix = std::string(stem) + "_";
    if (cell.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
    return cell.substr(prefix.size());
}

enum class TimeUnit { Minutes, Hours };

class StormParser {
public:
    StormParser(const std::string &path, std::optional<UnitSystem> units) : requested_(units) {
        storm_.path = path;
        storm_.units = units.value_or(UnitSystem::Us);
    }

    void takeLine(std::string_view line, int number) {
        if (isBlankOrComment(line)) return;
        const std::vector<std::string_view> fields = splitFields(line);
        if (!seenFirstRow_) {
            seenFirstRow_ = true;
            if (!parseReal(fields.front())) { // a header names the columns
                takeHeader(fields, number);
                return;
            }
        }
        if (columns_ == 0) {
            if (fields.size() > 2)
                throw inputErrorAt(storm_.path, number,
                                   "expected one column (depth) or two (time, depth), found " +
                                       std::to_string(fields.size()));
            columns_ = fields.size();
        } else if (fields.size() != columns_) {
            throw inputErrorAt(storm_.path, number,
                               "expected " + std::to_string(columns_) + " column(s) as in the first row, found " +
                                   std::to_string(fields.size()));
        }
        if (columns_ == 2) takeTime(number, fields[0]);
        depths_.push_back(depth(number, fields.back()));
    }

    Storm finish() {
        if (depths_.empty()) throw inputErrorIn(storm_.path, "holds no rain depths");
        if (columns_ == 2) {
            if (timeRows_ == 1) checkStep(firstLine_);
            storm_.stepMinutes = static_cast<int>(std::lround(step_));
        }
        storm_.depths = std::move(depths_);
        return storm_;
    }

private:
    double number(int line, std::string_view field, const char *what) const {
        const std::optional<double> value = parseReal(field);
        if (!value) throw inputErrorAt(storm_.path, line, std::string(what) + " '" + std::string(field) + "' is not a number");
        if (!std::isfinite(*value))
            throw inputErrorAt(storm_.path, line, std::string(what) + " '" + std::string(field) + "' is not a finite number");
        return *value;
    }

    // The header's units: time_min or time_h for the first of two columns,
    // depth_in or depth_mm for the last.  Other names carry no unit.
    void takeHeader(const std::vector<std::string_view> &fields, int line) {
        if (fields.size() == 2) takeTimeHeader(lowered(fields.front()), line);
        takeDepthHeader(lowered(fields.back()), line);
    }

    void takeTimeHeader(const std::string &cell, int line) {
        const std::optional<std::string> unit = unitWord(cell, "time");
        if (!unit) return;
        if (*unit == "min") timeUnit_ = TimeUnit::Minutes;
        else if (*unit == "h") timeUnit_ = TimeUnit::Hours;
        else
            throw inputErrorAt(storm_.path, line,
                               "unknown time unit '" + *unit + "' in the header column '" + cell +
                                   "'; name it time_min (minutes) or time_h (hours)");
    }

    void takeDepthHeader(const std::string &cell, int line) {
        const std::optional<std::string> unit = unitWord(cell, "depth");
        if (!unit) return;
        std::optional<UnitSystem> named;
        if (*unit == "in") named = UnitSystem::Us;
        if (*unit == "mm") named = UnitSystem::Si;
        if (!named)
            throw inputErrorAt(storm_.path, line,
                               "unknown depth unit '" + *unit + "' in the header column '" + cell +
                                   "'; name it depth_in (inches) or depth_mm (millimetres)");
        if (requested_ && *requested_ != *named)
            throw inputErrorAt(storm_.path, line,
                               "the header gives depths as " + cell + " but --units " +
                                   (*requested_ == UnitSystem::Si ? "si" : "us") + " expects " +
                                   depthColumn(*requested_) + "; convert the file or change --units");
        storm_.units = *named;
    }

    double depth(int line, std::string_view field) const {
        const double value = number(line, field, "rain depth");
        if (value < 0.0)
            throw inputErrorAt(storm_.path, line, "rain depth " + std::string(field) + " is negative");
        const double inches = toLibraryUnits(value, Quantity::Depth, storm_.units);
        checkStepDepth(inches, storm_.path + ":" + std::to_string(line), std::string(field), storm_.units);
        return inches;
    }

    const char *timeUnitName() const { return timeUnit_ == TimeUnit::Hours ? "h" : "min"; }

    // The time as written, with its unit ("0.5 h").
    std::string shownTime(std::string_view field) const { return std::string(field) + " " + timeUnitName(); }

    // The first two rows fix the step (a single row: its time is the step);
    // every row must then end exactly one step after the row before.  A first
    // time later than one step means dry steps before it.  Times in hours
    // are checked as minutes.
    void takeTime(int line, std::string_view field) {
        const double given = number(line, field, "time");
        const double time = timeUnit_ == TimeUnit::Hours ? given * 60.0 : given;
        if (time > kMaxRunMinutes)
            throw inputErrorAt(storm_.path, line,
                               "time " + shownTime(field) + " lies beyond the " + std::to_string(kMaxRunMinutes) +
                                   " minutes a run simulates");
        ++timeRows_;
        if (timeRows_ == 1) {
            firstTime_ = time;
            firstLine_ = line;
            if (time <= 0.0) throw inputErrorAt(storm_.path, line, "the first time must be above 0 minutes");
            lastTime_ = time;
            step_ = time;
            return;
        }
        if (time <= lastTime_)
            throw inputErrorAt(storm_.path, line,
                               "times must increase: " + shownTime(field) + " follows " + exactText(lastTime_) +
                                   " min");
        if (timeRows_ == 2) {
            step_ = time - lastTime_;
            checkStep(line);
            padLeadingDrySteps(line);
        } else if (std::fabs(time - lastTime_ - step_) > kTimeTolerance) {
            throw inputErrorAt(storm_.path, line,
                               "uneven time step: " + shownTime(field) + " should be " +
                                   exactText(lastTime_ + step_) + " min (steps of " + exactText(step_) + " min)");
        }
        lastTime_ = time;
    }

    void checkStep(int line) const {
        if (step_ < 1.0 - kTimeTolerance || std::fabs(step_ - std::round(step_)) > kTimeTolerance)
            throw inputErrorAt(storm_.path, line,
                               "the time step " + exactText(step_) + " min is not a whole number of minutes");
    }

    void padLeadingDrySteps(int line) {
        const double stepsBefore = firstTime_ / step_;
        // The first row ends at least one step after time 0.
        if (std::fabs(stepsBefore - std::round(stepsBefore)) > kTimeTolerance || std::round(stepsBefore) < 1.0)
            throw inputErrorAt(storm_.path, line,
                               "the first time " + exactText(firstTime_) + " min is not a whole number of " +
                                   exactText(step_) + "-minute steps");
        const long dry = std::lround(stepsBefore) - 1;
        depths_.insert(depths_.begin(), static_cast<std::size_t>(dry), 0.0);
    }

    std::optional<UnitSystem> requested_;
    Storm storm_;
    std::vector<double> depths_;
    TimeUnit timeUnit_ = TimeUnit::Minutes;
    bool seenFirstRow_ = false;
    std::size_t columns_ = 0;
    int timeRows_ = 0;
    int firstLine_ = 0;
    double firstTime_ = 0.0;
    double lastTime_ = 0.0;
    double step_ = 0.0;
};

Storm parseStormLines(const std::vector<std::string> &lines, const std::string &path,
                      std::optional<UnitSystem> units) {
    StormParser parser(path, units);
    for (std::size_t n = 0; n < lines.size(); ++n) parser.takeLine(lines[n], static_cast<int>(n) + 1);
    return parser.finish();
}

} // namespace

void checkStepDepth(double inches, const std::string &place, const std::string &asGiven, UnitSystem units) {
    if (!std::isfinite(inches))
        throw InputError(place + ": rain depth " + asGiven + " is not a finite number");
    if (inches < 0.0) throw InputError(place + ": rain depth " + asGiven + " is negative");
    if (inches > kMaxStepDepthInches)
        throw InputError(place + ": rain depth " + asGiven + " " + unitName(Quantity::Depth, units) +
                         " in one step is beyond the " + exactText(kMaxStepDepthInches) + " in (" +
                         exactText(kMaxStepDepthInches * kMillimetresPerInch) +
                         " mm) a run accepts; is it in the unit intended?");
}

Storm parseStormText(const std::string &text, const std::string &path, std::optional<UnitSystem> units) {
    return parseStormLines(splitTextLines(text, path), path, units);
}

Storm parseStorm(std::istream &in, const std::string &path, std::optional<UnitSystem> units) {
    std::ostringstream text;
    text << in.rdbuf();
    return parseStormText(text.str(), path, units);
}

Storm readStorm(const std::string &path, std::optional<UnitSystem> units) {
    const std::string shown = path == kStandardInput ? kStandardInputName : path;
    return parseStormLines(readTextLines(path, "storm file"), shown, units);
}

Storm stormOfDepths(const std::vector<double> &inches, int stepMinutes, const std::string &origin) {
    if (inches.empty()) throw inputErrorIn(origin, "holds no rain depths");
    if (stepMinutes < 0 || stepMinutes > 1440)
        throw inputErrorIn(origin, "the step " + std::to_string(stepMinutes) +
                                       " min is outside 1 to 1440 minutes");
    if (stepMinutes > 0 && inches.size() > static_cast<std::size_t>(kMaxRunMinutes / stepMinutes))
        throw inputErrorIn(origin, std::to_string(inches.size()) + " steps of " + std::to_string(stepMinutes) +
                                       " min last longer than the " + std::to_string(kMaxRunMinutes) +
                                       " minutes a run simulates");
    for (std::size_t k = 0; k < inches.size(); ++k)
        checkStepDepth(inches[k], origin + ": step " + std::to_string(k + 1), exactText(inches[k]), UnitSystem::Us);
    Storm storm;
    storm.path = origin;
    storm.stepMinutes = stepMinutes;
    storm.depths = inches;
    return storm;
}

Storm resampled(const Storm &storm, int step) {
    const int from = storm.stepMinutes;
    if (from == step) return storm;
    Storm result = storm;
    result.stepMinutes = step;
    std::vector<double> depths;
    if (from % step == 0) {
        const int parts = from / step;
        depths.reserve(storm.depths.size() * static_cast<std::size_t>(parts));
        for (double depth : storm.depths) depths.insert(depths.end(), parts, depth / parts);
    } else if (step % from == 0) {
        const std::size_t group = static_cast<std::size_t>(step / from);
        for (std::size_t k = 0; k < storm.depths.size(); k += group) {
            double sum = 0.0;
            for (std::size_t i = k; i < k + group && i < storm.depths.size(); ++i) sum += storm.depths[i];
            depths.push_back(sum);
        }
    } else {
        throw InputError(storm.path + ": the storm steps " + std::to_string(from) + " min, which --time-step " +
                         std::to_string(step) + " can neither split evenly nor sum whole steps into; choose a "
                         "divisor or a multiple of " + std::to_string(from));
    }
    result.depths = std::move(depths);
    return result;
}

} // namespace vesk::host
