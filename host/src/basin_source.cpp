#include "basin_source.h"

#include <unordered_map>

#include "basin_fields.h"
#include "basin_table.h"
#include "input_error.h"
#include "number_text.h"
#include "text_file.h"

namespace vesk::host {

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

void SourcePlaces::set(std::string_view field, SourcePlace place) {
    for (auto &entry : places_)
        if (entry.first == field) {
            entry.second = place;
            return;
        }
    if (places_.empty()) places_.reserve(24);
    places_.emplace_back(field, place);
}

const SourcePlace *SourcePlaces::find(std::string_view field) const {
    for (const auto &entry : places_)
        if (entry.first == field) return &entry.second;
    return nullptr;
}

std::string BasinSource::placeOf(std::string_view field) const {
    const SourcePlace *at = places.find(field);
    if (at == nullptr) return path;
    std::string text = path + ":" + std::to_string(at->line);
    if (at->column > 0) text += ": column " + std::to_string(at->column) + " (" + std::string(field) + ")";
    return text;
}

BasinSource readBasinFile(const std::string &path, UnitSystem units) {
    const std::vector<Token> found = tokens(readTextLines(path, "basin file"));
    if (found.empty()) throw inputErrorIn(path, "holds no basin name (the file is empty)");
    BasinSource source;
    source.path = path;
    source.name = found[0].text;
    if (const std::optional<std::string> fault = basinNameFault(source.name))
        throw inputErrorAt(path, found[0].line, *fault);
    source.places.set("name", SourcePlace{found[0].line, 0});
    std::size_t count = 0;
    const BasinField *const *fields = positionalFields(count);
    for (std::size_t i = 0; i < count; ++i) {
        const BasinField &field = *fields[i];
        if (i + 1 >= found.size())
            throw inputErrorIn(path, "ends before value " + std::to_string(i + 1) + " (" + field.name +
                                         "): a basin file holds a name and 22 numbers");
        const Token &token = found[i + 1];
        field.store(source.record, toLibraryUnits(fieldValue(path, token, field, i), field.quantity, units));
        source.places.set(field.name, SourcePlace{token.line, 0});
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

void refuseRepeatedNames(const std::vector<BasinSource> &sources) {
    std::unordered_map<std::string, const BasinSource *> seen;
    seen.reserve(sources.size());
    for (const BasinSource &source : sources) {
        const auto [at, added] = seen.emplace(comparedName(source.name), &source);
        if (added) continue;
        const BasinSource &earlier = *at->second;
        const SourcePlace *here = source.places.find("name");
        const SourcePlace *there = earlier.places.find("name");
        const std::string where = earlier.path == source.path
                                      ? "on line " + std::to_string(there ? there->line : 0)
                                      : "in " + earlier.placeOf("name");
        const std::string column = here != nullptr && here->column > 0 ? "column 1 (name): " : "";
        throw inputErrorAt(source.path, here ? here->line : 0,
                           column + "basin '" + source.name + "' already appears " + where +
                               " (names are compared ignoring letter case)");
    }
}

} // namespace vesk::host
