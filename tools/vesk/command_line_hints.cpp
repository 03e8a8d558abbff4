#include "command_line_hints.h"

#include <algorithm>

namespace vesk::tool {

namespace {

std::size_t editDistance(const std::string &a, const std::string &b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

std::optional<std::string> closestName(const std::string &word, const std::vector<std::string> &known) {
    const std::size_t allowed = std::max<std::size_t>(1, word.size() / 3);
    std::optional<std::string> best;
    std::size_t bestDistance = allowed + 1;
    for (const std::string &name : known) {
        const std::size_t distance = editDistance(word, name);
        if (distance < bestDistance) best = name, bestDistance = distance;
    }
    return best;
}

std::string unknownNameMessage(const char *what, const std::string &word, const std::vector<std::string> &known) {
    std::string message = std::string("unknown ") + what + " '" + word + "'";
    if (const std::optional<std::string> near = closestName(word, known)) message += "; did you mean '" + *near + "'?";
    return message;
}

} // namespace vesk::tool
