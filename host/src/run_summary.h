// The figures of a run every front end reports: each basin's peak outflow
// and its time, rain, runoff and outflow volumes and runoff coefficient, and
// the warnings where a volume check fails.
#pragma once

#include <string>
#include <vector>

#include "storm_run.h"
#include "veskdll133.h"
#include "warnings.h"

namespace vesk::host {

struct BasinSummary {
    double peakOutflow = 0.0; // cfs, the first largest outflow
    double peakTime = 0.0;    // min, end of the step that produced it
    double rainVolume = 0.0;  // acre-ft over the basin
    double runoffVolume = 0.0; // acre-ft, the excess rain of the run
    double outflowVolume = 0.0; // acre-ft, the outflow on the computation grid
    double runoffCoefficient = 0.0; // runoff volume / rain volume (0 without rain)
};

// The figures of a basin, from its computation grid: the same whatever the
// report step.
BasinSummary summarize(const BasinRun &basin, const RunResult &result);

// Warnings of a run, one sentence each, empty when the volumes agree.
Warnings runWarnings(const RunResult &result);

// A warning when the sampled unit hydrograph is more than 10 % off one inch
// (vesk uh, where the user chooses the step).
Warnings unitHydrographWarnings(const std::string &name, const BasinInput &prepared,
                                const std::vector<double> &ordinates, UnitSystem units = UnitSystem::Us);

// Throws InputError when a figure of the summary is not a finite number (the
// basin's values are so large that the arithmetic overflows).
void refuseNonFiniteResults(const RunResult &result);

// "98.5 %" for 0.985; "-" when not finite.
std::string percentText(double ratio);

// One figure of a basin's summary: its name with its unit, as the summary
// files and the Python package call it ("peak_outflow_cfs"), and the unit.
struct SummaryField {
    std::string name;
    std::string unit;
};

// Every figure of a basin's summary in `units`, in the order of the files.
const std::vector<SummaryField> &summaryFields(UnitSystem units);

// The figures of `basin` in `result`'s units and the order of summaryFields;
// times count from `startMinute` (an event's start in its record).
std::vector<double> summaryFigures(const RunResult &result, const BasinRun &basin, double startMinute = 0.0);

// The outlet, where every basin's outflow meets: its area, peak (on the
// finest grid every basin's computation steps reach) and its time, the
// sums of the volumes and their coefficient; `outlet` receives a stand-in
// basin named "outlet" holding the total area.
BasinSummary outletSummary(const RunResult &result, BasinRun &outlet);

// The outlet's figures in the order of summaryFields: NaN for the figures
// only a basin has (fractions, coefficients, unit hydrograph).
std::vector<double> outletFigures(const RunResult &result, double startMinute = 0.0);

} // namespace vesk::host
