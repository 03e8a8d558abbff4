#include "basin_source.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
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

// Editors on some systems start a UTF-8 file with a byte-order mark.  The
// file reader takes it as the start of the name token; it is dropped from the
// name, so it does not reach the tables, the CSV header or the plot.
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr std::size_t kByteOrderMarkLength = sizeof kByteOrderMark - 1;

bool startsWithByteOrderMark(const std::string &text) {
    return text.compare(0, kByteOrderMarkLength, kByteOrderMark) == 0;
}

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
    // A directory opens as a stream on Linux and reads as if empty.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored))
        throw inputErrorIn(path, "is a directory, not a basin file");
    std::ifstream in(path);
    if (!in) throw inputErrorIn(path, std::string("cannot open the basin file: ") + std::strerror(errno));
    const std::vector<Token> found = tokens(in);
    checkSyntax(path, found);

    BasinSource source;
    source.path = path;
    char name[kBasinNameCapacity];
    const BasinFileReading reading = readBasinFile(path.c_str(), source.record, name);
    if (!reading.opened) throw inputErrorIn(path, "cannot open the basin file");
    if (!reading.nameRead) throw inputErrorIn(path, "holds no basin name");
    source.name = name;
    if (startsWithByteOrderMark(source.name)) source.name.erase(0, kByteOrderMarkLength);
    if (source.name.empty()) throw inputErrorAt(path, found.front().line, "holds no basin name before the values");
    return source;
}

} // namespace vesk::tool
