// What `vesk --version` prints and the HTML report records: the program's
// version, the library version it was built against and the one it runs with.
#pragma once

#include <string>

namespace vesk::tool {

std::string versionText();

} // namespace vesk::tool
