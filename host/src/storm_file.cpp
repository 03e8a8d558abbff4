#include "storm_file.h"

#include <cmath>
#include <map>
#include <set>
#include <optional>
#include <sstream>
#include <string_view>

#include "civil_time.h"
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

// Distinct spacings tallied when the step is chosen: a record with more is
// irregular anyway, and the tally stays small whatever the file.
constexpr std::size_t kMaxSpacingsTallied = 64;

std::string lowered(std::string_view text) {
    std::string low(text);
    for (char &c : low) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return low;
}

// The unit word of a header cell "stem_unit", when the cell names the stem.
std::optional<std::string> unitWord(const std::string &cell, const char *stem) {
    const std::string prefix = std::string(stem) + "_";
    if (cell.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
    return cell.substr(prefix.size());
}

const char *valueColumn(RainQuantity given, UnitSystem units) {
    if (given == RainQuantity::Intensity) return units == UnitSystem::Si ? "intensity_mm_h" : "intensity_in_h";
    return units == UnitSystem::Si ? "depth_mm" : "depth_in";
}

// A first row is a header when its first cell is neither a number nor a
// date-time.
bool isHeaderRow(const std::vector<std::string_view> &fields) {
    return !parseReal(fields.front()) && !readDateTime(fields.front()).looksLikeOne;
}

enum class TimeUnit { Minutes, Hours };

// One row of values with a time: where it stands and its time in minutes
// (from the start of the storm, or the civil minute of a dated record).
struct TimedRow {
    int line = 0;
    double time = 0.0;
    std::string_view text; // the time as written; empty when given as a number by a program
};

class StormParser {
public:
    StormParser(const std::string &path, const StormReading &reading, bool rowsOfAProgram = false)
        : requested_(reading.units), gaps_(reading.gaps), rowsOfAProgram_(rowsOfAProgram) {
        storm_.path = path;
        storm_.units = reading.units.value_or(UnitSystem::Us);
    }

    // The header's units: time_min or time_h for the first of two columns,
    // depth_... or intensity_... for the last.  Other names carry no unit.
    void takeHeader(const std::vector<std::string_view> &fields, int line) {
        if (fields.size() == 2) takeTimeHeader(lowered(fields.front()), line);
        takeValueHeader(lowered(fields.back()), line);
    }

    void takeRow(const std::vector<std::string_view> &fields, int line) {
        if (columns_ == 0) {
            if (fields.size() > 2)
                fail(line, "expected one column (depth) or two (time, depth), found " + std::to_string(fields.size()));
            columns_ = fields.size();
            if (columns_ == 1 && storm_.given == RainQuantity::Intensity)
                fail(line, "intensities need a time column: without times the step they last is not known");
        } else if (fields.size() != columns_) {
            fail(line, "expected " + std::to_string(columns_) + " column(s) as in the first row, found " +
                           std::to_string(fields.size()));
        }
        if (columns_ == 2) takeTime(line, fields[0]);
        takeValue(line, fields.back());
    }

    // A row given by a program: the civil minute at its end and its value.
    void takeDatedRow(int row, long long minute, double value) {
        columns_ = 2;
        dated_ = true;
        takeDatedTime(row, static_cast<double>(minute), {});
        checkValue(row, value, exactText(value));
        values_.push_back(value);
    }

    void takeValueHeader(const std::string &cell, int line) {
        if (const std::optional<std::string> unit = unitWord(cell, "depth")) {
            takeUnit(*unit == "in" ? std::optional(UnitSystem::Us)
                                   : *unit == "mm" ? std::optional(UnitSystem::Si) : std::nullopt,
                     RainQuantity::Depth, cell, line,
                     "unknown depth unit '" + *unit + "' in the header column '" + cell +
                         "'; name it depth_in (inches) or depth_mm (millimetres)");
        } else if (const std::optional<std::string> rate = unitWord(cell, "intensity")) {
            takeUnit(*rate == "in_h" ? std::optional(UnitSystem::Us)
                                     : *rate == "mm_h" ? std::optional(UnitSystem::Si) : std::nullopt,
                     RainQuantity::Intensity, cell, line,
                     "unknown intensity unit '" + *rate + "' in the header column '" + cell +
                         "'; name it intensity_in_h (inches per hour) or intensity_mm_h (millimetres per hour)");
        }
    }

    void setStep(long long minutes) { givenStep_ = static_cast<double>(minutes); }

    Storm finish() {
        if (values_.empty()) throw inputErrorIn(storm_.path, "holds no rain depths");
        std::vector<double> depths;
        if (columns_ == 2) {
            chooseStep();
            storm_.stepMinutes = static_cast<int>(std::lround(step_));
            depths = timedDepths();
        } else {
            depths.reserve(values_.size());
            for (double value : values_) depths.push_back(toLibraryUnits(value, Quantity::Depth, storm_.units));
        }
        storm_.depths = std::move(depths);
        return storm_;
    }

private:
    std::string place(int line) const {
        return rowsOfAProgram_ ? storm_.path + ": row " + std::to_string(line) : storm_.path + ":" + std::to_string(line);
    }

    [[noreturn]] void fail(int line, const std::string &what) const { throw InputError(place(line) + ": " + what); }

    double number(int line, std::string_view field, const char *what) const {
        const std::optional<double> value = parseReal(field);
        if (!value) fail(line, std::string(what) + " '" + std::string(field) + "' is not a number");
        if (!std::isfinite(*value)) fail(line, std::string(what) + " '" + std::string(field) + "' is not a finite number");
        return *value;
    }

    void takeTimeHeader(const std::string &cell, int line) {
        const std::optional<std::string> unit = unitWord(cell, "time");
        if (!unit) return;
        if (*unit == "min") timeUnit_ = TimeUnit::Minutes;
        else if (*unit == "h") timeUnit_ = TimeUnit::Hours;
        else
            fail(line, "unknown time unit '" + *unit + "' in the header column '" + cell +
                           "'; name it time_min (minutes), time_h (hours) or time (date-times)");
        timeNamed_ = cell;
    }

    void takeUnit(std::optional<UnitSystem> named, RainQuantity given, const std::string &cell, int line,
                  const std::string &unknown) {
        if (!named) fail(line, unknown);
        if (requested_ && *requested_ != *named)
            fail(line, std::string("the header gives ") +
                           (given == RainQuantity::Intensity ? "intensities" : "depths") + " as " + cell +
                           " but --units " + (*requested_ == UnitSystem::Si ? "si" : "us") + " expects " +
                           valueColumn(given, *requested_) + "; convert the file or change --units");
        storm_.units = *named;
        storm_.given = given;
    }

    bool intensities() const { return storm_.given == RainQuantity::Intensity; }

    void checkValue(int line, double value, const std::string &asGiven) const {
        if (!std::isfinite(value))
            fail(line, std::string(intensities() ? "rain intensity " : "rain depth ") + asGiven +
                           " is not a finite number");
        if (value < 0.0) fail(line, std::string(intensities() ? "rain intensity " : "rain depth ") + asGiven + " is negative");
        // A depth is bounded as it is read; an intensity once its step is known.
        if (!intensities())
            checkStepDepth(toLibraryUnits(value, Quantity::Depth, storm_.units), place(line), asGiven, storm_.units);
    }

    void takeValue(int line, std::string_view field) {
        const double value = number(line, field, intensities() ? "rain intensity" : "rain depth");
        checkValue(line, value, std::string(field));
        values_.push_back(value);
    }

    const char *timeUnitName() const { return timeUnit_ == TimeUnit::Hours ? "h" : "min"; }

    // A time as the record counts it: "0.5 h" as written, "30 min", or a date-time.
    std::string shownTime(const TimedRow &row) const {
        if (dated_) return row.text.empty() ? dateTimeText(static_cast<long long>(row.time)) : std::string(row.text);
        return std::string(row.text) + " " + timeUnitName();
    }
    std::string countedTime(double time) const {
        return dated_ ? dateTimeText(static_cast<long long>(time)) : exactText(time) + " min";
    }

    void takeTime(int line, std::string_view field) {
        if (rows_.empty()) dated_ = readDateTime(field).looksLikeOne;
        if (dated_) {
            const DateTimeField read = readDateTime(field);
            if (!read.looksLikeOne)
                fail(line, "time '" + std::string(field) + "' is not a date-time as the first row's is");
            if (!read.minute) fail(line, "time '" + std::string(field) + "' " + read.fault);
            if (!timeNamed_.empty())
                fail(line, "time '" + std::string(field) + "' is a date-time, but the header names " + timeNamed_ +
                               "; call the column time");
            takeDatedTime(line, static_cast<double>(*read.minute), field);
            return;
        }
        const double given = number(line, field, "time");
        const double time = timeUnit_ == TimeUnit::Hours ? given * 60.0 : given;
        const TimedRow row{line, time, field};
        if (time > kMaxRunMinutes)
            fail(line, "time " + shownTime(row) + " lies beyond the " + std::to_string(kMaxRunMinutes) +
                           " minutes a run simulates");
        if (rows_.empty() && time <= 0.0) fail(line, "the first time must be above 0 minutes");
        if (!rows_.empty() && time <= rows_.back().time)
            fail(line, "times must increase: " + shownTime(row) + " follows " + countedTime(rows_.back().time));
        rows_.push_back(row);
    }

    void takeDatedTime(int line, double minute, std::string_view text) {
        const TimedRow row{line, minute, text};
        if (!rows_.empty() && minute <= rows_.back().time)
            fail(line, "times must increase: " + shownTime(row) + " follows " + countedTime(rows_.back().time));
        if (!rows_.empty() && minute - rows_.front().time > kMaxRunMinutes)
            fail(line, "time " + shownTime(row) + " lies more than the " + std::to_string(kMaxRunMinutes) +
                           " minutes a run simulates after the first row's " + countedTime(rows_.front().time));
        rows_.push_back(row);
    }

    // The step is the spacing most rows keep (of two as common, the one met
    // first), so a gap or a slip anywhere, the first rows included, is seen
    // as such.
    // A single row of minutes gives the step itself; a single dated row
    // gives none.
    void chooseStep() {
        std::size_t stepRow = 0;
        if (givenStep_ > 0.0) {
            step_ = givenStep_;
        } else if (rows_.size() == 1) {
            if (dated_)
                fail(rows_.front().line, "a single dated row does not give the step; give two rows or more");
            step_ = rows_.front().time;
        } else {
            std::map<double, std::pair<std::size_t, std::size_t>> tally; // spacing -> (rows, first row)
            for (std::size_t i = 1; i < rows_.size(); ++i) {
                const double spacing = rows_[i].time - rows_[i - 1].time;
                const double whole = std::round(spacing);
                const double key = std::fabs(spacing - whole) <= kTimeTolerance ? whole : spacing;
                const auto found = tally.find(key);
                if (found != tally.end()) ++found->second.first;
                else if (tally.size() < kMaxSpacingsTallied) tally.emplace(key, std::make_pair(std::size_t{1}, i));
            }
            std::size_t most = 0;
            for (const auto &[spacing, counted] : tally)
                if (counted.first > most || (counted.first == most && counted.second < stepRow)) {
                    most = counted.first;
                    step_ = rows_[counted.second].time - rows_[counted.second - 1].time;
                    stepRow = counted.second;
                }
        }
        const int line = rows_[stepRow].line;
        if (step_ < 1.0 - kTimeTolerance || std::fabs(step_ - std::round(step_)) > kTimeTolerance)
            fail(line, "the time step " + exactText(step_) + " min is not a whole number of minutes");
        step_ = std::round(step_);
        if (dated_) {
            storm_.start = static_cast<long long>(rows_.front().time - step_);
            if (!civilMinuteInRange(*storm_.start))
                fail(rows_.front().line, "the record starts before the year 0001");
            return;
        }
        const double stepsBefore = rows_.front().time / step_;
        // The first row ends at least one step after time 0.
        if (std::fabs(stepsBefore - std::round(stepsBefore)) > kTimeTolerance || std::round(stepsBefore) < 1.0)
            fail(line, "the first time " + exactText(rows_.front().time) + " min is not a whole number of " +
                           exactText(step_) + "-minute steps");
        leadingDrySteps_ = static_cast<std::size_t>(std::lround(stepsBefore) - 1);
    }

    // The depths of a timed record: dry steps before a late first row, every
    // row one step after the one before or, with gaps filled, a whole number
    // of steps after it.
    std::vector<double> timedDepths() {
        std::vector<double> depths(leadingDrySteps_, 0.0);
        depths.reserve(leadingDrySteps_ + rows_.size());
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            if (i > 0) {
                const double spacing = rows_[i].time - rows_[i - 1].time;
                const double steps = std::round(spacing / step_);
                if (steps < 1.0 || std::fabs(spacing - steps * step_) > kTimeTolerance)
                    fail(rows_[i].line, "uneven time step: " + shownTime(rows_[i]) + " should be " +
                                            countedTime(rows_[i - 1].time + step_) + " (steps of " +
                                            exactText(step_) + " min)");
                if (steps > 1.0) fillGap(rows_[i], rows_[i - 1], static_cast<std::size_t>(steps) - 1, depths);
            }
            depths.push_back(inches(rows_[i].line, values_[i]));
        }
        if (static_cast<double>(depths.size()) * step_ > kMaxRunMinutes)
            fail(rows_.back().line, "the record's " + std::to_string(depths.size()) + " steps of " + exactText(step_) +
                                        " min last longer than the " + std::to_string(kMaxRunMinutes) +
                                        " minutes a run simulates");
        return depths;
    }

    void fillGap(const TimedRow &row, const TimedRow &before, std::size_t missing, std::vector<double> &depths) {
        const std::string counted = std::to_string(missing) + (missing == 1 ? " missing step of " : " missing steps of ") +
                                    exactText(step_) + " min between " + countedTime(before.time) + " and " +
                                    shownTime(row);
        if (gaps_ == GapRule::Refuse)
            fail(row.line, "gap: " + counted + "; to fill gaps with dry steps, ask for it (vesk: --fill-gaps zero; "
                                               "Python: fill_gaps=\"zero\")");
        storm_.gaps.push_back(FilledGap{(rowsOfAProgram_ ? "row " : "line ") + std::to_string(row.line),
                                        countedTime(before.time), missing});
        depths.insert(depths.end(), missing, 0.0);
    }

    double inches(int line, double value) const {
        if (!intensities()) return toLibraryUnits(value, Quantity::Depth, storm_.units);
        const double depth = toLibraryUnits(value * step_ / 60.0, Quantity::Depth, storm_.units);
        if (depth > kMaxStepDepthInches)
            fail(line, "rain intensity " + exactText(value) + " " + unitName(Quantity::Rate, storm_.units) +
                           " over a " + exactText(step_) + "-minute step is " + exactText(depth) +
                           " in, beyond the " + exactText(kMaxStepDepthInches) + " in (" +
                           exactText(kMaxStepDepthInches * kMillimetresPerInch) +
                           " mm) a run accepts in one step; is it in the unit intended?");
        return depth;
    }

    std::optional<UnitSystem> requested_;
    GapRule gaps_;
    bool rowsOfAProgram_;
    Storm storm_;
    std::vector<TimedRow> rows_;
    std::vector<double> values_; // as given, in the header's unit
    TimeUnit timeUnit_ = TimeUnit::Minutes;
    std::string timeNamed_; // the header's time_min or time_h, if it names one
    bool dated_ = false;
    std::size_t columns_ = 0;
    double givenStep_ = 0.0;
    double step_ = 0.0;
    std::size_t leadingDrySteps_ = 0;
};

