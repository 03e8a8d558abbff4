#include "hydrograph_csv.h"

#include "number_text.h"
#include "text_escapes.h"
#include "units.h"

namespace vesk::host {

namespace {

void headerRow(std::ostream &out, const RunResult &result, bool events) {
    const bool si = result.units == UnitSystem::Si;
    out << (events ? "event," : "") << (si ? "time_min,rain_mm" : "time_min,rain_in");
    for (const BasinRun &basin : result.basins) out << ',' << csvField(basin.name + (si ? "_m3s" : "_cfs"));
    // Several basins: the outlet column sums their outflows.
    if (result.basins.size() > 1) out << (si ? ",outlet_m3s" : ",outlet_cfs");
    out << '\n';
}

// The rows of one run: a dry row at `start`, then one row per step.
void stepRows(std::ostream &out, const RunResult &result, const std::string &lead, long long start) {
    const bool outlet = result.basins.size() > 1;
    out << lead << start << ",0";
    for (std::size_t b = 0; b < result.basins.size() + (outlet ? 1 : 0); ++b) out << ",0";
    out << '\n';
    for (std::size_t k = 0; k < result.rain.size(); ++k) {
        out << lead << start + static_cast<long long>((k + 1) * static_cast<std::size_t>(result.reportStep)) << ','
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
    headerRow(out, result, false);
    stepRows(out, result, "", 0);
}

void writeEventHydrographCsv(std::ostream &out, const std::vector<EventRun> &events) {
    if (events.empty()) return;
    headerRow(out, events.front().result, true);
    for (const EventRun &event : events)
        stepRows(out, event.result, std::to_string(event.number) + ",", event.startMinute);
}

void writeOrdinatesCsv(std::ostream &out, const std::string &name, int step, const std::vector<double> &ordinates,
                       UnitSystem units) {
    out << "time_min," << csvField(name + (units == UnitSystem::Si ? "_m3s_per_mm" : "_cfs_per_in")) << '\n';
    for (std::size_t i = 0; i < ordinates.size(); ++i)
        out << (i + 1) * static_cast<std::size_t>(step) << ','
            << exactText(fromLibraryUnits(ordinates[i], Quantity::UnitFlow, units)) << '\n';
}

} // namespace vesk::host
