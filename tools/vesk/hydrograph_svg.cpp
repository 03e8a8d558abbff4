#include "hydrograph_svg.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "number_text.h"
#include "run_summary.h"
#include "text_escapes.h"
#include "units.h"

namespace vesk::tool {

namespace {

// Panel geometry in SVG user units (pixels).
constexpr double kWidth = 980, kPanelHeight = 470;
constexpr double kLeft = 80, kRight = 760, kTopMargin = 60, kPlotHeight = 330;
constexpr double kLegendX = 830;
constexpr std::size_t kLegendNameLength = 18;
// Rain bars use at most this share of the plot's height.
constexpr double kRainShare = 0.4;

// Ten colours told apart by most eyes (and none of them the outlet's black).
constexpr const char *kPalette[] = {"#1f77b4", "#d62728", "#2ca02c", "#ff7f0e", "#9467bd",
                                    "#8c564b", "#e377c2", "#17becf", "#7f7f7f", "#bcbd22"};
constexpr std::size_t kPaletteSize = sizeof kPalette / sizeof kPalette[0];
constexpr const char *kRainColour = "#4a90d9";
constexpr const char *kOutletColour = "#000000";
constexpr const char *kBandColour = "#c8c8c8";

std::string number(double value) { return fixedText(value, 2); }

// Axis label text: no needless trailing zeros (0.25, 10, 1.5).
std::string tickLabel(double value) {
    std::string text = fixedText(value, 6);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text == "-0" ? "0" : text;
}

struct Scale {
    double top; // value at the far end of the axis
    double spacing;
};

Scale niceScale(double largest) {
    if (!(largest > 0.0) || !std::isfinite(largest)) largest = 1.0;
    const double spacing = tickSpacing(largest, 6);
    return Scale{std::ceil(largest / spacing - 1e-9) * spacing, spacing};
}

double largestOf(const std::vector<double> &values) {
    double largest = 0.0;
    for (double v : values)
        if (std::isfinite(v)) largest = std::max(largest, v);
    return largest;
}

class PanelWriter {
public:
    PanelWriter(std::ostream &out, const ChartPanel &panel, const ChartStyle &style, double top)
        : out_(out), panel_(panel), style_(style), top_(top), bottom_(top + kPlotHeight) {
        steps_ = panel.rain.size();
        time_ = niceScale(static_cast<double>(steps_) * panel.step);
        double largestFlow = panel.outlet ? largestOf(panel.outlet->values) : 0.0;
        for (const ChartSeries &basin : panel.basins) largestFlow = std::max(largestFlow, largestOf(basin.values));
        flow_ = niceScale(largestFlow * 1.05);
        rain_ = niceScale(largestOf(panel.rain) / kRainShare);
        chooseLines();
    }

    void write() {
        grid();
        rainBars();
        if (banded_) band();
        for (std::size_t b : drawn_) line(panel_.basins[b].values, kPalette[colourOf(b)], 1.8);
        if (panel_.outlet) line(panel_.outlet->values, kOutletColour, 3.0);
        axes();
        legend();
    }

private:
    // Up to ten basins each get a line of their own colour; beyond that the
    // basins are a grey band (their range at every step) with the five
    // largest peaks drawn, which the legend says.
    void chooseLines() {
        std::vector<std::size_t> all(panel_.basins.size());
        std::iota(all.begin(), all.end(), 0);
        if (all.size() <= kPaletteSize) {
            drawn_ = all;
            return;
        }
        banded_ = true;
        std::stable_sort(all.begin(), all.end(), [&](std::size_t a, std::size_t b) {
            return largestOf(panel_.basins[a].values) > largestOf(panel_.basins[b].values);
        });
        drawn_.assign(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(kTopLines));
    }
    std::size_t colourOf(std::size_t basin) const {
        return static_cast<std::size_t>(std::find(drawn_.begin(), drawn_.end(), basin) - drawn_.begin()) %
               kPaletteSize;
    }

