// The library's 25 calculators by name, with their arguments and units, so
// `vesk calc` can call any of them from the command line.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace vesk::tool {

enum class ArgumentKind { Integer, Real, Text };

struct ArgumentValue {
    int32_t integer = 0;
    double real = 0.0;
    std::string text;
};

struct CalculatorArgument {
    const char *name;
    ArgumentKind kind;
    const char *meaning; // unit or accepted values
    bool unused = false; // accepted by the export and without effect
    // Where the relation's tables end: null for a value inside them, else why
    // the result is the relation's neutral (or another group's) value.
    const char *(*outside)(const ArgumentValue &) = nullptr;
};

struct Calculator {
    const char *name; // the export's name without the vesk_ prefix
    const char *result;
    std::vector<CalculatorArgument> arguments;
    double (*call)(const std::vector<ArgumentValue> &);
};

const std::vector<Calculator> &calculators();

// By name, with or without the vesk_ prefix, letter case ignored; null if none.
const Calculator *findCalculator(const std::string &name);

// Converts the command-line words to argument values and calls the
// calculator.  Unused arguments may be left out altogether.  Throws
// InputError for a wrong count or a word that is not of its argument's kind.
// Each argument outside the relation's tables adds a warning to `warnings`.
double callCalculator(const Calculator &calculator, const std::vector<std::string> &words,
                      std::vector<std::string> *warnings = nullptr);

// "calcEIA dcif rpf imperviousPct rainfall infiltration"
std::string calculatorSynopsis(const Calculator &calculator);

// The listing of `vesk calc --list`.
void printCalculatorList(std::ostream &out);

} // namespace vesk::tool
