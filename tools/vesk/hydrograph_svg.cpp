#include "hydrograph_svg.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "number_text.h"
#include "text_escapes.h"
#include "units.h"

namespace vesk::tool {

namespace {

// Chart geometry in SVG user units (pixels).
constexpr double kWidth = 980, kHeight = 560;
constexpr double kLeft = 80, kRight = 760, kTop = 60, kBottom = 470;
constexpr double kLegendX = 830;
constexpr std::size_t kLegendNameLength = 18;
// Rain bars use at most this share of the plot's height.
constexpr double kRainShare = 0.4;

constexpr const char *kPalette[] = {"#d62728", "#2ca02c", "#ff7f0e", "#9467bd", "#8c564b",
                                    "#e377c2", "#17becf", "#7f7f7f", "#bcbd22", "#1f3f7f"};
constexpr const char *kRainColour = "#4a90d9";

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

class Chart {
public:
    Chart(std::ostream &out, const RunResult &result) : out_(out), result_(result) {
        steps_ = result.rain.size();
        endTime_ = static_cast<double>(steps_ * static_cast<std::size_t>(result.reportStep));
        time_ = niceScale(endTime_);
        double largestFlow = 0.0, largestRain = 0.0;
        for (const BasinRun &basin : result.basins)
            for (double q : basin.outflow)
                if (std::isfinite(q)) largestFlow = std::max(largestFlow, q);
        for (double r : result.rain) largestRain = std::max(largestRain, r);
        flow_ = niceScale(largestFlow * 1.05);
        rain_ = niceScale(largestRain / kRainShare);
    }

    void write() {
        out_ << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\"" << kHeight
             << "\" viewBox=\"0 0 " << kWidth << ' ' << kHeight
             << "\" font-family=\"sans-serif\" font-size=\"12\">\n"
             << "<title>Rain and outflow hydrographs</title>\n"
             << "<rect x=\"0\" y=\"0\" width=\"" << kWidth << "\" height=\"" << kHeight << "\" fill=\"white\"/>\n";
        grid();
        rainBars();
        for (std::size_t b = 0; b < result_.basins.size(); ++b) outflowLine(b);
        axes();
        legend();
        out_ << "</svg>\n";
    }

private:
    double x(double minutes) const { return kLeft + (kRight - kLeft) * minutes / time_.top; }
    double yFlow(double cfs) const { return kBottom - (kBottom - kTop) * cfs / flow_.top; }
    double yRain(double inches) const { return kTop + (kBottom - kTop) * inches / rain_.top; }
    const char *colour(std::size_t basin) const { return kPalette[basin % (sizeof kPalette / sizeof kPalette[0])]; }

    void grid() {
        out_ << "<g stroke=\"#e0e0e0\" stroke-width=\"1\">\n";
        for (double t = time_.spacing; t <= time_.top + 1e-9; t += time_.spacing)
            line(x(t), kTop, x(t), kBottom);
        for (double q = flow_.spacing; q <= flow_.top + 1e-9; q += flow_.spacing)
            line(kLeft, yFlow(q), kRight, yFlow(q));
        out_ << "</g>\n";
    }

    void rainBars() {
        out_ << "<g fill=\"" << kRainColour << "\" fill-opacity=\"0.55\">\n";
        for (std::size_t k = 0; k < steps_; ++k) {
            if (result_.rain[k] <= 0.0) continue;
            const double start = static_cast<double>(k * static_cast<std::size_t>(result_.reportStep));
            out_ << "<rect x=\"" << number(x(start)) << "\" y=\"" << number(kTop) << "\" width=\""
                 << number(x(start + result_.reportStep) - x(start)) << "\" height=\""
                 << number(yRain(result_.rain[k]) - kTop) << "\"/>\n";
        }
        out_ << "</g>\n";
    }

    void outflowLine(std::size_t b) {
        const BasinRun &basin = result_.basins[b];
        out_ << "<polyline fill=\"none\" stroke=\"" << colour(b) << "\" stroke-width=\"2\" points=\""
             << number(x(0)) << ',' << number(yFlow(0));
        for (std::size_t k = 0; k < basin.outflow.size(); ++k) {
            const double q = std::isfinite(basin.outflow[k]) ? basin.outflow[k] : 0.0;
            out_ << ' ' << number(x(static_cast<double>((k + 1) * static_cast<std::size_t>(result_.reportStep))))
                 << ',' << number(yFlow(q));
        }
        out_ << "\"/>\n";
    }