    double x(double minutes) const { return kLeft + (kRight - kLeft) * minutes / time_.top; }
    double yFlow(double flow) const { return bottom_ - (bottom_ - top_) * flow / flow_.top; }
    double yRain(double depth) const { return top_ + (bottom_ - top_) * depth / rain_.top; }
    double at(std::size_t k) const { return static_cast<double>((k + 1) * static_cast<std::size_t>(panel_.step)); }

    void grid() {
        out_ << "<g stroke=\"#e0e0e0\" stroke-width=\"1\">\n";
        for (double t = time_.spacing; t <= time_.top + 1e-9; t += time_.spacing) segment(x(t), top_, x(t), bottom_);
        for (double q = flow_.spacing; q <= flow_.top + 1e-9; q += flow_.spacing)
            segment(kLeft, yFlow(q), kRight, yFlow(q));
        out_ << "</g>\n";
    }

    void rainBars() {
        out_ << "<g fill=\"" << kRainColour << "\" fill-opacity=\"0.55\">\n";
        for (std::size_t k = 0; k < steps_; ++k) {
            if (!(panel_.rain[k] > 0.0)) continue;
            const double start = at(k) - panel_.step;
            out_ << "<rect x=\"" << number(x(start)) << "\" y=\"" << number(top_) << "\" width=\""
                 << number(x(at(k)) - x(start)) << "\" height=\"" << number(yRain(panel_.rain[k]) - top_) << "\"/>\n";
        }
        out_ << "</g>\n";
    }

    void band() {
        std::vector<double> low(steps_, 0.0), high(steps_, 0.0);
        for (std::size_t k = 0; k < steps_; ++k) {
            low[k] = high[k] = panel_.basins.front().values[k];
            for (const ChartSeries &basin : panel_.basins) {
                low[k] = std::min(low[k], basin.values[k]);
                high[k] = std::max(high[k], basin.values[k]);
            }
        }
        out_ << "<polygon fill=\"" << kBandColour << "\" fill-opacity=\"0.7\" stroke=\"none\" points=\""
             << number(x(0)) << ',' << number(yFlow(0));
        for (std::size_t k = 0; k < steps_; ++k) out_ << ' ' << number(x(at(k))) << ',' << number(yFlow(high[k]));
        for (std::size_t k = steps_; k-- > 0;) out_ << ' ' << number(x(at(k))) << ',' << number(yFlow(low[k]));
        out_ << "\"/>\n";
    }

    void line(const std::vector<double> &values, const char *colour, double width) {
        out_ << "<polyline fill=\"none\" stroke=\"" << colour << "\" stroke-width=\"" << width << "\" points=\""
             << number(x(0)) << ',' << number(yFlow(0));
        for (std::size_t k = 0; k < values.size(); ++k)
            out_ << ' ' << number(x(at(k))) << ',' << number(yFlow(std::isfinite(values[k]) ? values[k] : 0.0));
        out_ << "\"/>\n";
    }

    void axes() {
        out_ << "<g stroke=\"black\" stroke-width=\"1\">\n";
        segment(kLeft, bottom_, kRight, bottom_);
        segment(kLeft, top_, kRight, top_);
        segment(kLeft, top_, kLeft, bottom_);
        segment(kRight, top_, kRight, bottom_);
        out_ << "</g>\n<g text-anchor=\"middle\">\n";
        for (double t = 0; t <= time_.top + 1e-9; t += time_.spacing)
            text(x(t), bottom_ + 18, tickLabel(panel_.startMinute + t));
        out_ << "</g>\n<g text-anchor=\"end\">\n";
        for (double q = 0; q <= flow_.top + 1e-9; q += flow_.spacing) text(kLeft - 8, yFlow(q) + 4, tickLabel(q));
        out_ << "</g>\n<g text-anchor=\"start\">\n";
        for (double r = 0; r <= rain_.top + 1e-9; r += rain_.spacing) text(kRight + 8, yRain(r) + 4, tickLabel(r));
        out_ << "</g>\n<g font-size=\"14\" text-anchor=\"middle\">\n";
        text((kLeft + kRight) / 2, bottom_ + 45, "time (min)");
        rotatedText(kLeft - 55, (top_ + bottom_) / 2, "outflow (" + style_.flowUnit + ")");
        rotatedText(kRight + 55, (top_ + bottom_) / 2,
                    "rain (" + style_.depthUnit + " per " + std::to_string(panel_.step) + "-min step)");
        text((kLeft + kRight) / 2, top_ - 25, panel_.title);
        out_ << "</g>\n";
    }

