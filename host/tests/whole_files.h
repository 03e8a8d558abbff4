// Whole-file helpers shared by the core's tests and the vesk program's.
#pragma once

#include <string>

namespace vesk::host::testing {

// Writes `text` to `path` whole: through a file of this process's own, then a
// rename, so a test process running in parallel never reads one half written.
// Returns `path`.
std::string writeWholeFile(const std::string &path, const std::string &text);

std::string readWholeFile(const std::string &path);

} // namespace vesk::host::testing
