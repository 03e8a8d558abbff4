// Reads a golden table (tests/golden/current.txt, earlier.txt) and compares
// results with its expected values bit for bit.  The tables are written by
// tools/golden/evaluate.py, which works the method's formulas out on its own;
// a table line is
//   storm NAME DEPTH...                  a rain series, one depth per step
//   calc FUNCTION ARG... = BITS          one calculator call
//   basin LABEL STORM FIELD=VALUE... = BITS...
// A basin is added from the listed fields (all others 0) under one name,
// read back and stepped once per depth of its storm ("-": no steps).  Its
// results, in order: the prepared parameters (see each level's test),
// uhPeakTime, unitPeakRate, uhPeakRate, unitRunoffVolume, the number of
// ordinates and the ordinates, then per step the outflow and the level's
// step state (see each level's test).
// Include after the level's public header.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace golden {

struct Case {
    int line{};
    std::string kind;              // "calc" or "basin"
    std::string name;              // calculator or basin label
    std::string storm;             // basin: storm name or "-"
    std::vector<std::string> args; // calc: arguments; basin: FIELD=VALUE
    std::vector<double> expected;
};

struct Table {
    std::map<std::string, std::vector<double>> storms;
    std::vector<Case> cases;
};

// A decimal or hexadecimal floating-point number; the whole text must be one.
inline double number(const std::string &text) {
    char *end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0') ADD_FAILURE() << "not a number: '" << text << "'";
    return value;
}

inline int32_t integer(const std::string &text) { return static_cast<int32_t>(number(text)); }

inline Table readTable(const std::string &path) {
    Table table;
    std::ifstream in(path);
    if (!in) ADD_FAILURE() << "cannot read " << path;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (text.empty() || text[0] == '#') continue;
        std::istringstream words(text);
        std::string kind, name, word;
        words >> kind >> name;
        if (kind == "storm") {
            std::vector<double> &depths = table.storms[name];
            while (words >> word) depths.push_back(number(word));
            continue;
        }
        Case c;
        c.line = line;
        c.kind = kind;
        c.name = name;
        if (kind == "basin") words >> c.storm;
        bool results = false;
        while (words >> word) {
            if (word == "=") results = true;
            else if (results) c.expected.push_back(number(word));
            else c.args.push_back(word);
        }
        table.cases.push_back(c);
    }
    return table;
}

// A result with the name it is reported under.
struct Result {
    std::string name;
    double value;
};

inline uint64_t bitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline std::string hexOf(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

// Every result must carry exactly the expected bits.  Only the first
// difference is reported (later ones usually follow from it), with a count.
inline void expectSameBits(const Case &c, const std::vector<Result> &actual) {
    ASSERT_EQ(actual.size(), c.expected.size()) << c.name << ": number of results";
    std::size_t differing = 0, first = 0;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        if (bitsOf(actual[i].value) == bitsOf(c.expected[i])) continue;
        if (differing++ == 0) first = i;
    }
    if (differing == 0) return;
    EXPECT_EQ(bitsOf(actual[first].value), bitsOf(c.expected[first]))
        << c.name << ", " << actual[first].name << ": " << hexOf(actual[first].value) << " ("
        << actual[first].value << "), expected " << hexOf(c.expected[first]) << " (" << c.expected[first]
        << "); " << differing << " of " << actual.size() << " results differ";
}

using Args = std::vector<std::string>;
using Calculators = std::map<std::string, std::function<double(const Args &)>>;

// The calculators both levels export with the same arguments.
inline void addCommonCalculators(Calculators &calc) {
    calc["vesk_runoffCoeffCorr"] = [](const Args &a) {
        return vesk_runoffCoeffCorr(a.at(0).c_str(), integer(a.at(1)), number(a.at(2)));
    };
    calc["vesk_runoffCoeff"] = [](const Args &a) {
        return vesk_runoffCoeff(a.at(0).c_str(), integer(a.at(1)), number(a.at(2)));
    };
    calc["vesk_calcCT_Cutoff"] = [](const Args &a) { return vesk_calcCT_Cutoff(number(a.at(0))); };
    calc["vesk_CTgetParam"] = [](const Args &a) { return vesk_CTgetParam(number(a.at(0)), a.at(1).c_str()); };
    calc["vesk_CPgetParam"] = [](const Args &a) {
        return vesk_CPgetParam(number(a.at(0)), number(a.at(1)), a.at(2).c_str());
    };
    calc["vesk_maxLengthCutoff"] = [](const Args &a) { return vesk_maxLengthCutoff(number(a.at(0))); };
    calc["vesk_calcOverlandLen"] = [](const Args &a) {
        return vesk_calcOverlandLen(number(a.at(0)), number(a.at(1)));
    };
    calc["vesk_calcChannelLen"] = [](const Args &a) {
        return vesk_calcChannelLen(number(a.at(0)), number(a.at(1)));
    };
    calc["vesk_initialFlowTime"] = [](const Args &a) {
        return vesk_initialFlowTime(number(a.at(0)), number(a.at(1)), number(a.at(2)), number(a.at(3)));
    };
    calc["vesk_flowTravelTime"] = [](const Args &a) {
        return vesk_flowTravelTime(number(a.at(0)), number(a.at(1)), number(a.at(2)));
    };
    calc["vesk_calcMinTc"] = [](const Args &a) { return vesk_calcMinTc(number(a.at(0))); };
    calc["vesk_calcRegionalTc"] = [](const Args &a) { return vesk_calcRegionalTc(number(a.at(0))); };
    calc["vesk_calcTc"] = [](const Args &a) {
        return vesk_calcTc(number(a.at(0)), number(a.at(1)), number(a.at(2)), number(a.at(3)), number(a.at(4)));
    };
    calc["vesk_calcConvCoeff"] = [](const Args &a) { return vesk_calcConvCoeff(number(a.at(0))); };
    calc["vesk_calcIntensity"] = [](const Args &a) {
        return vesk_calcIntensity(number(a.at(0)), number(a.at(1)), number(a.at(2)), number(a.at(3)),
                                  number(a.at(4)));
    };
    calc["vesk_linterp"] = [](const Args &a) {
        return vesk_linterp(number(a.at(0)), number(a.at(1)), number(a.at(2)), number(a.at(3)), number(a.at(4)));
    };
}

