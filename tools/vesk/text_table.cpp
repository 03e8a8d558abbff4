#include "text_table.h"

#include <algorithm>

namespace vesk::tool {

void TextTable::print(std::ostream &out) const {
    std::vector<std::size_t> widths;
    for (const auto &row : rows_) {
        if (widths.size() < row.size()) widths.resize(row.size(), 0);
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
    }
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        std::string line;
        for (std::size_t c = 0; c < widths.size(); ++c) {
            const std::string cell = c < rows_[r].size() ? rows_[r][c] : std::string();
            const std::string pad(widths[c] - cell.size(), ' ');
            // Labels and units read left to right; values line up on the right.
            line += c < leftColumns_ ? cell + pad : pad + cell;
            if (c + 1 < widths.size()) line += "  ";
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
        if (r == 0) out << std::string(line.size(), '-') << '\n';
    }
}

} // namespace vesk::tool
