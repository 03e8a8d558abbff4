#include "basin_source.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include "frame/basin_file.h"
#include "input_error.h"

namespace vesk::tool {

namespace {

// The 22 values in file order; `integer` marks the two integer fields.
struct FileValue {
    const char *field;
    bool integer;
};

constexpr FileValue kFileValues[] = {
    {"area", false}, {"disconnectionLevel", true}, {"centroidLength", false}, {"dcif", false},
    {"imperviousPct", false}, {"length", false}, {"rpaShare", false}, {"rpf", false},
    {"spaShare", false}, {"slope", false},
    {"imperviousDepressionStorage", false}, {"perviousDepressionStorage", false},
    {"initialInfiltrationRate", false}, {"infiltrationDecay", false}, {"finalInfiltrationRate", false},
    {"cp", false}, {"ct", false}, {"rise50Fraction", false}, {"rise75Fraction", false},
    {"uhTimeStep", true}, {"width50", false}, {"width75", false},
};
constexpr std::size_t kValueCount = sizeof kFileValues / sizeof kFileValues[0];

struct Token {
    std::string text;
    int line;
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::vector<Token> tokens(std::istream &in) {
    std::vector<Token> found;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        for (std::size_t i = 0; i < line.size();) {
            if (isBlank(line[i])) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < line.size() && !isBlank(line[end])) ++end;
            found.push_back(Token{line.substr(i, end - i), number});
            i = end;
        }
    }
    return found;
}

// Digits with an optional sign: the only form an integer field takes whole.
bool isDecimalInteger(const std::string &text) {
    std::size_t i = (text[0] == '+' || text[0] == '-') ? 1 : 0;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i)
        if (!isDigit(text[i])) return false;
    return true;
}

// [sign] digits [. digits] [e [sign] digits] with a digit in the mantissa:
// the form a real field takes whole (no hexadecimal, no nan or inf).
bool isDecimalReal(const std::string &text) {
    std::size_t i = (text[0] == '+' || text[0] == '-') ? 1 : 0;
    std::size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) ++digits;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && isDigit(text[i]); ++i) ++digits;
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        for (; i < text.size() && isDigit(text[i]); ++i) ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return i == text.size();
}

void checkSyntax(const std::string &path, const std::vector<Token> &found) {
    if (found.empty()) throw inputErrorIn(path, "holds no basin name (the file is empty)");
    if (found[0].text.size() >= kBasinNameCapacity)
        throw inputErrorAt(path, found[0].line,
                           "the basin name is longer than " + std::to_string(kBasinNameCapacity - 1) + " characters");
    for (std::size_t i = 0; i < kValueCount; ++i) {
        const FileValue &value = kFileValues[i];
        const std::string label = "value " + std::to_string(i + 1) + " (" + value.field + ")";
        if (i + 1 >= found.size())
            throw inputErrorIn(path, "ends before " + label + ": a basin file holds a name and 22 numbers");
        const Token &token = found[i + 1];
        if (value.integer && !isDecimalInteger(token.text))
            throw inputErrorAt(path, token.line, label + " '" + token.text + "' is not a whole number");
        if (!value.integer && !isDecimalReal(token.text))
            throw inputErrorAt(path, token.line, label + " '" + token.text + "' is not a number");
    }
    if (found.size() > kValueCount + 1) {
        const Token &extra = found[kValueCount + 1];
        throw inputErrorAt(path, extra.line, "unexpected '" + extra.text + "' after the 22 values of the basin");
    }
}

} // namespace

BasinSource readBasinSource(const std::string &path) {
    std::ifstream in(path);
    if (!in) throw inputErrorIn(path, std::string("cannot open the basin file: ") + std::strerror(errno));
    checkSyntax(path, tokens(in));

    BasinSource source;
    source.path = path;
    char name[kBasinNameCapacity];
    const BasinFileReading reading = readBasinFile(path.c_str(), source.record, name);
    if (!reading.opened) throw inputErrorIn(path, "cannot open the basin file");
    if (!reading.nameRead) throw inputErrorIn(path, "holds no basin name");
    source.name = name;
    return source;
}

} // namespace vesk::tool