inline std::vector<Result> calculatorResult(const Calculators &calc, const Case &c) {
    const auto found = calc.find(c.name);
    if (found == calc.end()) {
        ADD_FAILURE() << "no calculator " << c.name;
        return {};
    }
    return {{c.name, found->second(c.args)}};
}

// Sets the fields both levels' records have; false for any other name.
template <class Record>
bool setCommonField(Record &r, const std::string &name, const std::string &value) {
    static const std::map<std::string, double Record::*> doubles = {
        {"area", &Record::area},
        {"length", &Record::length},
        {"centroidLength", &Record::centroidLength},
        {"imperviousPct", &Record::imperviousPct},
        {"slope", &Record::slope},
        {"perviousDepressionStorage", &Record::perviousDepressionStorage},
        {"imperviousDepressionStorage", &Record::imperviousDepressionStorage},
        {"initialInfiltrationRate", &Record::initialInfiltrationRate},
        {"finalInfiltrationRate", &Record::finalInfiltrationRate},
        {"infiltrationDecay", &Record::infiltrationDecay},
        {"dcif", &Record::dcif},
        {"rpf", &Record::rpf},
    };
    static const std::map<std::string, double ShapeParameters::*> shape = {
        {"ct", &ShapeParameters::ct},
        {"cp", &ShapeParameters::cp},
        {"width50", &ShapeParameters::width50},
        {"width75", &ShapeParameters::width75},
        {"rise50Fraction", &ShapeParameters::rise50Fraction},
        {"rise75Fraction", &ShapeParameters::rise75Fraction},
    };
    if (const auto d = doubles.find(name); d != doubles.end()) r.*(d->second) = number(value);
    else if (const auto s = shape.find(name); s != shape.end()) r.shape.*(s->second) = number(value);
    else if (name == "disconnectionLevel") r.disconnectionLevel = integer(value);
    else if (name == "uhTimeStep") r.shape.uhTimeStep = integer(value);
    else return false;
    return true;
}

// The parameters and unit hydrograph every basin result starts with, after
// the level's own prepared parameters.
template <class Record>
void addHydrograph(std::vector<Result> &out, const Record &prepared, const char *name) {
    const ShapeParameters &s = prepared.shape;
    out.insert(out.end(), {{"ct", s.ct}, {"cp", s.cp}, {"width50", s.width50}, {"width75", s.width75},
                           {"rise50Fraction", s.rise50Fraction}, {"rise75Fraction", s.rise75Fraction},
                           {"uhPeakTime", prepared.uhPeakTime}, {"unitPeakRate", prepared.unitPeakRate},
                           {"uhPeakRate", prepared.uhPeakRate}, {"unitRunoffVolume", prepared.unitRunoffVolume}});
    const int32_t length = vesk_getuhlength(name);
    out.push_back({"uhLength", static_cast<double>(length)});
    for (int32_t i = 0; i < length; ++i)
        out.push_back({"ordinate " + std::to_string(i), vesk_getuhordinatevalue(name, i)});
}

// Checks every line of the level's table `file` (in VESK_GOLDEN_DIR):
// calculator calls through `calc`, basins through `basinResults` with the
// storm the line names.
template <typename BasinResults>
void expectTableReproduced(const char *file, const Calculators &calc, BasinResults basinResults) {
    const Table table = readTable(std::string(VESK_GOLDEN_DIR) + "/" + file);
    ASSERT_GT(table.cases.size(), 500u);
    for (const Case &c : table.cases) {
        SCOPED_TRACE(std::string(file) + " line " + std::to_string(c.line));
        if (c.kind == "calc") {
            expectSameBits(c, calculatorResult(calc, c));
        } else if (c.kind == "basin") {
            const auto storm = table.storms.find(c.storm);
            const std::vector<double> none;
            expectSameBits(c, basinResults(c, storm != table.storms.end() ? storm->second : none));
        } else {
            ADD_FAILURE() << "unknown line kind " << c.kind;
        }
    }
}

} // namespace golden
