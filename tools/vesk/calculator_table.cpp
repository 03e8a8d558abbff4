#include "calculator_table.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "input_error.h"
#include "number_text.h"
#include "veskdll133.h"

namespace vesk::tool {

using namespace vesk::host;

namespace {

using Values = std::vector<ArgumentValue>;
constexpr ArgumentKind I = ArgumentKind::Integer;
constexpr ArgumentKind R = ArgumentKind::Real;
constexpr ArgumentKind T = ArgumentKind::Text;

const char *levelOutside(const ArgumentValue &v) {
    return v.integer >= 0 && v.integer <= 2 ? nullptr : "is not a table level (0, 1 or 2)";
}
const char *tablePercentOutside(const ArgumentValue &v) {
    return v.real >= 0.0 && v.real <= 100.0 ? nullptr : "lies outside the tables' 0 to 100 %";
}
const char *abKeyOutside(const ArgumentValue &v) {
    return v.text.rfind('a', 0) == 0 || v.text.rfind('b', 0) == 0 ? nullptr : "selects no column (a or b, lower case)";
}
const char *abcKeyOutside(const ArgumentValue &v) {
    const char first = v.text.empty() ? '\0' : v.text[0];
    return first == 'a' || first == 'b' || first == 'c' ? nullptr : "selects no column (a, b or c, lower case)";
}
const char *soilOutside(const ArgumentValue &v) {
    const char first = v.text.empty() ? '\0' : v.text[0];
    return first >= 'A' && first <= 'D' ? nullptr : "is not a soil group of the relation (A, B, C or D, upper case)";
}
const char *correctionSoilOutside(const ArgumentValue &v) {
    const char first = v.text.empty() ? '\0' : v.text[0];
    return first == 'A' || first == 'C' || first == 'D' ? nullptr
                                                       : "has no correction column (A, C or D); it reads as group A";
}
const char *returnPeriodOutside(const ArgumentValue &v) {
    for (int period : {5, 10, 25, 50, 100})
        if (v.integer == period) return nullptr;
    return "is not in the table (5, 10, 25, 50 or 100 years); the correction is 0";
}

const CalculatorArgument kLevel{"level", I, "disconnection level 0, 1 or 2", false, levelOutside};
const CalculatorArgument kImpervious{"imperviousPct", R, "% of the basin"};
const CalculatorArgument kTableImpervious{"imperviousPct", R, "% of the basin, 0 to 100", false, tablePercentOutside};
const CalculatorArgument kArea{"area", R, "sq mi"};
const CalculatorArgument kCt{"ct", R, "time-to-peak coefficient"};
const CalculatorArgument kSoil{"soilGroup", T, "A, B, C or D (upper case; B the mean of A and C, D as C)", false,
                               soilOutside};
const CalculatorArgument kCorrectionSoil{"soilGroup", T, "A, C or D (upper case; any other, B included, reads as A)",
                                         false, correctionSoilOutside};
const CalculatorArgument kReturnPeriod{"returnPeriod", I, "years: 5, 10, 25, 50 or 100", false, returnPeriodOutside};
const CalculatorArgument kAbKey{"key", T, "a (slope) or b (intercept)", false, abKeyOutside};
const CalculatorArgument kAbcKey{"key", T, "a, b or c", false, abcKeyOutside};

std::vector<Calculator> buildTable() {
    return {
        // Impervious fractions and effective impervious area.
        {"DCIFgetParam", "DCIF table coefficient", {kLevel, kTableImpervious, kAbKey},
         [](const Values &v) { return vesk_DCIFgetParam(v[0].integer, v[1].real, v[2].text.c_str()); }},
        {"RPFgetParam", "RPF table coefficient", {kLevel, kTableImpervious, kAbKey},
         [](const Values &v) { return vesk_RPFgetParam(v[0].integer, v[1].real, v[2].text.c_str()); }},
        {"calcDCIF", "directly connected impervious fraction", {kLevel, kTableImpervious},
         [](const Values &v) { return vesk_calcDCIF(v[0].integer, v[1].real); }},
        {"calcRPF", "receiving pervious fraction", {kLevel, kTableImpervious},
         [](const Values &v) { return vesk_calcRPF(v[0].integer, v[1].real); }},
        {"calcUIF", "unconnected impervious fraction", {{"dcif", R, "fraction"}},
         [](const Values &v) { return vesk_calcUIF(v[0].real); }},
        {"calcSPF", "separate pervious fraction", {{"rpf", R, "fraction"}},
         [](const Values &v) { return vesk_calcSPF(v[0].real); }},
        {"calcEIA", "effective impervious area, % of the basin",
         {{"dcif", R, "fraction"}, {"rpf", R, "fraction"}, kImpervious, {"rainfall", R, "any depth or rate unit"},
          {"infiltration", R, "same unit as rainfall"}},
         [](const Values &v) { return vesk_calcEIA(v[0].real, v[1].real, v[2].real, v[3].real, v[4].real); }},
        // Peaking coefficients.
        {"CTgetParam", "CT quadratic coefficient", {kImpervious, kAbcKey},
         [](const Values &v) { return vesk_CTgetParam(v[0].real, v[1].text.c_str()); }},
        {"calcCT_Cutoff", "time-to-peak coefficient CT, uncorrected", {kImpervious},
         [](const Values &v) { return vesk_calcCT_Cutoff(v[0].real); }},
        {"calcCT", "CT with the correction for basins under 0.25 sq mi", {kCt, kArea},
         [](const Values &v) { return vesk_calcCT(v[0].real, v[1].real); }},
        {"CPgetParam", "peaking-parameter coefficient",
         {kImpervious, {"unused", R, "not used", true}, kAbcKey},
         [](const Values &v) { return vesk_CPgetParam(v[0].real, v[1].real, v[2].text.c_str()); }},
        {"calcCP", "peak coefficient CP", {kImpervious, kArea, kCt},
         [](const Values &v) { return vesk_calcCP(v[0].real, v[1].real, v[2].real); }},
        // Runoff coefficients, flow lengths and times, intensity.
        {"runoffCoeffCorr", "return-period correction of the runoff coefficient",
         {kCorrectionSoil, kReturnPeriod, kImpervious},
         [](const Values &v) { return vesk_runoffCoeffCorr(v[0].text.c_str(), v[1].integer, v[2].real); }},
        {"runoffCoeff", "runoff coefficient", {kSoil, kReturnPeriod, kImpervious},
         [](const Values &v) { return vesk_runoffCoeff(v[0].text.c_str(), v[1].integer, v[2].real); }},
        {"maxLengthCutoff", "cut-off length 500 exp(-0.035 x), ft", {{"x", R, "as the relation's table"}},
         [](const Values &v) { return vesk_maxLengthCutoff(v[0].real); }},
        {"calcOverlandLen", "overland length, ft", {{"totalLength", R, "ft"}, {"maxLength", R, "ft"}},
         [](const Values &v) { return vesk_calcOverlandLen(v[0].real, v[1].real); }},
        {"calcChannelLen", "channel length, ft", {{"totalLength", R, "ft"}, {"overlandLength", R, "ft"}},
         [](const Values &v) { return vesk_calcChannelLen(v[0].real, v[1].real); }},
        {"initialFlowTime", "overland (initial) flow time, min",
         {{"runoffCoefficient", R, "0..1"}, {"overlandLength", R, "ft"}, {"slope", R, "ft/ft"},
          {"unused", R, "not used", true}},
         [](const Values &v) { return vesk_initialFlowTime(v[0].real, v[1].real, v[2].real, v[3].real); }},
        {"flowTravelTime", "travel time, min",
         {{"length", R, "ft"}, {"velocity", R, "ft/s"}, {"unused", R, "not used", true}},
         [](const Values &v) { return vesk_flowTravelTime(v[0].real, v[1].real, v[2].real); }},
        {"calcMinTc", "minimum time of concentration, min", {kImpervious},
         [](const Values &v) { return vesk_calcMinTc(v[0].real); }},
        {"calcRegionalTc", "regional time of concentration, min", {{"length", R, "ft"}},
         [](const Values &v) { return vesk_calcRegionalTc(v[0].real); }},
        {"calcTc", "time of concentration, min",
         {{"initialTime", R, "min"}, {"travelTime", R, "min"}, {"minTime", R, "min"}, {"regionalTime", R, "min"},
          kImpervious},
         [](const Values &v) { return vesk_calcTc(v[0].real, v[1].real, v[2].real, v[3].real, v[4].real); }},
        {"calcConvCoeff", "conveyance coefficient", {kImpervious},
         [](const Values &v) { return vesk_calcConvCoeff(v[0].real); }},
        {"calcIntensity", "rainfall intensity a1 a3 / (a2 + a4)^a5",
         {{"a1", R, "coefficient"}, {"a2", R, "coefficient"}, {"a3", R, "coefficient"}, {"a4", R, "coefficient"},
          {"a5", R, "exponent"}},
         [](const Values &v) { return vesk_calcIntensity(v[0].real, v[1].real, v[2].real, v[3].real, v[4].real); }},
        {"linterp", "y at x on the line through (x1, y1) and (x2, y2)",
         {{"y1", R, "any"}, {"x1", R, "any"}, {"y2", R, "any"}, {"x2", R, "any"}, {"x", R, "any"}},
         [](const Values &v) { return vesk_linterp(v[0].real, v[1].real, v[2].real, v[3].real, v[4].real); }},
    };
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

ArgumentValue convert(const Calculator &calculator, const CalculatorArgument &argument, const std::string &word) {
    ArgumentValue value;
    const std::string where = std::string(calculator.name) + ": " + argument.name + " '" + word + "'";
    switch (argument.kind) {
    case ArgumentKind::Integer:
        if (const auto integer = parseWholeNumber(word)) value.integer = *integer;
        else throw InputError(where + " is not a whole number");
        break;
    case ArgumentKind::Real:
        if (const auto real = parseReal(word)) value.real = *real;
        else throw InputError(where + " is not a number");
        if (!std::isfinite(value.real)) throw InputError(where + " is not a finite number");
        break;
    case ArgumentKind::Text:
        value.text = word;
        break;
    }
    return value;
}

} // namespace

const std::vector<Calculator> &calculators() {
    static const std::vector<Calculator> table = buildTable();
    return table;
}

const Calculator *findCalculator(const std::string &name) {
    std::string wanted = lowered(name);
    if (wanted.rfind("vesk_", 0) == 0) wanted.erase(0, 5);
    for (const Calculator &calculator : calculators())
        if (lowered(calculator.name) == wanted) return &calculator;
    return nullptr;
}

double callCalculator(const Calculator &calculator, const std::vector<std::string> &words,
                      std::vector<std::string> *warnings) {
    const std::size_t all = calculator.arguments.size();
    const std::size_t used = static_cast<std::size_t>(
        std::count_if(calculator.arguments.begin(), calculator.arguments.end(),
                      [](const CalculatorArgument &a) { return !a.unused; }));
    if (words.size() != all && words.size() != used) {
        std::string expected = std::to_string(all);
        if (used != all) expected = std::to_string(used) + " (or " + expected + " with the unused one)";
        throw InputError(std::string(calculator.name) + " takes " + expected + " argument(s), got " +
                         std::to_string(words.size()) + "; usage: vesk calc " + calculatorSynopsis(calculator));
    }
    const bool skipUnused = words.size() != all;
    std::vector<ArgumentValue> values;
    std::size_t next = 0;
    for (const CalculatorArgument &argument : calculator.arguments) {
        if (argument.unused && skipUnused) {
            values.emplace_back();
            continue;
        }
        const std::string &word = words[next++];
        values.push_back(convert(calculator, argument, word));
        if (argument.outside == nullptr || warnings == nullptr) continue;
        if (const char *why = argument.outside(values.back()))
            warnings->push_back(std::string(calculator.name) + ": " + argument.name + " '" + word + "' " + why +
                                "; the result is the relation's value for it");
    }
    return calculator.call(values);
}

std::string calculatorSynopsis(const Calculator &calculator) {
    std::string synopsis = calculator.name;
    for (const CalculatorArgument &argument : calculator.arguments)
        synopsis += argument.unused ? std::string(" [") + argument.name + "]" : std::string(" ") + argument.name;
    return synopsis;
}

void printCalculatorList(std::ostream &out) {
    out << "The library's " << calculators().size()
        << " calculators (vesk calc NAME ARG...; [unused] arguments may be left out):\n";
    for (const Calculator &calculator : calculators()) {
        out << "\n  " << calculatorSynopsis(calculator) << "\n      -> " << calculator.result << '\n';
        for (const CalculatorArgument &argument : calculator.arguments)
            out << "      " << argument.name << ": " << argument.meaning << '\n';
    }
}

} // namespace vesk::tool
