#include "run_report.h"

#include <cmath>
#include <functional>

#include "civil_time.h"
#include "input_error.h"
#include "number_text.h"
#include "summary_columns.h"
#include "text_table.h"
#include "volume_checks.h"

namespace vesk::tool {

namespace {

// Up to this many basins the summary has a column per basin (and one for
// the outlet); beyond it, a row per basin, so it stays readable at hundreds.
constexpr std::size_t kColumnLayoutBasins = 4;

} // namespace

void printRunSummary(std::ostream &out, const RunResult &result, bool exact) {
    BasinRun outlet;
    const BasinSummary atOutlet = outletSummary(result, outlet);
    auto summaryOf = [&](const BasinRun *basin) { return basin ? summarize(*basin, result) : atOutlet; };
    auto cellOf = [&](const SummaryColumn &figure, const BasinRun *basin) { return figure.cell(basin, summaryOf(basin)); };
    const std::vector<const BasinRun *> order = summaryOrder(result);
    const std::vector<SummaryColumn> all = summaryColumns(result, outlet.prepared.area, exact);
    if (result.basins.size() <= kColumnLayoutBasins) {
        std::vector<std::string> header{"basin", ""};
        for (const BasinRun *basin : order) header.push_back(basin ? shownName(basin->name) : "outlet");
        TextTable table(header);
        for (const SummaryColumn &figure : all) {
            std::vector<std::string> cells{figure.label, figure.unit};
            for (const BasinRun *basin : order) cells.push_back(cellOf(figure, basin));
            table.addRow(std::move(cells));
        }
        printStormLine(out, result);
        table.print(out);
        return;
    }
    std::vector<std::string> header{"basin"};
    for (const SummaryColumn &figure : all)
        if (figure.rowLayout) header.push_back(figure.shortLabel);
    TextTable table(header, 1);
    for (const BasinRun *basin : order) {
        std::vector<std::string> cells{basin ? shownName(basin->name) : "outlet"};
        for (const SummaryColumn &figure : all)
            if (figure.rowLayout) cells.push_back(cellOf(figure, basin));
        table.addRow(std::move(cells));
    }
    printStormLine(out, result);
    table.print(out);
}

void printStormLine(std::ostream &out, const RunResult &result) {
    const UnitSystem units = result.units;
    const std::size_t minutes = result.rain.size() * static_cast<std::size_t>(result.reportStep);
    out << "storm: " << shownText(fromLibraryUnits(result.rainDepth, Quantity::Depth, units)) << " "
        << unitName(Quantity::Depth, units) << ", " << minutes / static_cast<std::size_t>(result.dataStep)
        << " steps of " << result.dataStep << " min (" << minutes << " min simulated";
    if (result.reportStep != result.dataStep) out << ", reported every " << result.reportStep << " min";
    if (result.start) out << ", from " << dateTimeText(*result.start);
    out << "); each basin computed at a step that divides it and samples its unit hydrograph within "
        << shownText(100.0 * result.rule.volumeTolerance) << " % of " << oneInch(units) << "\n\n";
}

void printEventSummary(std::ostream &out, const std::vector<EventRun> &events, bool exact) {
    if (events.empty()) return;
    const UnitSystem units = events.front().result.units;
    const std::string depth = unitName(Quantity::Depth, units), flow = unitName(Quantity::Flow, units),
                      volume = unitName(Quantity::Volume, units);
    // A dated record's events start at a date-time.
    const bool dated = events.front().result.start.has_value();
    TextTable table({"event", dated ? "start" : "start min", "basin", "rain " + depth, "peak " + flow,
                     "peak time min", "runoff " + volume, "outflow " + volume},
                    3);
    for (const EventRun &event : events) {
        const RunResult &r = event.result;
        const double rain = r.rainDepth;
        for (const BasinRun &basin : r.basins) {
            const BasinSummary s = summarize(basin, r);
            table.addRow({std::to_string(event.number),
                          dated ? dateTimeText(*r.start) : std::to_string(event.startMinute), basin.name,
                          shownText(fromLibraryUnits(rain, Quantity::Depth, units), exact),
                          shownText(fromLibraryUnits(s.peakOutflow, Quantity::Flow, units), exact),
                          shownText(static_cast<double>(event.startMinute) + s.peakTime, exact),
                          shownText(fromLibraryUnits(s.runoffVolume, Quantity::Volume, units), exact),
                          shownText(fromLibraryUnits(s.outflowVolume, Quantity::Volume, units), exact)});
        }
    }
    out << events.size() << " event(s), each run from fresh basins\n\n";
    table.print(out);
}

void printStormPeaks(std::ostream &out, const std::vector<StormRun> &runs, bool exact) {
    if (runs.empty()) return;
    const UnitSystem units = runs.front().result.units;
    std::vector<std::string> header{"basin"};
    for (const StormRun &run : runs) header.push_back(run.name);
    TextTable table(header, 1);
    auto flow = [&](double cfs) { return shownText(fromLibraryUnits(cfs, Quantity::Flow, units), exact); };
    const std::vector<BasinRun> &basins = runs.front().result.basins;
    if (basins.size() > 1) {
        std::vector<std::string> cells{"outlet"};
        for (const StormRun &run : runs) cells.push_back(flow(run.result.outletPeak));
        table.addRow(std::move(cells));
    }
    for (std::size_t b = 0; b < basins.size(); ++b) {
        std::vector<std::string> cells{basins[b].name};
        for (const StormRun &run : runs) cells.push_back(flow(run.result.basins[b].peakOutflow));
        table.addRow(std::move(cells));
    }
    out << runs.size() << " storms, each run from fresh basins: peak outflow, " << unitName(Quantity::Flow, units)
        << (basins.size() > 1 ? " (the outlet: the sum of the basins' outflows)" : "") << "\n\n";
    table.print(out);
}

void printUnitHydrograph(std::ostream &out, const std::string &name, const BasinInput &p,
                         const std::vector<double> &ordinates, UnitSystem units) {
    const ShapeParameters &s = p.shape;
    out << "basin " << name << " as prepared by the library\n\n";
    TextTable parameters({"parameter", "unit", "value"});
    auto add = [&](const char *label, const std::string &unit, const std::string &value) {
        parameters.addRow({label, unit, value});
    };
    // A library value in the report's units, exactly.
    auto value = [&](const char *label, Quantity quantity, double v) {
        add(label, unitName(quantity, units), exactText(fromLibraryUnits(v, quantity, units)));
    };
    value("area", Quantity::Area, p.area);
    value("length", Quantity::Length, p.length);
    value("centroidLength", Quantity::Length, p.centroidLength);
    add("slope", "ft/ft", exactText(p.slope));
    add("imperviousPct", "%", exactText(p.imperviousPct));
    add("disconnectionLevel", "", std::to_string(p.disconnectionLevel));
    add("dcif", "", exactText(p.dcif));
    add("rpf", "", exactText(p.rpf));
    value("imperviousDepressionStorage", Quantity::Depth, p.imperviousDepressionStorage);
    value("perviousDepressionStorage", Quantity::Depth, p.perviousDepressionStorage);
    value("initialInfiltrationRate", Quantity::Rate, p.initialInfiltrationRate);
    value("finalInfiltrationRate", Quantity::Rate, p.finalInfiltrationRate);
    add("infiltrationDecay", "1/s", exactText(p.infiltrationDecay));
    add("ct", "", exactText(s.ct));
    add("cp", "", exactText(s.cp));
    add("width50", "min", exactText(s.width50));
    add("width75", "min", exactText(s.width75));
    add("rise50Fraction", "", exactText(s.rise50Fraction));
    add("rise75Fraction", "", exactText(s.rise75Fraction));
    add("uhTimeStep", "min", std::to_string(s.uhTimeStep));
    add("uhPeakTime", "min", exactText(p.uhPeakTime));
    add("unitPeakRate", units == UnitSystem::Si ? "m3/s/km2" : "cfs/sq mi",
        exactText(fromLibraryUnits(p.unitPeakRate, Quantity::Flow, units) /
                  fromLibraryUnits(1.0, Quantity::Area, units)));
    value("uhPeakRate", Quantity::UnitFlow, p.uhPeakRate);
    value("unitRunoffVolume", Quantity::Volume, p.unitRunoffVolume);
    parameters.print(out);

    const VolumeCheck check = unitHydrographCheck(ordinates, s.uhTimeStep, p.area);
    const std::string volume = unitName(Quantity::Volume, units);
    const int volumeDecimals = units == UnitSystem::Si ? 1 : 3;
    out << "\nunit hydrograph: " << ordinates.size() << " ordinates every " << s.uhTimeStep << " min, volume "
        << fixedText(fromLibraryUnits(check.actual, Quantity::Volume, units), volumeDecimals) << " " << volume
        << " = " << percentText(check.ratio()) << " of " << oneInch(units) << " over the basin ("
        << fixedText(fromLibraryUnits(check.expected, Quantity::Volume, units), volumeDecimals) << " " << volume
        << ")\n\n";
    TextTable table({"index", "time min", units == UnitSystem::Si ? "m3/s per mm" : "cfs per in"}, 0);
    for (std::size_t i = 0; i < ordinates.size(); ++i)
        table.addRow({std::to_string(i), std::to_string((i + 1) * static_cast<std::size_t>(s.uhTimeStep)),
                      exactText(fromLibraryUnits(ordinates[i], Quantity::UnitFlow, units))});
    table.print(out);
}

} // namespace vesk::tool
