// A plain-text table for reading in a terminal: word columns aligned left,
// number columns right.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vesk::tool {

class TextTable {
public:
    // The first `leftColumns` columns hold words and are aligned left.
    explicit TextTable(std::vector<std::string> header, std::size_t leftColumns = 2)
        : rows_{std::move(header)}, leftColumns_(leftColumns) {}
    void addRow(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }
    void print(std::ostream &out) const;

private:
    std::vector<std::vector<std::string>> rows_;
    std::size_t leftColumns_;
};

} // namespace vesk::tool
