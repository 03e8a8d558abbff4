#include "basin_source.h"

#include "basin_fields.h"
#include "basin_table.h"
#include "input_error.h"
#include "number_text.h"
#include "text_file.h"

namespace vesk::tool {

namespace {

struct Token {
    std::string text;
    int line;
};

// The white space the library's formatted reading skips.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::vector<Token> tokens(const std::vector<std::string> &lines) {
    std::vector<Token> found;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string &line = lines[n];
        for (std::size_t i = 0; i < line.size();) {
            if (isBlank(line[i])) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < line.size() && !isBlank(line[end])) ++end;
            found.push_back(Token{line.substr(i, end - i), static_cast<int>(n) + 1});
            i = end;
        }
    }
    return found;
}

double fieldValue(const std::string &path, const Token &token, const BasinField &field, std::size_t index) {
    const std::string label = "value " + std::to_string(index + 1) + " (" + field.name + ")";
    if (field.integer) {
        const std::optional<int32_t> value = parseDecimalInteger(token.text);
        if (!value) throw inputErrorAt(path, token.line, label + " '" + token.text + "' is not a whole number");
        return *value;
    }
    const std::optional<double> value = parsePlainDecimal(token.text);
    if (!value) throw inputErrorAt(path, token.line, label + " '" + token.text + "' is not a number");
    return *value;
}

} // namespace

std::string BasinSource::placeOf(const std::string &field) const {
    const auto at = places.find(field);
    if (at == places.end()) return path;
    std::string text = path + ":" + std::to_string(at->second.line);
    if (at->second.column > 0) text += ": column " + std::to_string(at->second.column) + " (" + field + ")";
    return text;
}

BasinSource readBasinFile(const std::string &path, UnitSystem units) {
    const std::vector<Token> found = tokens(readTextLines(path, "basin file"));
    if (found.empty()) throw inputErrorIn(path, "holds no basin name (the file is empty)");
    BasinSource source;
    source.path = path;
    source.name = found[0].text;
    if (source.name.size() > kMaxBasinNameBytes)
        throw inputErrorAt(path, found[0].line,
                           "the basin name is longer than " + std::to_string(kMaxBasinNameBytes) + " characters");
    std::size_t count = 0;
    const BasinField *const *fields = positionalFields(count);
    for (std::size_t i = 0; i < count; ++i) {
        const BasinField &field = *fields[i];
        if (i + 1 >= found.size())
            throw inputErrorIn(path, "ends before value " + std::to_string(i + 1) + " (" + field.name +
                                         "): a basin file holds a name and 22 numbers");
        const Token &token = found[i + 1];
        field.store(source.record, toLibraryUnits(fieldValue(path, token, field, i), field.quantity, units));
        source.places[field.name] = SourcePlace{token.line, 0};
    }
    if (found.size() > count + 1) {
        const Token &extra = found[count + 1];
        throw inputErrorAt(path, extra.line, "unexpected '" + extra.text + "' after the 22 values of the basin");
    }
    source.uhTimeStepGiven = true;
    return source;
}

bool isBasinTablePath(const std::string &path) {
    if (path.size() < 4) return false;
    std::string ending = path.substr(path.size() - 4);
    for (char &c : ending) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ending == ".csv";
}

std::vector<BasinSource> readBasinSources(const std::string &path, UnitSystem units) {
    if (isBasinTablePath(path)) return readBasinTable(path, units);
    return {readBasinFile(path, units)};
}

} // namespace vesk::tool