std::string stormNameOfPath(const std::string &path) {
    if (path == kStandardInput) return "standard input";
    std::string name = path.substr(path.find_last_of('/') + 1);
    if (name.size() > 4 && lowered(name.substr(name.size() - 4)) == ".csv") name.resize(name.size() - 4);
    return name;
}

StormSet parseStormLines(const std::vector<std::string> &lines, const std::string &path, const StormReading &reading) {
    StormSet set;
    set.path = path;
    std::vector<std::string_view> header;
    int headerLine = 0;
    bool seenFirstRow = false;
    StormParser single(path, reading);
    std::vector<std::pair<std::string, StormParser>> named;
    std::set<std::string> names;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const int line = static_cast<int>(n) + 1;
        if (isBlankOrComment(lines[n])) continue;
        std::vector<std::string_view> fields = splitFields(lines[n]);
        if (!seenFirstRow) {
            seenFirstRow = true;
            if (isHeaderRow(fields)) { // a header names the columns
                set.named = lowered(fields.front()) == "storm";
                if (set.named && fields.size() < 2)
                    throw inputErrorAt(path, line, "a storm set names its storms and then the columns of each");
                header.assign(fields.begin() + (set.named ? 1 : 0), fields.end());
                headerLine = line;
                if (!set.named) single.takeHeader(header, line);
                continue;
            }
        }
        if (!set.named) {
            single.takeRow(fields, line);
            continue;
        }
        const std::string name(fields.front());
        if (const std::optional<std::string> fault = stormNameFault(name)) throw inputErrorAt(path, line, *fault);
        if (fields.size() < 2) throw inputErrorAt(path, line, "storm '" + name + "' has no values in this row");
        if (named.empty() || named.back().first != name) {
            if (!names.insert(name).second)
                throw inputErrorAt(path, line, "storm '" + name + "' appears again after storm '" +
                                                       named.back().first + "'; keep each storm's rows together");
            named.emplace_back(name, StormParser(path, reading));
            named.back().second.takeHeader(header, headerLine);
        }
        named.back().second.takeRow({fields.begin() + 1, fields.end()}, line);
    }
    if (!set.named) {
        set.storms.push_back(NamedStorm{stormNameOfPath(path), single.finish()});
        return set;
    }
    if (named.empty()) throw inputErrorIn(path, "holds no rain depths");
    for (auto &[name, parser] : named) set.storms.push_back(NamedStorm{name, parser.finish()});
    return set;
}

