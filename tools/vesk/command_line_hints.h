// Helping a user who mistyped a command or an option: the closest known name.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vesk::tool {

// The known name closest to `word` in edits (insertions, deletions,
// substitutions), if it is within a third of the word's length (at least 1).
std::optional<std::string> closestName(const std::string &word, const std::vector<std::string> &known);

// "unknown command 'runn'; did you mean 'run'?" and the like.
std::string unknownNameMessage(const char *what, const std::string &word, const std::vector<std::string> &known);

} // namespace vesk::tool
