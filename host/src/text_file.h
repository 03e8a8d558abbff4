// Reading a whole input text file with bounded cost: a file larger than
// kMaxFileBytes or a line longer than kMaxLineBytes is refused (so a device
// such as /dev/zero given by mistake cannot grow without end), and so is a
// NUL byte, which no storm or basin file holds.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vesk::host {

inline constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20; // a year of 1-minute depths is ~10 MB
inline constexpr std::size_t kMaxLineBytes = 4096;

// "-" names standard input (and, for outputs, standard output); messages
// call it by its name.
inline constexpr const char *kStandardInput = "-";
inline constexpr const char *kStandardInputName = "standard input";

// The file's lines without their line ends ("\n" or "\r\n"); a UTF-8
// byte-order mark at the start is dropped.  `kind` names the file in messages
// ("storm file").  Throws InputError naming the file (and line).
std::vector<std::string> readTextLines(const std::string &path, const std::string &kind);

// The same checks on text already in memory.
std::vector<std::string> splitTextLines(const std::string &text, const std::string &path);

} // namespace vesk::host