Storm onlyStorm(StormSet set) {
    if (set.named)
        throw inputErrorIn(set.path, "names its storms in a storm column: it is a storm set, which vesk run and "
                                     "vesk check take as it is (Python: vesk.read_storms)");
    return std::move(set.storms.front().storm);
}

StormReading inUnits(std::optional<UnitSystem> units) {
    StormReading reading;
    reading.units = units;
    return reading;
}

} // namespace

std::size_t Storm::filledSteps() const {
    std::size_t steps = 0;
    for (const FilledGap &gap : gaps) steps += gap.steps;
    return steps;
}

std::optional<std::string> stormNameFault(const std::string &name) {
    if (name.empty()) return "a storm's name is empty";
    if (name.size() > 255) return "the storm name '" + name.substr(0, 32) + "...' is longer than 255 bytes";
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7f) return "the storm name '" + name + "' holds a control character";
    return std::nullopt;
}

Warnings gapNotes(const Storm &storm) {
    if (storm.gaps.empty()) return {};
    const std::size_t steps = storm.filledSteps();
    std::string text = storm.path + ": " + std::to_string(steps) + (steps == 1 ? " missing step" : " missing steps") +
                       " filled with dry steps, in " + std::to_string(storm.gaps.size()) +
                       (storm.gaps.size() == 1 ? " gap: " : " gaps: ");
    constexpr std::size_t kListed = 5;
    for (std::size_t i = 0; i < storm.gaps.size() && i < kListed; ++i) {
        const FilledGap &gap = storm.gaps[i];
        text += (i > 0 ? "; " : "") + gap.where + " (" + std::to_string(gap.steps) + " after " + gap.after + ")";
    }
    if (storm.gaps.size() > kListed) text += "; and " + std::to_string(storm.gaps.size() - kListed) + " more";
    return {Warning{WarningCause::GapsFilled, "", text}};
}

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

