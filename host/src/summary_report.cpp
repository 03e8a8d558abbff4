#include "summary_report.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "civil_time.h"
#include "hydrograph_csv.h"
#include "text_escapes.h"
#include "number_text.h"
#include "run_summary.h"
#include "units.h"
#include "volume_checks.h"

namespace vesk::host {

namespace {

// The named records of one run: the outlet first when several basins meet
// there (its figures only a basin has are not numbers), then each basin.
std::vector<std::pair<std::string, std::vector<double>>> records(const RunResult &result, double startMinute) {
    std::vector<std::pair<std::string, std::vector<double>>> found;
    if (result.basins.size() > 1) found.emplace_back("outlet", outletFigures(result, startMinute));
    for (const BasinRun &basin : result.basins) found.emplace_back(basin.name, summaryFigures(result, basin, startMinute));
    return found;
}

// A figure of a CSV record: empty where the record has no such figure.
std::string csvFigure(double figure) { return std::isfinite(figure) ? exactText(figure) : std::string(); }

// The records of one run, each led by `lead` (empty, or the event's cells).
void csvRecords(std::ostream &out, const RunResult &result, const std::string &lead, double startMinute) {
    for (const auto &[name, figures] : records(result, startMinute)) {
        out << lead << csvField(name);
        for (double figure : figures) out << ',' << csvFigure(figure);
        out << '\n';
    }
}

// The columns before a record's figures: "basin", or an event's or a
// storm's cells and then "basin".
void csvHeader(std::ostream &out, const RunResult &result, const std::string &lead) {
    out << lead << "basin";
    for (const SummaryField &field : summaryFields(result.units)) out << ',' << field.name;
    out << '\n';
}

void jsonRecords(std::ostream &out, const RunResult &result, const std::string &lead, double startMinute,
                 bool &first) {
    const std::vector<SummaryField> &fields = summaryFields(result.units);
    for (const auto &[name, figures] : records(result, startMinute)) {
        out << (first ? "\n" : ",\n") << "  {" << lead << "\"basin\": " << jsonString(name);
        first = false;
        for (std::size_t i = 0; i < fields.size(); ++i)
            out << ", " << jsonString(fields[i].name) << ": "
                << (std::isfinite(figures[i]) ? exactText(figures[i]) : "null");
        out << "}";
    }
}

// A dated record's events also give their start as a date-time.
std::string eventLead(const EventRun &event, bool json) {
    const std::optional<long long> &start = event.result.start;
    if (json)
        return "\"event\": " + std::to_string(event.number) +
               (start ? ", \"start\": " + jsonString(dateTimeText(*start)) : std::string()) +
               ", \"start_min\": " + std::to_string(event.startMinute) + ", ";
    return std::to_string(event.number) + "," + (start ? dateTimeText(*start) + "," : std::string()) +
           std::to_string(event.startMinute) + ",";
}

} // namespace

bool isJsonPath(const std::string &path) {
    if (path.size() < 5) return false;
    std::string ending = path.substr(path.size() - 5);
    for (char &c : ending) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ending == ".json";
}

void writeSummaryCsv(std::ostream &out, const RunResult &result) {
    csvHeader(out, result, "");
    csvRecords(out, result, "", 0.0);
}

void writeSummaryJson(std::ostream &out, const RunResult &result) {
    bool first = true;
    out << "[";
    jsonRecords(out, result, "", 0.0, first);
    out << "\n]\n";
}

void writeEventSummaryCsv(std::ostream &out, const std::vector<EventRun> &events) {
    if (events.empty()) return;
    csvHeader(out, events.front().result, events.front().result.start ? "event,start,start_min," : "event,start_min,");
    for (const EventRun &event : events)
        csvRecords(out, event.result, eventLead(event, false), static_cast<double>(event.startMinute));
}

void writeEventSummaryJson(std::ostream &out, const std::vector<EventRun> &events) {
    bool first = true;
    out << "[";
    for (const EventRun &event : events)
        jsonRecords(out, event.result, eventLead(event, true), static_cast<double>(event.startMinute), first);
    out << "\n]\n";
}

void writeStormSummaryCsv(std::ostream &out, const std::vector<StormRun> &runs) {
    if (runs.empty()) return;
    csvHeader(out, runs.front().result, "storm,");
    for (const StormRun &run : runs) csvRecords(out, run.result, csvField(run.name) + ",", 0.0);
}

void writeStormSummaryJson(std::ostream &out, const std::vector<StormRun> &runs) {
    bool first = true;
    out << "[";
    for (const StormRun &run : runs) jsonRecords(out, run.result, "\"storm\": " + jsonString(run.name) + ", ", 0.0, first);
    out << "\n]\n";
}

} // namespace vesk::host
