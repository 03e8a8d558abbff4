// Rain and outflow as SVG charts a browser shows: rain as bars hanging from
// the top axis (its own scale on the right), each basin's outflow as a line
// (beyond ten basins: their range as a band and the five largest peaks),
// the outlet as a heavy black line, labelled axes with units and a legend.
// One panel per run; the events of a record as panels one under another.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "storm_run.h"
#include "text_escapes.h"

namespace vesk::tool {

using namespace vesk::host;

struct ChartSeries {
    std::string name;
    std::vector<double> values; // at the end of each step, in the chart's units
};

struct ChartPanel {
    std::string title;
    double startMinute = 0.0; // the time axis starts here (an event's start in its record)
    int step = 0;             // minutes between values
    std::vector<double> rain; // depth in each step
    std::vector<ChartSeries> basins;
    std::optional<ChartSeries> outlet; // where several basins meet
};

struct ChartStyle {
    std::string flowUnit, depthUnit;
};

// A run as a panel in the run's units.
ChartPanel chartPanel(const RunResult &result, const std::string &title, double startMinute);
ChartStyle chartStyle(UnitSystem units);

// Panels one under another, `note` above them when not empty.  Standalone:
// an SVG file (with its XML declaration); else an element to put in HTML.
void writeChart(std::ostream &out, const std::vector<ChartPanel> &panels, const ChartStyle &style, bool standalone,
                const std::string &note);

// The run as a standalone SVG file.
void writeHydrographSvg(std::ostream &out, const RunResult &result);

// The events of a record, a panel each: at most `most`, those with the
// largest peaks (the outlet's where several basins run), which a note says.
void writeEventsSvg(std::ostream &out, const std::vector<EventRun> &events, std::size_t most = 12);

// Spacing of about `wanted` axis ticks over 0..`top`: 1, 2 or 5 times a power of ten.
double tickSpacing(double top, int wanted);

} // namespace vesk::tool