    void legend() {
        double y = top_ + 10;
        out_ << "<g text-anchor=\"start\">\n";
        out_ << "<rect x=\"" << kLegendX << "\" y=\"" << number(y - 9) << "\" width=\"24\" height=\"10\" fill=\""
             << kRainColour << "\" fill-opacity=\"0.55\"/>\n";
        text(kLegendX + 32, y, "rain");
        if (panel_.outlet) legendLine(y += 22, kOutletColour, 3.0, "outlet");
        if (banded_) {
            y += 22;
            out_ << "<rect x=\"" << kLegendX << "\" y=\"" << number(y - 9) << "\" width=\"24\" height=\"10\" fill=\""
                 << kBandColour << "\"/>\n";
            text(kLegendX + 32, y, "range of all " + std::to_string(panel_.basins.size()) + " basins");
            text(kLegendX, y += 18, "lines: the " + std::to_string(kTopLines) + " largest peaks");
        }
        for (std::size_t b : drawn_) {
            std::string name = panel_.basins[b].name;
            if (name.size() > kLegendNameLength) name = name.substr(0, kLegendNameLength - 3) + "...";
            legendLine(y += 22, kPalette[colourOf(b)], 1.8, name);
        }
        out_ << "</g>\n";
    }

    void legendLine(double y, const char *colour, double width, const std::string &name) {
        out_ << "<line x1=\"" << kLegendX << "\" y1=\"" << number(y - 4) << "\" x2=\"" << kLegendX + 24 << "\" y2=\""
             << number(y - 4) << "\" stroke=\"" << colour << "\" stroke-width=\"" << width << "\"/>\n";
        text(kLegendX + 32, y, name);
    }

    void segment(double x1, double y1, double x2, double y2) {
        out_ << "<line x1=\"" << number(x1) << "\" y1=\"" << number(y1) << "\" x2=\"" << number(x2) << "\" y2=\""
             << number(y2) << "\"/>\n";
    }
    void text(double atX, double atY, const std::string &content) {
        out_ << "<text x=\"" << number(atX) << "\" y=\"" << number(atY) << "\">" << xmlText(content) << "</text>\n";
    }
    void rotatedText(double atX, double atY, const std::string &content) {
        out_ << "<text x=\"" << number(atX) << "\" y=\"" << number(atY) << "\" transform=\"rotate(-90 "
             << number(atX) << ' ' << number(atY) << ")\">" << xmlText(content) << "</text>\n";
    }

    static constexpr std::size_t kTopLines = 5;

    std::ostream &out_;
    const ChartPanel &panel_;
    const ChartStyle &style_;
    double top_, bottom_;
    std::size_t steps_ = 0;
    Scale time_{}, flow_{}, rain_{};
    bool banded_ = false;
    std::vector<std::size_t> drawn_;
};

} // namespace

double tickSpacing(double top, int wanted) {
    const double rough = top / wanted;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0})
        if (factor * power >= rough) return factor * power;
    return 10.0 * power;
}

