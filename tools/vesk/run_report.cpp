#include "run_report.h"

#include <cmath>

#include "number_text.h"
#include "text_table.h"
#include "volume_checks.h"

namespace vesk::tool {

namespace {

std::string percentText(double ratio) {
    return std::isfinite(ratio) ? fixedText(100.0 * ratio, 1) + " %" : std::string("-");
}

std::string coarseStepCause(const BasinInput &prepared, int step) {
    return "likely cause: the " + std::to_string(step) + "-minute step is coarse for the basin's " +
           fixedText(prepared.uhPeakTime, 1) + "-minute time to peak";
}

} // namespace

BasinSummary summarize(const BasinRun &basin, const std::vector<double> &rain, int timeStep) {
    BasinSummary summary;
    for (std::size_t k = 0; k < basin.outflow.size(); ++k) {
        if (basin.outflow[k] > summary.peakOutflow) { // strictly: the first of equal peaks
            summary.peakOutflow = basin.outflow[k];
            summary.peakTime = static_cast<double>((k + 1) * static_cast<std::size_t>(timeStep));
        }
    }
    double rainDepth = 0.0;
    for (double depth : rain) rainDepth += depth;
    const double area = basin.prepared.area;
    summary.rainVolume = depthVolume(rainDepth, area);
    summary.runoffVolume = outflowCheck(basin.outflow, timeStep, basin.stepExcess, area).expected;
    summary.runoffCoefficient = summary.rainVolume > 0.0 ? summary.runoffVolume / summary.rainVolume : 0.0;
    return summary;
}

std::vector<std::string> unitHydrographWarnings(const std::string &name, const BasinInput &prepared,
                                                const std::vector<double> &ordinates) {
    const int uhStep = prepared.shape.uhTimeStep;
    const VolumeCheck check = unitHydrographCheck(ordinates, uhStep, prepared.area);
    if (!check.off()) return {};
    return {"basin " + name + ": the sampled unit hydrograph holds " + percentText(check.ratio()) +
            " of one inch over the basin (" + fixedText(check.actual, 3) + " of " + fixedText(check.expected, 3) +
            " acre-ft); " + coarseStepCause(prepared, uhStep) + " (try a smaller uhTimeStep)."};
}

std::vector<std::string> runWarnings(const RunResult &result) {
    std::vector<std::string> warnings;
    for (const BasinRun &basin : result.basins) {
        for (std::string &w : unitHydrographWarnings(basin.name, basin.prepared, basin.ordinates))
            warnings.push_back(std::move(w));
        const VolumeCheck check =
            outflowCheck(basin.outflow, result.timeStep, basin.stepExcess, basin.prepared.area);
        if (!check.off()) continue;
        std::string cause;
        const bool stillFlowing = !basin.outflow.empty() && basin.outflow.back() != 0.0;
        if (result.end != RunEnd::Dry && stillFlowing)
            cause = "likely cause: the run stopped while the basin was still draining (lengthen --duration).";
        else if (result.timeStep != basin.prepared.shape.uhTimeStep)
            cause = "likely cause: the " + std::to_string(result.timeStep) +
                    "-minute time step differs from the basin's " +
                    std::to_string(basin.prepared.shape.uhTimeStep) +
                    "-minute uhTimeStep; the library takes one ordinate per step, so the hydrograph is "
                    "stretched or squeezed in time.";
        else
            cause = coarseStepCause(basin.prepared, result.timeStep) + ".";
        warnings.push_back("basin " + basin.name + ": the outflow hydrograph holds " + percentText(check.ratio()) +
                           " of the run's excess volume (" + fixedText(check.actual, 3) + " of " +
                           fixedText(check.expected, 3) + " acre-ft); " + cause);
    }
    for (const BasinRun &basin : result.basins)
        if (result.end == RunEnd::StepLimit)
            warnings.push_back("basin " + basin.name +
                               ": the outflow did not come back to 0 after the unit hydrograph ended.");
    if (result.stormStepsCut > 0)
        warnings.push_back("the last " + std::to_string(result.stormStepsCut) +
                           " storm steps lie beyond --duration and were not applied.");
    return warnings;
}

void printRunSummary(std::ostream &out, const RunResult &result) {
    std::vector<std::string> header{"basin", ""};
    for (const BasinRun &basin : result.basins) header.push_back(basin.name);
    TextTable table(header);
    auto row = [&](const std::string &label, const std::string &unit, auto cell) {
        std::vector<std::string> cells{label, unit};
        for (const BasinRun &basin : result.basins)
            cells.push_back(cell(basin, summarize(basin, result.rain, result.timeStep)));
        table.addRow(std::move(cells));
    };
    using S = const BasinSummary &;
    using B = const BasinRun &;
    row("area", "sq mi", [](B b, S) { return fixedText(b.prepared.area, 3); });
    row("imperviousness", "%", [](B b, S) { return fixedText(b.prepared.imperviousPct, 1); });
    row("DCIF used", "", [](B b, S) { return fixedText(b.prepared.dcif, 3); });
    row("RPF used", "", [](B b, S) { return fixedText(b.prepared.rpf, 3); });
    row("CT", "", [](B b, S) { return fixedText(b.prepared.shape.ct, 4); });
    row("CP", "", [](B b, S) { return fixedText(b.prepared.shape.cp, 4); });
    row("unit hydrograph peak", "cfs/in", [](B b, S) { return fixedText(b.prepared.uhPeakRate, 1); });
    row("unit hydrograph peak time", "min", [](B b, S) { return fixedText(b.prepared.uhPeakTime, 1); });
    row("unit hydrograph volume", "% of 1 in", [](B b, S) {
        return percentText(unitHydrographCheck(b.ordinates, b.prepared.shape.uhTimeStep, b.prepared.area).ratio());
    });
    row("peak outflow", "cfs", [](B, S s) { return fixedText(s.peakOutflow, 2); });
    row("peak outflow time", "min", [](B, S s) { return fixedText(s.peakTime, 0); });
    row("rain volume", "acre-ft", [](B, S s) { return fixedText(s.rainVolume, 3); });
    row("runoff volume", "acre-ft", [](B, S s) { return fixedText(s.runoffVolume, 3); });
    const int step = result.timeStep;
    row("outflow volume", "acre-ft", [step](B b, S) { return fixedText(hydrographVolume(b.outflow, step), 3); });
    row("runoff coefficient", "", [](B, S s) { return fixedText(s.runoffCoefficient, 3); });

    double rainDepth = 0.0;
    for (double depth : result.rain) rainDepth += depth;
    out << "storm: " << fixedText(rainDepth, 2) << " in, " << result.rain.size() << " steps of " << step
        << " min (" << result.rain.size() * static_cast<std::size_t>(step) << " min simulated)\n\n";
    table.print(out);
    for (const std::string &warning : runWarnings(result)) out << "\nwarning: " << warning << '\n';
}

void printUnitHydrograph(std::ostream &out, const std::string &name, const BasinInput &p,
                         const std::vector<double> &ordinates) {
    const ShapeParameters &s = p.shape;
    out << "basin " << name << " as prepared by the library\n\n";
    TextTable parameters({"parameter", "unit", "value"});
    auto add = [&](const char *label, const char *unit, const std::string &value) {
        parameters.addRow({label, unit, value});
    };
    add("area", "sq mi", exactText(p.area));
    add("length", "mi", exactText(p.length));
    add("centroidLength", "mi", exactText(p.centroidLength));
    add("slope", "ft/ft", exactText(p.slope));
    add("imperviousPct", "%", exactText(p.imperviousPct));
    add("disconnectionLevel", "", std::to_string(p.disconnectionLevel));
    add("dcif", "", exactText(p.dcif));
    add("rpf", "", exactText(p.rpf));
    add("imperviousDepressionStorage", "in", exactText(p.imperviousDepressionStorage));
    add("perviousDepressionStorage", "in", exactText(p.perviousDepressionStorage));
    add("initialInfiltrationRate", "in/h", exactText(p.initialInfiltrationRate));
    add("finalInfiltrationRate", "in/h", exactText(p.finalInfiltrationRate));
    add("infiltrationDecay", "1/s", exactText(p.infiltrationDecay));
    add("ct", "", exactText(s.ct));
    add("cp", "", exactText(s.cp));
    add("width50", "min", exactText(s.width50));
    add("width75", "min", exactText(s.width75));
    add("rise50Fraction", "", exactText(s.rise50Fraction));
    add("rise75Fraction", "", exactText(s.rise75Fraction));
    add("uhTimeStep", "min", std::to_string(s.uhTimeStep));
    add("uhPeakTime", "min", exactText(p.uhPeakTime));
    add("unitPeakRate", "cfs/sq mi", exactText(p.unitPeakRate));
    add("uhPeakRate", "cfs/in", exactText(p.uhPeakRate));
    add("unitRunoffVolume", "acre-ft", exactText(p.unitRunoffVolume));
    parameters.print(out);

    const VolumeCheck check = unitHydrographCheck(ordinates, s.uhTimeStep, p.area);
    out << "\nunit hydrograph: " << ordinates.size() << " ordinates every " << s.uhTimeStep
        << " min, volume " << fixedText(check.actual, 3) << " acre-ft = " << percentText(check.ratio())
        << " of one inch over the basin (" << fixedText(check.expected, 3) << " acre-ft)\n\n";
    TextTable table({"index", "time min", "cfs per in"}, 0);
    for (std::size_t i = 0; i < ordinates.size(); ++i)
        table.addRow({std::to_string(i), std::to_string((i + 1) * static_cast<std::size_t>(s.uhTimeStep)),
                      exactText(ordinates[i])});
    table.print(out);
    for (const std::string &warning : unitHydrographWarnings(name, p, ordinates))
        out << "\nwarning: " << warning << '\n';
}

} // namespace vesk::tool