StormSet parseStormsText(const std::string &text, const std::string &path, const StormReading &reading) {
    return parseStormLines(splitTextLines(text, path), path, reading);
}

StormSet readStorms(const std::string &path, const StormReading &reading) {
    const std::string shown = path == kStandardInput ? kStandardInputName : path;
    return parseStormLines(readTextLines(path, "storm file"), shown, reading);
}

Storm parseStormText(const std::string &text, const std::string &path, const StormReading &reading) {
    return onlyStorm(parseStormsText(text, path, reading));
}

Storm parseStormText(const std::string &text, const std::string &path, std::optional<UnitSystem> units) {
    return parseStormText(text, path, inUnits(units));
}

Storm parseStorm(std::istream &in, const std::string &path, std::optional<UnitSystem> units) {
    std::ostringstream text;
    text << in.rdbuf();
    return parseStormText(text.str(), path, units);
}

Storm readStorm(const std::string &path, const StormReading &reading) { return onlyStorm(readStorms(path, reading)); }

Storm readStorm(const std::string &path, std::optional<UnitSystem> units) { return readStorm(path, inUnits(units)); }

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

Storm stormOfTimes(const std::vector<long long> &seconds, const std::vector<double> &values, long long stepSeconds,
                   const std::string &column, const StormReading &reading, const std::string &origin) {
    if (seconds.size() != values.size())
        throw inputErrorIn(origin, std::to_string(seconds.size()) + " times for " + std::to_string(values.size()) +
                                       " values");
    StormParser parser(origin, reading, true);
    if (!column.empty()) parser.takeValueHeader(lowered(column), 0);
    if (stepSeconds != 0) {
        if (stepSeconds < 60 || stepSeconds % 60 != 0 || stepSeconds > 1440 * 60)
            throw inputErrorIn(origin, "the step of " + std::to_string(stepSeconds) +
                                           " s is not a whole number of minutes from 1 to 1440");
        parser.setStep(stepSeconds / 60);
    }
    const long long first = civilMinute(1, 1, 1, 0, 0) * 60, last = civilMinute(9999, 12, 31, 23, 59) * 60;
    for (std::size_t i = 0; i < seconds.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        if (seconds[i] < first || seconds[i] > last)
            throw InputError(origin + ": row " + std::to_string(row) + ": the time lies outside the years 0001 to 9999");
        if (seconds[i] % 60 != 0)
            throw InputError(origin + ": row " + std::to_string(row) + ": time " + dateTimeText(seconds[i] / 60) +
                             " has seconds; times are whole minutes (seconds must be 00)");
        parser.takeDatedRow(row, seconds[i] / 60, values[i]);
    }
    return parser.finish();
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