ChartPanel chartPanel(const RunResult &result, const std::string &title, double startMinute) {
    ChartPanel panel;
    panel.title = title;
    panel.startMinute = startMinute;
    panel.step = result.reportStep;
    for (double r : result.rain) panel.rain.push_back(fromLibraryUnits(r, Quantity::Depth, result.units));
    for (const BasinRun &basin : result.basins) {
        ChartSeries series{basin.name, {}};
        for (double q : basin.outflow) series.values.push_back(fromLibraryUnits(q, Quantity::Flow, result.units));
        panel.basins.push_back(std::move(series));
    }
    if (result.basins.size() > 1) {
        ChartSeries outlet{"outlet", {}};
        for (double q : result.outlet) outlet.values.push_back(fromLibraryUnits(q, Quantity::Flow, result.units));
        panel.outlet = std::move(outlet);
    }
    return panel;
}

ChartStyle chartStyle(UnitSystem units) {
    return ChartStyle{unitName(Quantity::Flow, units), unitName(Quantity::Depth, units)};
}

void writeChart(std::ostream &out, const std::vector<ChartPanel> &panels, const ChartStyle &style, bool standalone,
                const std::string &note) {
    const double height = kPanelHeight * static_cast<double>(std::max<std::size_t>(panels.size(), 1)) +
                          (note.empty() ? 0.0 : 30.0);
    if (standalone) out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    // Inside HTML the element needs no namespace: the page then names
    // nothing outside itself.
    out << "<svg" << (standalone ? " xmlns=\"http://www.w3.org/2000/svg\"" : "") << " width=\"" << kWidth << "\" height=\"" << number(height)
        << "\" viewBox=\"0 0 " << kWidth << ' ' << number(height) << "\" font-family=\"sans-serif\" font-size=\"12\">\n"
        << "<title>Rain and outflow hydrographs</title>\n"
        << "<rect x=\"0\" y=\"0\" width=\"" << kWidth << "\" height=\"" << number(height) << "\" fill=\"white\"/>\n";
    if (!note.empty())
        out << "<text x=\"" << number(kLeft) << "\" y=\"20\" font-size=\"13\">" << xmlText(note) << "</text>\n";
    const double offset = note.empty() ? 0.0 : 30.0;
    for (std::size_t p = 0; p < panels.size(); ++p)
        PanelWriter(out, panels[p], style, offset + kTopMargin + kPanelHeight * static_cast<double>(p)).write();
    out << "</svg>\n";
}

void writeHydrographSvg(std::ostream &out, const RunResult &result) {
    writeChart(out, {chartPanel(result, "Rain and outflow", 0.0)}, chartStyle(result.units), true, "");
}

void writeEventsSvg(std::ostream &out, const std::vector<EventRun> &events, std::size_t most) {
    // The events with the largest outlet (or single basin) peaks, in order.
    std::vector<std::size_t> order(events.size());
    std::iota(order.begin(), order.end(), 0);
    auto peakOf = [&](std::size_t e) {
        const RunResult &r = events[e].result;
        if (r.basins.size() > 1) return r.outletPeak;
        return r.basins.empty() ? 0.0 : r.basins.front().peakOutflow;
    };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return peakOf(a) > peakOf(b); });
    if (order.size() > most) order.resize(most);
    std::sort(order.begin(), order.end());
    std::vector<ChartPanel> panels;
    for (std::size_t e : order)
        panels.push_back(chartPanel(events[e].result, "event " + std::to_string(events[e].number) + ", from minute " +
                                                          std::to_string(events[e].startMinute),
                                    static_cast<double>(events[e].startMinute)));
    const std::string note = events.size() > most ? "the " + std::to_string(most) + " of " +
                                                        std::to_string(events.size()) +
                                                        " events with the largest peaks; times from the record's start"
                                                  : std::to_string(events.size()) +
                                                        " event(s); times from the record's start";
    writeChart(out, panels, chartStyle(events.empty() ? UnitSystem::Us : events.front().result.units), true, note);
}

} // namespace vesk::tool
