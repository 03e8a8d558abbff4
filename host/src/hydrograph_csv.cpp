#include "hydrograph_csv.h"

#include "civil_time.h"
#include "number_text.h"
#include "text_escapes.h"
#include "units.h"

namespace vesk::host {

namespace {

void headerRow(std::ostream &out, const RunResult &result, const std::string &lead, bool dated) {
    const bool si = result.units == UnitSystem::Si;
    out << lead << (dated ? "time," : "") << (si ? "time_min,rain_mm" : "time_min,rain_in");
    for (const BasinRun &basin : result.basins) out << ',' << csvField(basin.name + (si ? "_m3s" : "_cfs"));
    // Several basins: the outlet column sums their outflows.
    if (result.basins.size() > 1) out << (si ? ",outlet_m3s" : ",outlet_cfs");
    out << '\n';
}

// The date-time cell of a row `minutes` into the run (and its comma), when
// the file has a time column.
std::string dateCell(const RunResult &result, bool dated, long long minutes) {
    if (!dated) return "";
    return (result.start ? dateTimeText(*result.start + minutes) : std::string()) + ",";
}

// The rows of one run: a dry row at `start`, then one row per step.
void stepRows(std::ostream &out, const RunResult &result, const std::string &lead, long long start, bool dated) {
    const bool outlet = result.basins.size() > 1;
    out << lead << dateCell(result, dated, 0) << start << ",0";
    for (std::size_t b = 0; b < result.basins.size() + (outlet ? 1 : 0); ++b) out << ",0";
    out << '\n';
    for (std::size_t k = 0; k < result.rain.size(); ++k) {
        const long long minutes = static_cast<long long>((k + 1) * static_cast<std::size_t>(result.reportStep));
        out << lead << dateCell(result, dated, minutes) << start + minutes << ','
            << exactText(fromLibraryUnits(result.rain[k], Quantity::Depth, result.units));
        double sum = 0.0;
        for (const BasinRun &basin : result.basins) {
            out << ',' << exactText(fromLibraryUnits(basin.outflow[k], Quantity::Flow, result.units));
            sum += basin.outflow[k];
        }
        if (outlet) out << ',' << exactText(fromLibraryUnits(sum, Quantity::Flow, result.units));
        out << '\n';
    }
}

} // namespace

void writeHydrographCsv(std::ostream &out, const RunResult &result) {
    const bool dated = result.start.has_value();
    headerRow(out, result, "", dated);
    stepRows(out, result, "", 0, dated);
}

void writeEventHydrographCsv(std::ostream &out, const std::vector<EventRun> &events) {
    if (events.empty()) return;
    // Each event's dates count from its own start, as its minutes count from the record's.
    const bool dated = events.front().result.start.has_value();
    headerRow(out, events.front().result, "event,", dated);
    for (const EventRun &event : events)
        stepRows(out, event.result, std::to_string(event.number) + ",", event.startMinute, dated);
}

void writeStormHydrographCsv(std::ostream &out, const std::vector<StormRun> &runs) {
    if (runs.empty()) return;
    bool dated = false;
    for (const StormRun &run : runs) dated = dated || run.result.start.has_value();
    headerRow(out, runs.front().result, "storm,", dated);
    for (const StormRun &run : runs) stepRows(out, run.result, csvField(run.name) + ",", 0, dated);
}

void writeOrdinatesCsv(std::ostream &out, const std::string &name, int step, const std::vector<double> &ordinates,
                       UnitSystem units) {
    out << "time_min," << csvField(name + (units == UnitSystem::Si ? "_m3s_per_mm" : "_cfs_per_in")) << '\n';
    for (std::size_t i = 0; i < ordinates.size(); ++i)
        out << (i + 1) * static_cast<std::size_t>(step) << ','
            << exactText(fromLibraryUnits(ordinates[i], Quantity::UnitFlow, units)) << '\n';
}

} // namespace vesk::host
