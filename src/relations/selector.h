// Coefficient keys and soil groups are character strings of which only the
// first character counts.  A null pointer reads as the empty string, which
// selects nothing.
#pragma once

namespace vesk {

inline char selectorOf(const char *text) { return text != nullptr ? text[0] : '\0'; }

} // namespace vesk
