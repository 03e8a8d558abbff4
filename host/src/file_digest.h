// SHA-256 digests of the input files, so a report records exactly which
// files a run read.
#pragma once

#include <string>
#include <string_view>

namespace vesk::host {

// The SHA-256 digest of `bytes` as 64 lower-case hexadecimal digits.
std::string sha256Hex(std::string_view bytes);

// The digest of the file at `path`; throws InputError when it cannot be read.
std::string fileSha256(const std::string &path);

} // namespace vesk::host
