// The names basins may carry.  The library takes any bytes up to its length
// limit and compares names ignoring ASCII letter case; the results name their
// columns after the basins, so a few names are taken, and a name with control
// characters would reach a terminal as escape sequences.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::host {

// The longest basin name the library keeps, in bytes.
inline constexpr std::size_t kMaxBasinNameBytes = 255;

// Why `name` cannot name a basin (empty, too long, a control character, or a
// name the results use for their own columns), or nothing when it can.
std::optional<std::string> basinNameFault(std::string_view name);

// The name upper-cased as the library compares names (ASCII letters only).
std::string comparedName(std::string_view name);

// The names the results use themselves (compared ignoring letter case).
const std::vector<std::string> &reservedBasinNames();

} // namespace vesk::host
