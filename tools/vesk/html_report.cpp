#include "html_report.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

#include "basin_fields.h"
#include "civil_time.h"
#include "file_digest.h"
#include "hydrograph_svg.h"
#include "input_error.h"
#include "number_text.h"
#include "run_summary.h"
#include "summary_columns.h"
#include "text_escapes.h"
#include "units.h"

namespace vesk::tool {

namespace {

// Screen and paper: tables with right-aligned numbers, the outlet's row in
// bold, figures scaled to the page and kept whole, a smaller type on paper.
constexpr const char *kStyle = R"css(
body { font-family: "DejaVu Sans", Arial, Helvetica, sans-serif; font-size: 10.5pt; line-height: 1.35;
       color: #111; max-width: 62em; margin: 2em auto; padding: 0 1em; }
h1 { font-size: 1.6em; margin: 0 0 .2em; }
h2 { font-size: 1.25em; border-bottom: 1px solid #888; margin-top: 1.8em; }
p.lead { font-size: 1.1em; margin-top: 0; }
dl.facts { display: grid; grid-template-columns: max-content auto; gap: .15em 1em; }
dl.facts dt { font-weight: bold; } dl.facts dd { margin: 0; }
nav ol { columns: 2; }
table { border-collapse: collapse; margin: .4em 0 1.2em; font-size: .9em; }
caption { text-align: left; font-weight: bold; padding-bottom: .3em; }
th, td { border-bottom: 1px solid #d8d8d8; padding: .15em .55em; vertical-align: top; text-align: left; }
thead th { background: #eee; border-bottom: 1px solid #888; }
.num { text-align: right; font-variant-numeric: tabular-nums; }
td.num { white-space: nowrap; }
thead th { font-weight: 600; font-size: .95em; }
thead .unit { font-weight: normal; }
tr.outlet td { font-weight: bold; background: #f6f6f6; }
td.differs { font-weight: bold; }
figure { margin: 1em 0 1.5em; break-inside: avoid; }
figure svg { width: 100%; height: auto; }
figcaption { font-size: .9em; }
.cards { display: grid; grid-template-columns: repeat(auto-fill, minmax(24em, 1fr)); gap: 0 1.5em; }
.cards table { break-inside: avoid; width: 100%; }
code, .digest { font-family: "DejaVu Sans Mono", monospace; font-size: .85em; overflow-wrap: anywhere; }
@page { size: A4; margin: 14mm 12mm; }
@media print {
  body { margin: 0; max-width: none; padding: 0; font-size: 8.5pt; }
  h2 { break-after: avoid; }
  nav { display: none; }
  #basins { break-before: page; }
}
)css";

std::string text(std::string_view words) { return xmlText(words); }

std::string shown(double value) { return shownText(value); }

std::string inUnits(double value, Quantity quantity, UnitSystem units) {
    return shownText(fromLibraryUnits(value, quantity, units));
}

// A table: word columns first (aligned left), then numbers (aligned right).
struct Table {
    std::string id, caption;
    std::vector<std::string> header;
    std::size_t wordColumns = 1;
    std::vector<std::vector<std::string>> rows; // cell text, not yet escaped
    std::vector<std::string> rowClasses;
    std::vector<std::vector<bool>> marked; // cells shown as differing

    void add(std::vector<std::string> cells, std::string rowClass = {}, std::vector<bool> marks = {}) {
        rows.push_back(std::move(cells));
        rowClasses.push_back(std::move(rowClass));
        marked.push_back(std::move(marks));
    }
};

// A column's label with its unit under it ("peak outflow\ncfs").
std::string headerText(const std::string &header) {
    const std::size_t cut = header.find('\n');
    if (cut == std::string::npos) return text(header);
    return text(header.substr(0, cut)) + "<br><span class=\"unit\">" + text(header.substr(cut + 1)) + "</span>";
}

void writeTable(std::ostream &out, const Table &table) {
    out << "<table" << (table.id.empty() ? "" : " id=\"" + table.id + "\"") << ">\n";
    if (!table.caption.empty()) out << "<caption>" << text(table.caption) << "</caption>\n";
    out << "<thead><tr>";
    for (std::size_t c = 0; c < table.header.size(); ++c)
        out << "<th" << (c >= table.wordColumns ? " class=\"num\"" : "") << " scope=\"col\">"
            << headerText(table.header[c]) << "</th>";
    out << "</tr></thead>\n<tbody>\n";
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        out << "<tr" << (table.rowClasses[r].empty() ? "" : " class=\"" + table.rowClasses[r] + "\"") << ">";
        for (std::size_t c = 0; c < table.rows[r].size(); ++c) {
            std::string classes = c >= table.wordColumns ? "num" : "";
            if (c < table.marked[r].size() && table.marked[r][c]) classes += classes.empty() ? "differs" : " differs";
            out << "<td" << (classes.empty() ? "" : " class=\"" + classes + "\"") << ">" << text(table.rows[r][c])
                << "</td>";
        }
        out << "</tr>\n";
    }
    out << "</tbody>\n</table>\n";
}

UnitSystem unitsOf(const ReportContent &content) {
    return content.runs.empty() ? UnitSystem::Us : content.runs.front().result.units;
}

std::string unitWords(UnitSystem units) {
    return units == UnitSystem::Si ? "SI (km2, km, mm, m3/s, m3)" : "US customary (sq mi, mi, in, cfs, acre-ft)";
}

// "1.77 in over 340 min (68 steps of 5 min), from 2024-05-01T00:00"
std::string stormLine(const RunResult &result) {
    const std::size_t minutes = result.rain.size() * static_cast<std::size_t>(result.reportStep);
    std::string line = inUnits(result.rainDepth, Quantity::Depth, result.units) + " " +
                       unitName(Quantity::Depth, result.units) + " over " + std::to_string(minutes) +
                       " min simulated (data step " + std::to_string(result.dataStep) + " min";
    if (result.reportStep != result.dataStep) line += ", reported every " + std::to_string(result.reportStep) + " min";
    line += ")";
    if (result.start) line += ", from " + dateTimeText(*result.start);
    return line;
}

void writeHead(std::ostream &out, const ReportContent &content) {
    std::size_t basins = content.runs.empty() ? 0 : content.runs.front().result.basins.size();
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        << "<title>Runoff report: " << basins << (basins == 1 ? " basin, " : " basins, ") << content.runs.size()
        << (content.runs.size() == 1 ? " storm" : " storms") << "</title>\n<style>" << kStyle << "</style>\n"
        << "</head>\n<body>\n";
}

void writeRunFacts(std::ostream &out, const ReportContent &content) {
    const UnitSystem units = unitsOf(content);
    double area = 0.0;
    std::size_t basins = 0;
    if (!content.runs.empty())
        for (const BasinRun &basin : content.runs.front().result.basins) {
            area += basin.prepared.area;
            ++basins;
        }
    out << "<header>\n<h1>Runoff report</h1>\n<p class=\"lead\">" << basins << (basins == 1 ? " basin" : " basins")
        << " (" << text(inUnits(area, Quantity::Area, units)) << " " << text(unitName(Quantity::Area, units))
        << ") through " << content.runs.size() << (content.runs.size() == 1 ? " storm" : " storms")
        << (basins > 1 ? "; the outlet is the sum of the basins' outflows" : "") << ".</p>\n"
        << "<dl class=\"facts\">\n<dt>Made</dt><dd>" << text(content.madeAt) << "</dd>\n"
        << "<dt>Units</dt><dd>" << text(unitWords(units)) << "</dd>\n"
        << "<dt>Program</dt><dd>" << text(content.versions) << "</dd>\n"
        << "<dt>Command</dt><dd><code>" << text(content.commandLine) << "</code></dd>\n</dl>\n</header>\n";
}

struct Section {
    const char *id, *title;
};

void writeContents(std::ostream &out, const std::vector<Section> &sections) {
    out << "<nav>\n<ol>\n";
    for (const Section &s : sections) out << "<li><a href=\"#" << s.id << "\">" << text(s.title) << "</a></li>\n";
    out << "</ol>\n</nav>\n";
}

void openSection(std::ostream &out, const Section &section, std::size_t number) {
    out << "<section id=\"" << section.id << "\">\n<h2>" << number << " " << text(section.title) << "</h2>\n";
}

void writeSummaries(std::ostream &out, const ReportContent &content) {
    for (std::size_t k = 0; k < content.runs.size(); ++k) {
        const StormRun &run = content.runs[k];
        const RunResult &result = run.result;
        BasinRun outlet;
        const BasinSummary atOutlet = outletSummary(result, outlet);
        const std::vector<SummaryColumn> columns = summaryColumns(result, outlet.prepared.area, false);
        Table table;
        table.id = "summary-" + std::to_string(k + 1);
        table.caption = "Storm " + run.name + ": " + stormLine(result);
        table.header.push_back("basin");
        for (const SummaryColumn &column : columns)
            if (column.rowLayout) table.header.push_back(column.label + (column.unit.empty() ? "" : "\n" + column.unit));
        for (const BasinRun *basin : summaryOrder(result)) {
            const BasinSummary figures = basin ? summarize(*basin, result) : atOutlet;
            std::vector<std::string> cells{basin ? basin->name : "outlet"};
            for (const SummaryColumn &column : columns)
                if (column.rowLayout) cells.push_back(column.cell(basin, figures));
            table.add(std::move(cells), basin ? "" : "outlet");
        }
        writeTable(out, table);
    }
}

void writePeakTable(std::ostream &out, const ReportContent &content) {
    const UnitSystem units = unitsOf(content);
    Table table;
    table.id = "peaks";
    table.caption = "Peak outflow, " + unitName(Quantity::Flow, units) + ", in each storm";
    table.header.push_back("basin");
    for (const StormRun &run : content.runs) table.header.push_back(run.name);
    const std::size_t basins = content.runs.front().result.basins.size();
    if (basins > 1) {
        std::vector<std::string> cells{"outlet"};
        for (const StormRun &run : content.runs) cells.push_back(inUnits(run.result.outletPeak, Quantity::Flow, units));
        table.add(std::move(cells), "outlet");
    }
    for (std::size_t b = 0; b < basins; ++b) {
        std::vector<std::string> cells{content.runs.front().result.basins[b].name};
        for (const StormRun &run : content.runs)
            cells.push_back(inUnits(run.result.basins[b].peakOutflow, Quantity::Flow, units));
        table.add(std::move(cells));
    }
    writeTable(out, table);
}

// Up to this many basins each has its own line; beyond it the figure shows
// their range as a band and the five largest peaks (hydrograph_svg.h).
constexpr std::size_t kLinedBasins = 10;

void writeFigures(std::ostream &out, const ReportContent &content) {
    for (std::size_t k = 0; k < content.runs.size(); ++k) {
        const StormRun &run = content.runs[k];
        const RunResult &result = run.result;
        out << "<figure id=\"figure-" << k + 1 << "\">\n";
        writeChart(out, {chartPanel(result, "Storm " + run.name, 0.0)}, chartStyle(result.units), false, "");
        const std::size_t basins = result.basins.size();
        out << "<figcaption>Figure " << k + 1 << ". Storm " << text(run.name) << ": " << text(stormLine(result))
            << ". Rain in each step as bars from the top (right-hand scale); "
            << (basins > 1 ? "the outlet's outflow as the heavy black line, " : "")
            << (basins > kLinedBasins ? "the range of the " + std::to_string(basins) +
                                            " basins' outflows as a grey band and the five largest basin peaks as lines"
                                      : std::string(basins == 1 ? "the basin's outflow" : "each basin's outflow") +
                                            " as a coloured line")
            << "; time in minutes from the start of the storm"
            << (result.start ? " (" + dateTimeText(*result.start) + ")" : std::string()) << ".</figcaption>\n</figure>\n";
    }
}

void writeWarnings(std::ostream &out, const Warnings &warnings) {
    if (warnings.empty()) {
        out << "<p>The run gave no warning and no note.</p>\n";
        return;
    }
    Table table;
    table.id = "warnings-table";
    table.header = {"kind", "what", "basins", "times"};
    table.wordColumns = 3;
    for (const WarningGroup &group : groupedWarnings(warnings)) {
        std::string members;
        for (const std::string &member : group.members) members += (members.empty() ? "" : ", ") + member;
        table.add({isNote(group.cause) ? "note" : "warning", group.count == 1 ? group.sentence : causeTitle(group.cause),
                   members, std::to_string(group.count)});
    }
    writeTable(out, table);
}

void writeStorms(std::ostream &out, const ReportContent &content) {
    const UnitSystem units = unitsOf(content);
    const std::string depth = unitName(Quantity::Depth, units), rate = unitName(Quantity::Rate, units);
    Table table;
    table.id = "storms-table";
    table.header = {"storm", "file", "start", "step\nmin", "steps", "depth\n" + depth, "deepest step\n" + depth,
                    "its intensity\n" + rate, "run's data step\nmin"};
    table.wordColumns = 3;
    for (std::size_t k = 0; k < content.storms.size(); ++k) {
        const NamedStorm &named = content.storms[k];
        const Storm &storm = named.storm;
        double total = 0.0, deepest = 0.0;
        for (double d : storm.depths) {
            total += d;
            deepest = std::max(deepest, d);
        }
        const int dataStep = k < content.runs.size() ? content.runs[k].result.dataStep : 0;
        const int step = storm.stepMinutes > 0 ? storm.stepMinutes : dataStep;
        table.add({named.name, storm.path, storm.start ? dateTimeText(*storm.start) : "-",
                   storm.stepMinutes > 0 ? std::to_string(storm.stepMinutes) : "none (" + std::to_string(dataStep) + ")",
                   std::to_string(storm.depths.size()), inUnits(total, Quantity::Depth, units),
                   inUnits(deepest, Quantity::Depth, units),
                   step > 0 ? inUnits(deepest * 60.0 / step, Quantity::Rate, units) : "-", std::to_string(dataStep)});
    }
    writeTable(out, table);
}

void writeSteps(std::ostream &out, const ReportContent &content) {
    const UnitSystem units = unitsOf(content);
    const std::string inch = units == UnitSystem::Si ? "% of 25.4 mm" : "% of 1 in";
    std::set<int> shownSteps;
    for (const StormRun &run : content.runs) {
        const RunResult &result = run.result;
        if (!shownSteps.insert(result.dataStep).second) continue;
        std::string storms;
        for (const StormRun &other : content.runs)
            if (other.result.dataStep == result.dataStep) storms += (storms.empty() ? "" : ", ") + other.name;
        Table table;
        table.id = "steps-" + std::to_string(result.dataStep);
        table.caption = "Data step " + std::to_string(result.dataStep) + " min (storm" +
                        (storms.find(", ") == std::string::npos ? " " : "s ") + storms +
                        "): each basin at the largest step dividing it whose unit hydrograph holds " +
                        oneInch(units) + " within " + shown(100.0 * result.rule.volumeTolerance) +
                        " % and that is at most half the time to peak";
        table.header = {"basin", "computation step\nmin", "unit hydrograph volume\n" + inch, "time to peak\nmin",
                        "unit hydrograph peak\n" + unitName(Quantity::UnitFlow, units),
                        "unit hydrograph peak time\nmin", "CT", "CP", "DCIF used", "RPF used"};
        for (const BasinRun &basin : result.basins) {
            const StepChoice &c = basin.computation;
            const BasinInput &p = basin.prepared;
            table.add({basin.name, std::to_string(c.step) + (c.peakResolved ? "" : " (peak unresolved)"),
                       percentText(c.volumeRatio), shown(c.lagMinutes), inUnits(p.uhPeakRate, Quantity::UnitFlow, units),
                       shown(p.uhPeakTime), shown(p.shape.ct), shown(p.shape.cp), shown(p.dcif), shown(p.rpf)});
        }
        writeTable(out, table);
    }
}

// A basin value as given: "derive" where the file left it to the library.
std::string givenText(const BasinField &field, const BasinSource &source, UnitSystem units) {
    if (std::string_view(field.name) == "uhTimeStep" && !source.uhTimeStepGiven) return "-";
    const double value = field.load(source.record);
    if (derivable(field) && value == field.deriveWith) return "derive";
    return inUnits(value, field.quantity, units);
}

void writeBasins(std::ostream &out, const ReportContent &content) {
    const UnitSystem units = unitsOf(content);
    std::size_t count = 0;
    const BasinField *fields = basinFields(count);
    const std::vector<BasinRun> &prepared = content.runs.front().result.basins;
    out << "<p>Each basin's values as its file gives them and as the library prepared them for the first storm's "
           "computation step; prepared values that differ are in bold.</p>\n<div class=\"cards\">\n";
    for (const BasinSource &source : content.sources) {
        const auto run = std::find_if(prepared.begin(), prepared.end(),
                                      [&](const BasinRun &b) { return b.name == source.name; });
        Table table;
        table.caption = source.name;
        table.header = {"value", "unit", "given", "prepared"};
        table.wordColumns = 2;
        for (std::size_t f = 0; f < count; ++f) {
            const BasinField &field = fields[f];
            const std::string given = givenText(field, source, units);
            const std::string made =
                run == prepared.end() ? "-" : inUnits(field.load(run->prepared), field.quantity, units);
            table.add({field.name, unitName(field.quantity, units), given, made}, {},
                      {false, false, false, made != given});
        }
        writeTable(out, table);
    }
    out << "</div>\n";
}

void writeInputs(std::ostream &out, const ReportContent &content) {
    Table table;
    table.id = "inputs-table";
    table.header = {"input", "file", "bytes", "SHA-256"};
    table.wordColumns = 2;
    for (const ReportInput &input : content.inputs)
        table.add({input.role, input.path, std::to_string(input.bytes), input.sha256});
    writeTable(out, table);
}

} // namespace

void writeHtmlReport(std::ostream &out, const ReportContent &content) {
    if (content.runs.empty()) throw InputError("a report needs at least one run");
    std::vector<std::pair<Section, void (*)(std::ostream &, const ReportContent &)>> sections = {
        {{"summary", "Summary"}, writeSummaries}};
    if (content.runs.size() > 1) sections.push_back({{"peaks-by-storm", "Peak outflow by storm"}, writePeakTable});
    sections.push_back({{"figures", "Rain and outflow"}, writeFigures});
    sections.push_back({{"warnings", "Warnings and notes"},
                        [](std::ostream &o, const ReportContent &c) { writeWarnings(o, c.warnings); }});
    sections.push_back({{"storms", "Storms"}, writeStorms});
    sections.push_back({{"steps", "Computation steps and unit hydrographs"}, writeSteps});
    sections.push_back({{"basins", "Basins as given and as prepared"}, writeBasins});
    sections.push_back({{"inputs", "Input files"}, writeInputs});

    writeHead(out, content);
    writeRunFacts(out, content);
    std::vector<Section> titles;
    for (const auto &entry : sections) titles.push_back(entry.first);
    writeContents(out, titles);
    for (std::size_t s = 0; s < sections.size(); ++s) {
        openSection(out, sections[s].first, s + 1);
        sections[s].second(out, content);
        out << "</section>\n";
    }
    out << "</body>\n</html>\n";
}

ReportInput reportInput(const std::string &role, const std::string &path) {
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    if (error) throw inputErrorIn(path, "cannot be read for the report: " + error.message());
    return ReportInput{role, path, bytes, fileSha256(path)};
}

std::string shellCommandLine(const std::vector<std::string> &words) {
    std::string line;
    for (const std::string &word : words) {
        if (!line.empty()) line += ' ';
        const bool plain = !word.empty() && word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                                   "0123456789-_./=:,+%@") == std::string::npos;
        if (plain) {
            line += word;
            continue;
        }
        line += '\'';
        for (char c : word) line += c == '\'' ? std::string("'\\''") : std::string(1, c);
        line += '\'';
    }
    return line;
}

} // namespace vesk::tool
