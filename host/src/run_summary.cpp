#include "run_summary.h"

#include <cmath>
#include <iterator>
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

Warnings unitHydrographWarnings(const std::string &name, const BasinInput &prepared,
                                const std::vector<double> &ordinates) {
    const int uhStep = prepared.shape.uhTimeStep;
    const VolumeCheck check = unitHydrographCheck(ordinates, uhStep, prepared.area);
    if (!check.off()) return {};
    return {Warning{WarningCause::UnitHydrographVolume, name,
                    "basin " + name + ": the sampled unit hydrograph holds " + percentText(check.ratio()) +
                        " of one inch over the basin (" + fixedText(check.actual, 3) + " of " +
                        fixedText(check.expected, 3) + " acre-ft); " + coarseStepCause(prepared, uhStep) +
                        " (try a smaller uhTimeStep)."}};
}

Warnings runWarnings(const RunResult &result) {
    Warnings warnings;
    for (const BasinRun &basin : result.basins) {
        for (Warning &w : unitHydrographWarnings(basin.name, basin.prepared, basin.ordinates))
            warnings.push_back(std::move(w));
        const VolumeCheck check =
            outflowCheck(basin.outflow, result.timeStep, basin.stepExcess, basin.prepared.area);
        if (!check.off()) continue;
        std::string cause;
        const bool stillFlowing = !basin.outflow.empty() && basin.outflow.back() != 0.0;
        if (result.end == RunEnd::RunLimit && stillFlowing)
            cause = "likely cause: the run reached the " + std::to_string(kMaxRunMinutes) +
                    "-minute limit while the basin was still draining.";
        else if (result.end != RunEnd::Dry && stillFlowing)
            cause = "likely cause: the run stopped while the basin was still draining (lengthen the duration).";
        else
            cause = coarseStepCause(basin.prepared, result.timeStep) + ".";
        warnings.push_back(Warning{WarningCause::OutflowVolume, basin.name,
                                   "basin " + basin.name + ": the outflow hydrograph holds " +
                                       percentText(check.ratio()) + " of the run's excess volume (" +
                                       fixedText(check.actual, 3) + " of " + fixedText(check.expected, 3) +
                                       " acre-ft); " + cause});
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
        const BasinSummary s = summarize(basin, result.rain, result.timeStep);
        const double figures[] = {s.peakOutflow, s.rainVolume, s.runoffVolume, s.runoffCoefficient,
                                  hydrographVolume(basin.outflow, result.timeStep),
                                  unitHydrographCheck(basin.ordinates, basin.prepared.shape.uhTimeStep,
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
};

const FigureRule kFigures[] = {
    {"area", Quantity::Area, "", [](const RunResult &, const BasinRun &b, const BasinSummary &) {
         return b.prepared.area;
     }},
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
    {"uh_peak", Quantity::UnitFlow, "", [](const RunResult &, const BasinRun &b, const BasinSummary &) {
         return b.prepared.uhPeakRate;
     }},
    {"uh_peak_time_min", Quantity::Unchanged, "min", [](const RunResult &, const BasinRun &b,
                                                         const BasinSummary &) { return b.prepared.uhPeakTime; }},
    {"uh_volume_pct_of_1_in", Quantity::Unchanged, "%",
     [](const RunResult &, const BasinRun &b, const BasinSummary &) {
         return 100.0 * unitHydrographCheck(b.ordinates, b.prepared.shape.uhTimeStep, b.prepared.area).ratio();
     }},
    {"peak_outflow", Quantity::Flow, "", [](const RunResult &, const BasinRun &, const BasinSummary &s) {
         return s.peakOutflow;
     }},
    {"peak_outflow_time_min", Quantity::Unchanged, "min",
     [](const RunResult &, const BasinRun &, const BasinSummary &s) { return s.peakTime; }},
    {"rain_volume", Quantity::Volume, "", [](const RunResult &, const BasinRun &, const BasinSummary &s) {
         return s.rainVolume;
     }},
    {"runoff_volume", Quantity::Volume, "", [](const RunResult &, const BasinRun &, const BasinSummary &s) {
         return s.runoffVolume;
     }},
    {"outflow_volume", Quantity::Volume, "", [](const RunResult &r, const BasinRun &b, const BasinSummary &) {
         return hydrographVolume(b.outflow, r.timeStep);
     }},
    {"runoff_coefficient", Quantity::Unchanged, "", [](const RunResult &, const BasinRun &, const BasinSummary &s) {
         return s.runoffCoefficient;
     }},
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

std::vector<double> summaryFigures(const RunResult &result, const BasinRun &basin, double startMinute) {
    const BasinSummary summary = summarize(basin, result.rain, result.timeStep);
    std::vector<double> figures;
    figures.reserve(std::size(kFigures));
    for (const FigureRule &rule : kFigures) {
        double value = fromLibraryUnits(rule.value(result, basin, summary), rule.quantity, result.units);
        if (std::string_view(rule.stem) == "peak_outflow_time_min") value += startMinute;
        figures.push_back(value);
    }
    return figures;
}

} // namespace vesk::host
