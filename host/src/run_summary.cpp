#include "run_summary.h"

#include <cmath>
#include <utility>
#include <iterator>
#include <limits>
#include <string_view>

#include "input_error.h"
#include "number_text.h"
#include "units.h"
#include "volume_checks.h"

namespace vesk::host {

std::string percentText(double ratio) {
    return std::isfinite(ratio) ? fixedText(100.0 * ratio, 1) + " %" : std::string("-");
}

namespace {

std::string coarseStepCause(const BasinInput &prepared, int step) {
    return "likely cause: the " + std::to_string(step) + "-minute step is coarse for the basin's " +
           fixedText(prepared.uhPeakTime, 1) + "-minute time to peak";
}

} // namespace

namespace {

// Runoff over rain, 0 without rain.
double runoffCoefficient(double runoffVolume, double rainVolume) {
    return rainVolume > 0.0 ? runoffVolume / rainVolume : 0.0;
}

} // namespace

BasinSummary summarize(const BasinRun &basin, const RunResult &result) {
    BasinSummary summary;
    summary.peakOutflow = basin.peakOutflow;
    summary.peakTime = basin.peakTime;
    const double area = basin.prepared.area;
    summary.rainVolume = depthVolume(result.rainDepth, area);
    summary.runoffVolume = depthVolume(basin.excessDepth, area);
    summary.outflowVolume = flowSumVolume(basin.outflowSum, basin.computation.step);
    summary.runoffCoefficient = runoffCoefficient(summary.runoffVolume, summary.rainVolume);
    return summary;
}

namespace {

// "12.345 of 13.333 acre-ft", or in cubic metres.
std::string volumesText(double actual, double expected, UnitSystem units) {
    const int decimals = units == UnitSystem::Si ? 1 : 3;
    return fixedText(fromLibraryUnits(actual, Quantity::Volume, units), decimals) + " of " +
           fixedText(fromLibraryUnits(expected, Quantity::Volume, units), decimals) + " " +
           unitName(Quantity::Volume, units);
}

} // namespace

Warnings unitHydrographWarnings(const std::string &name, const BasinInput &prepared,
                                const std::vector<double> &ordinates, UnitSystem units) {
    const int uhStep = prepared.shape.uhTimeStep;
    const VolumeCheck check = unitHydrographCheck(ordinates, uhStep, prepared.area);
    if (!check.off()) return {};
    return {Warning{WarningCause::UnitHydrographVolume, name,
                    "basin " + name + ": the sampled unit hydrograph holds " + percentText(check.ratio()) +
                        " of " + oneInch(units) + " over the basin (" +
                        volumesText(check.actual, check.expected, units) +
                        "); " + coarseStepCause(prepared, uhStep) +
                        " (try a smaller uhTimeStep; a run chooses the step itself).",
                    percentText(check.ratio())}};
}

namespace {

// Why a finished run's outflow misses its excess: a run cut short, or else
// the sampled unit hydrograph (which the step choice holds within the
// tolerance, so this does not happen unless the library surprises).  The
// sentence, and a few words for a line that gathers many basins.
std::pair<std::string, std::string> outflowCause(const RunResult &result, const BasinRun &basin) {
    const bool stillFlowing = basin.lastOutflow != 0.0;
    if (result.end == RunEnd::RunLimit && stillFlowing)
        return {"cause: the run reached the " + std::to_string(kMaxRunMinutes) +
                    "-minute limit while the basin was still draining.",
                "still draining at the run's limit"};
    if (result.end != RunEnd::Dry && stillFlowing)
        return {"cause: the run stopped while the basin was still draining (lengthen the duration).",
                "still draining"};
    return {"cause: the unit hydrograph sampled at " + std::to_string(basin.computation.step) + " min holds " +
                percentText(basin.computation.volumeRatio) + " of " + oneInch(result.units) + ".",
            "unit hydrograph " + percentText(basin.computation.volumeRatio)};
}

} // namespace

Warnings runWarnings(const RunResult &result) {
    Warnings warnings;
    for (const BasinRun &basin : result.basins) {
        if (!basin.computation.peakResolved)
            warnings.push_back(Warning{
                WarningCause::PeakUnresolved, basin.name,
                "basin " + basin.name + ": its time to peak of " + fixedText(basin.computation.lagMinutes, 2) +
                    " min is short even for the " + std::to_string(basin.computation.step) +
                    "-minute step, the finest that holds its volume; its peak may be cut.",
                fixedText(basin.computation.lagMinutes, 2) + " min to peak"});
        const VolumeCheck check =
            outflowCheck(basin.outflowSum, basin.computation.step, basin.excessDepth, basin.prepared.area);
        if (!check.off(result.rule.volumeTolerance)) continue;
        const std::pair<std::string, std::string> cause = outflowCause(result, basin);
        warnings.push_back(Warning{WarningCause::OutflowVolume, basin.name,
                                   "basin " + basin.name + ": the outflow hydrograph holds " +
                                       percentText(check.ratio()) + " of the run's excess volume (" +
                                       volumesText(check.actual, check.expected, result.units) + "); " +
                                       cause.first,
                                   percentText(check.ratio()) + ", " + cause.second});
    }
    for (const BasinRun &basin : result.basins)
        if (result.end == RunEnd::StepLimit)
            warnings.push_back(Warning{WarningCause::StillFlowing, basin.name,
                                       "basin " + basin.name +
                                           ": the outflow did not come back to 0 after the unit hydrograph ended."});
    if (result.end == RunEnd::RunLimit)
        warnings.push_back(Warning{WarningCause::RunLimit, "",
                                   "the run stopped at the " + std::to_string(kMaxRunMinutes) +
                                       "-minute limit with water still draining."});
    if (result.stormStepsCut > 0)
        warnings.push_back(Warning{WarningCause::StormCut, "",
                                   "the last " + std::to_string(result.stormStepsCut) +
                                       " storm steps lie beyond the duration and were not applied."});
    return warnings;
}

void refuseNonFiniteResults(const RunResult &result) {
    for (const BasinRun &basin : result.basins) {
        const BasinSummary s = summarize(basin, result);
        const double figures[] = {s.peakOutflow, s.rainVolume, s.runoffVolume, s.runoffCoefficient, s.outflowVolume,
                                  unitHydrographCheck(basin.ordinates, basin.computation.step,
                                                      basin.prepared.area).actual};
        for (double figure : figures)
            if (!std::isfinite(figure))
                throw InputError(basin.path + ": basin " + basin.name +
                                 ": the run's figures are beyond what can be computed (not finite numbers); "
                                 "check the basin's area and the storm's depths");
    }
}

namespace {

// A figure in the library's units, and the quantity that converts it.
struct FigureRule {
    const char *stem;
    Quantity quantity;
    const char *plainUnit; // for Unchanged quantities: "%", "min" or ""
    double (*value)(const RunResult &, const BasinRun &, const BasinSummary &);
    bool atOutlet = false; // the outlet has it too: taken from the outlet's summary
};

const FigureRule kFigures[] = {
    {"area", Quantity::Area, "", [](const RunResult &, const BasinRun &b, const BasinSummary &) {
         return b.prepared.area;
     }, true},
    {"imperviousness_pct", Quantity::Unchanged, "%", [](const RunResult &, const BasinRun &b,
                                                          const BasinSummary &) { return b.prepared.imperviousPct; }},
    {"dcif_used", Quantity::Unchanged, "", [](const RunResult &, const BasinRun &b, const BasinSummary &) {
         return b.prepared.dcif;
     }},
    {"rpf_used", Quantity::Unchanged, "", [](const RunResult &, const BasinRun &b, const BasinSummary &) {
         return b.prepared.rpf;
     }},
    {"ct", Quantity::Unchanged, "", [](const RunResult &, const BasinRun &b, const BasinSummary &) {
         return b.prepared.shape.ct;
     }},
    {"cp", Quantity::Unchanged, "", [](const RunResult &, const BasinRun &b, const BasinSummary &) {
         return b.prepared.shape.cp;
     }},
    {"computation_step_min", Quantity::Unchanged, "min",
     [](const RunResult &, const BasinRun &b, const BasinSummary &) {
         return static_cast<double>(b.computation.step);
     }},
    {"uh_peak", Quantity::UnitFlow, "", [](const RunResult &, const BasinRun &b, const BasinSummary &) {
         return b.prepared.uhPeakRate;
     }},
    {"uh_peak_time_min", Quantity::Unchanged, "min", [](const RunResult &, const BasinRun &b,
                                                         const BasinSummary &) { return b.prepared.uhPeakTime; }},
    {"uh_volume_pct", Quantity::Unchanged, "%",
     [](const RunResult &, const BasinRun &b, const BasinSummary &) {
         return 100.0 * b.computation.volumeRatio;
     }},
    {"peak_outflow", Quantity::Flow, "", [](const RunResult &, const BasinRun &, const BasinSummary &s) {
         return s.peakOutflow;
     }, true},
    {"peak_outflow_time_min", Quantity::Unchanged, "min",
     [](const RunResult &, const BasinRun &, const BasinSummary &s) { return s.peakTime; }, true},
    {"rain_volume", Quantity::Volume, "", [](const RunResult &, const BasinRun &, const BasinSummary &s) {
         return s.rainVolume;
     }, true},
    {"runoff_volume", Quantity::Volume, "", [](const RunResult &, const BasinRun &, const BasinSummary &s) {
         return s.runoffVolume;
     }, true},
    {"outflow_volume", Quantity::Volume, "", [](const RunResult &, const BasinRun &, const BasinSummary &s) {
         return s.outflowVolume;
     }, true},
    {"runoff_coefficient", Quantity::Unchanged, "", [](const RunResult &, const BasinRun &, const BasinSummary &s) {
         return s.runoffCoefficient;
     }, true},
};

// "peak_outflow" + Flow -> "peak_outflow_cfs" or "peak_outflow_m3s".
std::string fieldName(const FigureRule &rule, UnitSystem units) {
    std::string unit = unitName(rule.quantity, units);
    for (char &c : unit) c = (c == ' ' || c == '/' || c == '-') ? '_' : c;
    if (unit == "m3_s") unit = "m3s";
    if (unit == "m3_s_mm") unit = "m3s_per_mm";
    if (unit == "cfs_in") unit = "cfs_per_in";
    return unit.empty() ? rule.stem : std::string(rule.stem) + "_" + unit;
}

// A figure in the result's units; times count from `startMinute`.
double figureValue(const FigureRule &rule, const RunResult &result, const BasinRun &basin, const BasinSummary &summary,
                   double startMinute) {
    double value = fromLibraryUnits(rule.value(result, basin, summary), rule.quantity, result.units);
    if (std::string_view(rule.stem) == "peak_outflow_time_min") value += startMinute;
    return value;
}

std::vector<SummaryField> fieldsIn(UnitSystem units) {
    std::vector<SummaryField> fields;
    for (const FigureRule &rule : kFigures)
        fields.push_back({fieldName(rule, units),
                          rule.quantity == Quantity::Unchanged ? rule.plainUnit : unitName(rule.quantity, units)});
    return fields;
}

} // namespace

const std::vector<SummaryField> &summaryFields(UnitSystem units) {
    static const std::vector<SummaryField> us = fieldsIn(UnitSystem::Us), si = fieldsIn(UnitSystem::Si);
    return units == UnitSystem::Si ? si : us;
}

BasinSummary outletSummary(const RunResult &result, BasinRun &outlet) {
    outlet = BasinRun{};
    outlet.name = "outlet";
    BasinSummary summary;
    for (const BasinRun &basin : result.basins) {
        const BasinSummary s = summarize(basin, result);
        outlet.prepared.area += basin.prepared.area;
        summary.rainVolume += s.rainVolume;
        summary.runoffVolume += s.runoffVolume;
        summary.outflowVolume += s.outflowVolume;
    }
    summary.peakOutflow = result.outletPeak;
    summary.peakTime = result.outletPeakTime;
    summary.runoffCoefficient = runoffCoefficient(summary.runoffVolume, summary.rainVolume);
    return summary;
}

std::vector<double> outletFigures(const RunResult &result, double startMinute) {
    BasinRun outlet;
    const BasinSummary summary = outletSummary(result, outlet);
    std::vector<double> figures;
    figures.reserve(std::size(kFigures));
    for (const FigureRule &rule : kFigures) {
        if (!rule.atOutlet) {
            figures.push_back(std::numeric_limits<double>::quiet_NaN());
            continue;
        }
        figures.push_back(figureValue(rule, result, outlet, summary, startMinute));
    }
    return figures;
}

std::vector<double> summaryFigures(const RunResult &result, const BasinRun &basin, double startMinute) {
    const BasinSummary summary = summarize(basin, result);
    std::vector<double> figures;
    figures.reserve(std::size(kFigures));
    for (const FigureRule &rule : kFigures) {
        figures.push_back(figureValue(rule, result, basin, summary, startMinute));
    }
    return figures;
}

} // namespace vesk::host
