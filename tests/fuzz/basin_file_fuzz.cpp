// The basin-file reader through vesk_loadandadd: any bytes as a file, then
// the queries and a few steps of whatever basin was stored.
#include <unistd.h>

#include "fuzz_support.h"

namespace {

const std::string &scratchPath() {
    static const std::string path = "/tmp/vesk_fuzz_basin_" + std::to_string(getpid()) + ".txt";
    return path;
}

// Reads the name the file starts with, as the reader does (at most 255
// bytes of non-blank text).
std::string nameToken(const uint8_t *bytes, size_t size) {
    size_t i = 0;
    while (i < size && std::strchr(" \t\n\v\f\r", bytes[i]) != nullptr && bytes[i] != '\0') ++i;
    std::string name;
    while (i < size && name.size() < 255 && std::strchr(" \t\n\v\f\r", bytes[i]) == nullptr)
        name.push_back(static_cast<char>(bytes[i++]));
    return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size) {
    std::FILE *file = std::fopen(scratchPath().c_str(), "wb");
    if (file == nullptr) return 0;
    std::fwrite(bytes, 1, size, file);
    std::fclose(file);

    fuzz::openReady();
    vesk_loadandadd(scratchPath().c_str());
    const std::string name = nameToken(bytes, size);
    if (vesk_geterror() == VESK_OK && name.find('\0') == std::string::npos) {
        fuzz::checkStoredLength(name.c_str());
        BasinInput stored{};
        vesk_getbasin(name.c_str(), &stored);
        const int32_t length = vesk_getuhlength(name.c_str());
        for (int32_t i = -1; i <= length && i < 64; ++i) {
            const double ordinate = vesk_getuhordinatevalue(name.c_str(), i);
            if (!std::isfinite(ordinate)) fuzz::fail("non-finite ordinate", ordinate);
        }
        for (int step = 0; step < 8 && vesk_geterror() == VESK_OK; ++step) {
            const double outflow = fuzz::stepOnce(name.c_str(), 0.5, 1);
            if (vesk_geterror() == VESK_OK) fuzz::checkOutflow(name.c_str(), 0.5, outflow, fuzz::modest(stored));
        }
    }
    vesk_free();
    return 0;
}
