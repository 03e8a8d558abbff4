// vesk_loadandadd of the earlier level: the shared basin-file reader into a
// record whose area and two lengths start at 1.0, so a file that ends early
// still describes a basin of unit size.
#include <new>

#include "frame/basin_file.h"
#include "frame/level.h"
#include "frame/library_state.h"

extern "C" {

VESK_API void VESK_CALL vesk_loadandadd(const char *path) {
    BasinInput record{};
    record.area = 1.0;
    record.length = 1.0;
    record.centroidLength = 1.0;
    char name[vesk::kBasinNameCapacity];
    vesk::BasinFileReading reading{};
    try {
        reading = vesk::readBasinFile(path, record, name);
    } catch (const std::bad_alloc &) {
        vesk::setErrorCode(VESK_ERR_NO_MEMORY);
        return;
    }
    // No file, or a file without a name token: there is nothing to add.
    if (!reading.opened || !reading.nameRead) {
        vesk::setErrorCode(VESK_ERR_FILE_OPEN);
        return;
    }
    vesk_addbasin(&record, name);
}

} // extern "C"