    void axes() {
        out_ << "<g stroke=\"black\" stroke-width=\"1\">\n";
        line(kLeft, kBottom, kRight, kBottom);
        line(kLeft, kTop, kRight, kTop);
        line(kLeft, kTop, kLeft, kBottom);
        line(kRight, kTop, kRight, kBottom);
        out_ << "</g>\n<g text-anchor=\"middle\">\n";
        for (double t = 0; t <= time_.top + 1e-9; t += time_.spacing)
            text(x(t), kBottom + 18, tickLabel(t));
        out_ << "</g>\n<g text-anchor=\"end\">\n";
        for (double q = 0; q <= flow_.top + 1e-9; q += flow_.spacing)
            text(kLeft - 8, yFlow(q) + 4, tickLabel(q));
        out_ << "</g>\n<g text-anchor=\"start\">\n";
        for (double r = 0; r <= rain_.top + 1e-9; r += rain_.spacing)
            text(kRight + 8, yRain(r) + 4, tickLabel(r));
        out_ << "</g>\n<g font-size=\"14\" text-anchor=\"middle\">\n";
        text((kLeft + kRight) / 2, kBottom + 45, "time (min)");
        rotatedText(kLeft - 55, (kTop + kBottom) / 2, "outflow (" + unitName(Quantity::Flow, result_.units) + ")");
        rotatedText(kRight + 55, (kTop + kBottom) / 2,
                    "rain (" + unitName(Quantity::Depth, result_.units) + " per " + std::to_string(result_.reportStep) +
                        "-min step)");
        text((kLeft + kRight) / 2, kTop - 25, "Rain and outflow");
        out_ << "</g>\n";
    }

    void legend() {
        double y = kTop + 10;
        out_ << "<g text-anchor=\"start\">\n";
        out_ << "<rect x=\"" << kLegendX << "\" y=\"" << number(y - 9) << "\" width=\"24\" height=\"10\" fill=\""
             << kRainColour << "\" fill-opacity=\"0.55\"/>\n";
        text(kLegendX + 32, y, "rain");
        for (std::size_t b = 0; b < result_.basins.size(); ++b) {
            y += 22;
            out_ << "<line x1=\"" << kLegendX << "\" y1=\"" << number(y - 4) << "\" x2=\"" << kLegendX + 24
                 << "\" y2=\"" << number(y - 4) << "\" stroke=\"" << colour(b) << "\" stroke-width=\"2\"/>\n";
            std::string name = result_.basins[b].name;
            if (name.size() > kLegendNameLength) name = name.substr(0, kLegendNameLength - 3) + "...";
            text(kLegendX + 32, y, name);
        }
        out_ << "</g>\n";
    }

    void line(double x1, double y1, double x2, double y2) {
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

    std::ostream &out_;
    const RunResult &result_;
    std::size_t steps_ = 0;
    double endTime_ = 0;
    Scale time_{}, flow_{}, rain_{};
};

} // namespace

double tickSpacing(double top, int wanted) {
    const double rough = top / wanted;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0})
        if (factor * power >= rough) return factor * power;
    return 10.0 * power;
}

namespace {

// The chart draws the series in the report's units.
RunResult inReportUnits(const RunResult &result) {
    RunResult shown = result;
    for (double &r : shown.rain) r = fromLibraryUnits(r, Quantity::Depth, result.units);
    for (BasinRun &basin : shown.basins)
        for (double &q : basin.outflow) q = fromLibraryUnits(q, Quantity::Flow, result.units);
    return shown;
}

} // namespace

void writeHydrographSvg(std::ostream &out, const RunResult &result) {
    if (result.units == UnitSystem::Us) {
        Chart(out, result).write();
        return;
    }
    const RunResult shown = inReportUnits(result);
    Chart(out, shown).write();
}

} // namespace vesk::tool
