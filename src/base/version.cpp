#include "base/version.h"

#include <cstdint>

namespace vesk {

VersionStamp stampFromVersionText(const char *text) {
    int32_t numbers[4] = {0, 0, 0, 0};
    int stored = 0;
    int32_t current = 0;
    for (const char *c = text; *c != '\0' && stored < 4; ++c) {
        if (*c >= '0' && *c <= '9') {
            current = current * 10 + (*c - '0');
        } else {
            numbers[stored++] = current;
            current = 0;
        }
    }
    return VersionStamp{numbers[0], numbers[1], numbers[3], numbers[2]};
}

bool stampAccepted(const VersionStamp &stamp) {
    const VersionStamp own = stampFromVersionText(kVersionText);
    return stamp.major == own.major && stamp.minor == own.minor &&
           stamp.release == own.release; // build is not compared
}

} // namespace vesk
