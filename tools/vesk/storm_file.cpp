#include "storm_file.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>

#include "input_error.h"
#include "number_text.h"

namespace vesk::tool {

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

// Times are compared with a small tolerance: files written by spreadsheets
// carry values such as 14.999999999.
constexpr double kTimeTolerance = 1e-6;

class StormParser {
public:
    explicit StormParser(const std::string &path) { storm_.path = path; }

    void takeLine(std::string_view line, int number) {
        // Spreadsheets may start a UTF-8 file with a byte-order mark; left in,
        // it would turn the first row into a header and lose its depth.
        constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
        if (number == 1 && line.substr(0, byteOrderMark.size()) == byteOrderMark)
            line.remove_prefix(byteOrderMark.size());
        if (isBlankOrComment(line)) return;
        const std::vector<std::string_view> fields = splitFields(line);
        if (!seenFirstRow_) {
            seenFirstRow_ = true;
            if (!parseReal(fields.front())) return; // a header names the columns
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
        storm_.depths.push_back(depth(number, fields.back()));
    }

    Storm finish() {
        if (storm_.depths.empty()) throw inputErrorIn(storm_.path, "holds no rain depths");
        if (columns_ == 2) {
            if (timeRows_ == 1) checkStep(firstLine_);
            storm_.stepMinutes = static_cast<int>(std::lround(step_));
        }
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

    double depth(int line, std::string_view field) const {
        const double value = number(line, field, "rain depth");
        if (value < 0.0)
            throw inputErrorAt(storm_.path, line, "rain depth " + std::string(field) + " is negative");
        return value;
    }

    // The first two rows fix the step (a single row: its time is the step);
    // every row must then end exactly one step after the row before.  A first
    // time later than one step means dry steps before it.
    void takeTime(int line, std::string_view field) {
        const double time = number(line, field, "time");
        if (time > kMaxRunMinutes)
            throw inputErrorAt(storm_.path, line,
                               "time " + std::string(field) + " min lies beyond the " +
                                   std::to_string(kMaxRunMinutes) + " minutes vesk simulates");
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
                               "times must increase: " + std::string(field) + " min follows " + exactText(lastTime_) + " min");
        if (timeRows_ == 2) {
            step_ = time - lastTime_;
            checkStep(line);
            padLeadingDrySteps(line);
        } else if (std::fabs(time - lastTime_ - step_) > kTimeTolerance) {
            throw inputErrorAt(storm_.path, line,
                               "uneven time step: " + std::string(field) + " min should be " +
                                   exactText(lastTime_ + step_) + " (steps of " + exactText(step_) + " min)");
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
        storm_.depths.insert(storm_.depths.begin(), static_cast<std::size_t>(dry), 0.0);
    }

    Storm storm_;
    bool seenFirstRow_ = false;
    std::size_t columns_ = 0;
    int timeRows_ = 0;
    int firstLine_ = 0;
    double firstTime_ = 0.0;
    double lastTime_ = 0.0;
    double step_ = 0.0;
};

} // namespace

Storm parseStorm(std::istream &in, const std::string &path) {
    StormParser parser(path);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) parser.takeLine(line, number);
    if (in.bad()) throw inputErrorIn(path, "read error");
    return parser.finish();
}

Storm readStorm(const std::string &path) {
    // A directory opens as a stream on Linux and reads as if empty.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored))
        throw inputErrorIn(path, "is a directory, not a storm file");
    std::ifstream in(path);
    if (!in) throw inputErrorIn(path, std::string("cannot open the storm file: ") + std::strerror(errno));
    return parseStorm(in, path);
}

} // namespace vesk::tool
