#include "basin_table.h"

#include <cmath>

#include "basin_fields.h"
#include "basin_names.h"
#include "input_error.h"
#include "number_text.h"
#include "text_file.h"

namespace vesk::host {

namespace {

std::string lowered(std::string text) {
    for (char &c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

bool isSkipped(const std::vector<std::string> &cells) {
    if (cells.size() == 1 && cells[0].empty()) return true;
    return !cells.empty() && !cells[0].empty() && cells[0][0] == '#';
}

InputError cellError(const std::string &path, int line, std::size_t column, const std::string &field,
                     const std::string &what) {
    return inputErrorAt(path, line, "column " + std::to_string(column + 1) + " (" + field + "): " + what);
}

// The header's fields in column order (null for `name`, the first column).
std::vector<const BasinField *> headerFields(const std::vector<std::string> &cells, const std::string &path,
                                             int line) {
    if (cells.empty() || lowered(cells[0]) != "name")
        throw inputErrorAt(path, line, "column 1: a basin table's first column must be 'name', found '" +
                                           (cells.empty() ? std::string() : cells[0]) + "'");
    std::vector<const BasinField *> fields{nullptr};
    for (std::size_t c = 1; c < cells.size(); ++c) {
        const BasinField *field = findBasinField(cells[c]);
        if (field == nullptr)
            throw inputErrorAt(path, line, "column " + std::to_string(c + 1) + ": unknown field '" + cells[c] +
                                               "'; the known fields are " + knownFieldNames());
        for (const BasinField *seen : fields)
            if (seen == field)
                throw inputErrorAt(path, line,
                                   "column " + std::to_string(c + 1) + ": field '" + cells[c] + "' appears twice");
        fields.push_back(field);
    }
    std::size_t count = 0;
    const BasinField *all = basinFields(count);
    for (std::size_t i = 0; i < count; ++i) {
        bool present = false;
        for (const BasinField *f : fields) present = present || f == &all[i];
        if (all[i].required && !present)
            throw inputErrorAt(path, line, std::string("the required column '") + all[i].name + "' is missing");
    }
    return fields;
}

// The value of one cell in the library's units.
double cellValue(const std::string &cell, const BasinField &field, const std::string &path, int line,
                 std::size_t column, UnitSystem units) {
    if (cell.empty() || lowered(cell) == "derive") {
        if (derivable(field)) return field.deriveWith;
        if (field.required || !cell.empty())
            throw cellError(path, line, column, field.name,
                            cell.empty() ? "a value is required" : "this value cannot be derived; give a number");
        return 0.0; // disconnectionLevel and eiaPct default to 0
    }
    if (field.integer) {
        const std::optional<int32_t> value = parseWholeNumber(cell);
        if (!value) throw cellError(path, line, column, field.name, "'" + cell + "' is not a whole number");
        return *value;
    }
    const std::optional<double> value = parsePlainDecimal(cell);
    if (!value) throw cellError(path, line, column, field.name, "'" + cell + "' is not a number");
    return toLibraryUnits(*value, field.quantity, units);
}

BasinSource rowBasin(const std::vector<std::string> &cells, const std::vector<const BasinField *> &fields,
                     const std::string &path, int line, UnitSystem units) {
    if (cells.size() != fields.size())
        throw inputErrorAt(path, line, "expected " + std::to_string(fields.size()) + " cells as in the header, found " +
                                           std::to_string(cells.size()));
    BasinSource source;
    source.path = path;
    source.name = cells[0];
    if (const std::optional<std::string> fault = basinNameFault(source.name))
        throw cellError(path, line, 0, "name", *fault);
    source.places.set("name", SourcePlace{line, 1});
    // An absent derivable column asks for the library's value.
    std::size_t count = 0;
    const BasinField *all = basinFields(count);
    for (std::size_t i = 0; i < count; ++i)
        if (derivable(all[i])) all[i].store(source.record, all[i].deriveWith);
    for (std::size_t c = 1; c < cells.size(); ++c) {
        const BasinField &field = *fields[c];
        field.store(source.record, cellValue(cells[c], field, path, line, c, units));
        source.places.set(field.name, SourcePlace{line, static_cast<int>(c) + 1});
        if (std::string(field.name) == "uhTimeStep") source.uhTimeStepGiven = !cells[c].empty();
    }
    return source;
}


} // namespace

std::vector<std::string> csvCells(const std::string &line, const std::string &path, int lineNumber) {
    std::vector<std::string> cells;
    std::string cell;
    bool quoted = false, wasQuoted = false;
    auto finish = [&] {
        cells.push_back(wasQuoted ? cell : std::string(trimmed(cell)));
        cell.clear();
        wasQuoted = false;
    };
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"') cell += c;
            else if (i + 1 < line.size() && line[i + 1] == '"') cell += '"', ++i;
            else quoted = false;
        } else if (c == '"' && trimmed(cell).empty()) {
            quoted = wasQuoted = true;
            cell.clear();
        } else if (c == ',') {
            finish();
        } else if (!wasQuoted || (c != ' ' && c != '\t')) {
            cell += c;
        }
    }
    if (quoted) throw inputErrorAt(path, lineNumber, "a quoted cell is not closed on this line");
    finish();
    return cells;
}

std::vector<BasinSource> parseBasinTable(const std::vector<std::string> &lines, const std::string &path,
                                         UnitSystem units) {
    std::vector<BasinSource> sources;
    std::vector<const BasinField *> fields;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const int line = static_cast<int>(n) + 1;
        const std::vector<std::string> cells = csvCells(lines[n], path, line);
        if (isSkipped(cells)) continue;
        if (fields.empty()) {
            fields = headerFields(cells, path, line);
            continue;
        }
        sources.push_back(rowBasin(cells, fields, path, line, units));
    }
    if (sources.empty()) throw inputErrorIn(path, "holds no basin (a header row and one row per basin)");
    refuseRepeatedNames(sources);
    return sources;
}

std::vector<BasinSource> readBasinTable(const std::string &path, UnitSystem units) {
    return parseBasinTable(readTextLines(path, "basin table"), path, units);
}

} // namespace vesk::host
