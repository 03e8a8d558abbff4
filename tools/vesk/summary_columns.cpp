#include "summary_columns.h"

#include "number_text.h"

namespace vesk::tool {

namespace {

// Names are cut to this many bytes in the tables (the files keep them whole).
constexpr std::size_t kShownNameBytes = 24;

} // namespace

std::string shownName(const std::string &name) {
    if (name.size() <= kShownNameBytes) return name;
    std::size_t cut = kShownNameBytes - 3;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut; // whole UTF-8 characters
    return name.substr(0, cut) + "...";
}

std::vector<SummaryColumn> summaryColumns(const RunResult &result, double outletArea, bool exact) {
    const UnitSystem units = result.units;
    auto in = [units, exact](double value, Quantity quantity) {
        return shownText(fromLibraryUnits(value, quantity, units), exact);
    };
    auto show = [exact](double value) { return shownText(value, exact); };
    // A figure only a basin has: "-" at the outlet.
    auto basinOnly = [](std::function<std::string(const BasinRun &)> cell) {
        return [cell](const BasinRun *b, const BasinSummary &) { return b ? cell(*b) : std::string("-"); };
    };
    using B = const BasinRun &;
    using S = const BasinSummary &;
    const std::string volume = unitName(Quantity::Volume, units), flow = unitName(Quantity::Flow, units);
    const std::string inch = units == UnitSystem::Si ? "% of 25.4 mm" : "% of 1 in";
    return {
        {"area", unitName(Quantity::Area, units), "area " + unitName(Quantity::Area, units),
         [in, outletArea](const BasinRun *b, S) { return in(b ? b->prepared.area : outletArea, Quantity::Area); },
         true},
        {"imperviousness", "%", "imperv %", basinOnly([show](B b) { return show(b.prepared.imperviousPct); }), true},
        {"DCIF used", "", "", basinOnly([show](B b) { return show(b.prepared.dcif); }), false},
        {"RPF used", "", "", basinOnly([show](B b) { return show(b.prepared.rpf); }), false},
        {"CT", "", "", basinOnly([show](B b) { return show(b.prepared.shape.ct); }), false},
        {"CP", "", "", basinOnly([show](B b) { return show(b.prepared.shape.cp); }), false},
        {"computation step", "min", "step min",
         basinOnly([](B b) { return std::to_string(b.computation.step); }), true},
        {"unit hydrograph peak", unitName(Quantity::UnitFlow, units), "",
         basinOnly([in](B b) { return in(b.prepared.uhPeakRate, Quantity::UnitFlow); }), false},
        {"unit hydrograph peak time", "min", "", basinOnly([show](B b) { return show(b.prepared.uhPeakTime); }),
         false},
        {"unit hydrograph volume", inch, "uh " + inch,
         basinOnly([](B b) { return percentText(b.computation.volumeRatio); }), true},
        {"peak outflow", flow, "peak " + flow, [in](const BasinRun *, S s) { return in(s.peakOutflow, Quantity::Flow); },
         true},
        {"peak outflow time", "min", "peak min", [show](const BasinRun *, S s) { return show(s.peakTime); }, true},
        {"rain volume", volume, "rain " + volume,
         [in](const BasinRun *, S s) { return in(s.rainVolume, Quantity::Volume); }, true},
        {"runoff volume", volume, "runoff " + volume,
         [in](const BasinRun *, S s) { return in(s.runoffVolume, Quantity::Volume); }, true},
        {"outflow volume", volume, "outflow " + volume,
         [in](const BasinRun *, S s) { return in(s.outflowVolume, Quantity::Volume); }, true},
        {"runoff coefficient", "", "coefficient", [show](const BasinRun *, S s) { return show(s.runoffCoefficient); },
         true},
    };
}

std::vector<const BasinRun *> summaryOrder(const RunResult &result) {
    std::vector<const BasinRun *> order;
    if (result.basins.size() > 1) order.push_back(nullptr);
    for (const BasinRun &basin : result.basins) order.push_back(&basin);
    return order;
}

} // namespace vesk::tool
