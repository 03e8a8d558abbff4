// What the fuzz targets of the vesk program's readers share: the readers take
// a path, so the fuzzer's bytes go to a scratch file of this process, and the
// first byte picks how the rest is read.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

[[noreturn]] inline void broken(const std::string &what, double value = 0.0) {
    std::fprintf(stderr, "invariant broken: %s (%.17g)\n", what.c_str(), value);
    std::abort();
}

// Writes the bytes to /tmp/vesk_fuzz_<kind>_<pid><ending> (the ending decides
// which basin reader vesk uses) and returns the path.
inline std::string scratchFile(const char *kind, const char *ending, const uint8_t *bytes, size_t size) {
    const std::string path = "/tmp/vesk_fuzz_" + std::string(kind) + "_" + std::to_string(getpid()) + ending;
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) broken("cannot write the scratch file " + path);
    if (size > 0 && std::fwrite(bytes, 1, size, file) != size) broken("short write to " + path);
    std::fclose(file);
    return path;
}

// The reading mode the first byte selects: a named letter (so the seed files
// stay readable), any other byte by its remainder.
inline int mode(uint8_t first, const char *letters, int count) {
    for (int i = 0; i < count; ++i)
        if (first == static_cast<uint8_t>(letters[i])) return i;
    return first % count;
}

} // namespace fuzz
