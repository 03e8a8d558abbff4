#include "summary_report.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "hydrograph_csv.h"
#include "number_text.h"
#include "run_summary.h"
#include "units.h"
#include "volume_checks.h"

namespace vesk::host {

namespace {

struct Figure {
    std::string name; // with its unit
    std::function<double(const BasinRun &, const BasinSummary &)> value;
};

// "peak_outflow" + Flow -> "peak_outflow_cfs" or "peak_outflow_m3s".
std::string named(const char *stem, Quantity quantity, UnitSystem units) {
    std::string unit = unitName(quantity, units);
    for (char &c : unit) c = (c == ' ' || c == '/' || c == '-') ? '_' : c;
    if (unit == "m3_s") unit = "m3s";
    if (unit == "m3_s_mm") unit = "m3s_per_mm";
    if (unit == "cfs_in") unit = "cfs_per_in";
    return unit.empty() ? stem : std::string(stem) + "_" + unit;
}

std::vector<Figure> figures(const RunResult &result, double startMinute = 0.0) {
    const UnitSystem u = result.units;
    const int step = result.timeStep;
    using B = const BasinRun &;
    using S = const BasinSummary &;
    auto in = [u](double value, Quantity quantity) { return fromLibraryUnits(value, quantity, u); };
    return {
        {named("area", Quantity::Area, u), [=](B b, S) { return in(b.prepared.area, Quantity::Area); }},
        {"imperviousness_pct", [](B b, S) { return b.prepared.imperviousPct; }},
        {"dcif_used", [](B b, S) { return b.prepared.dcif; }},
        {"rpf_used", [](B b, S) { return b.prepared.rpf; }},
        {"ct", [](B b, S) { return b.prepared.shape.ct; }},
        {"cp", [](B b, S) { return b.prepared.shape.cp; }},
        {named("uh_peak", Quantity::UnitFlow, u), [=](B b, S) { return in(b.prepared.uhPeakRate, Quantity::UnitFlow); }},
        {"uh_peak_time_min", [](B b, S) { return b.prepared.uhPeakTime; }},
        {"uh_volume_pct_of_1_in",
         [](B b, S) {
             return 100.0 * unitHydrographCheck(b.ordinates, b.prepared.shape.uhTimeStep, b.prepared.area).ratio();
         }},
        {named("peak_outflow", Quantity::Flow, u), [=](B, S s) { return in(s.peakOutflow, Quantity::Flow); }},
        {"peak_outflow_time_min", [=](B, S s) { return startMinute + s.peakTime; }},
        {named("rain_volume", Quantity::Volume, u), [=](B, S s) { return in(s.rainVolume, Quantity::Volume); }},
        {named("runoff_volume", Quantity::Volume, u), [=](B, S s) { return in(s.runoffVolume, Quantity::Volume); }},
        {named("outflow_volume", Quantity::Volume, u),
         [=](B b, S) { return in(hydrographVolume(b.outflow, step), Quantity::Volume); }},
        {"runoff_coefficient", [](B, S s) { return s.runoffCoefficient; }},
    };
}

std::string jsonString(const std::string &text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') quoted += '\\', quoted += c;
        else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            quoted += escape;
        } else quoted += c;
    }
    return quoted + '"';
}

// The records of one run, each led by `lead` (empty, or the event's cells).
void csvRecords(std::ostream &out, const RunResult &result, const std::string &lead, double startMinute) {
    const std::vector<Figure> all = figures(result, startMinute);
    for (const BasinRun &basin : result.basins) {
        const BasinSummary summary = summarize(basin, result.rain, result.timeStep);
        out << lead << csvField(basin.name);
        for (const Figure &f : all) out << ',' << exactText(f.value(basin, summary));
        out << '\n';
    }
}

void csvHeader(std::ostream &out, const RunResult &result, bool events) {
    out << (events ? "event,start_min,basin" : "basin");
    for (const Figure &f : figures(result)) out << ',' << f.name;
    out << '\n';
}

void jsonRecords(std::ostream &out, const RunResult &result, const std::string &lead, double startMinute,
                 bool &first) {
    const std::vector<Figure> all = figures(result, startMinute);
    for (const BasinRun &basin : result.basins) {
        const BasinSummary summary = summarize(basin, result.rain, result.timeStep);
        out << (first ? "\n" : ",\n") << "  {" << lead << "\"basin\": " << jsonString(basin.name);
        first = false;
        for (const Figure &f : all) {
            const double value = f.value(basin, summary);
            out << ", " << jsonString(f.name) << ": " << (std::isfinite(value) ? exactText(value) : "null");
        }
        out << "}";
    }
}

std::string eventLead(const EventRun &event, bool json) {
    if (json)
        return "\"event\": " + std::to_string(event.number) + ", \"start_min\": " + std::to_string(event.startMinute) +
               ", ";
    return std::to_string(event.number) + "," + std::to_string(event.startMinute) + ",";
}

} // namespace

bool isJsonPath(const std::string &path) {
    if (path.size() < 5) return false;
    std::string ending = path.substr(path.size() - 5);
    for (char &c : ending) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ending == ".json";
}

void writeSummaryCsv(std::ostream &out, const RunResult &result) {
    csvHeader(out, result, false);
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
    csvHeader(out, events.front().result, true);
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

} // namespace vesk::host
