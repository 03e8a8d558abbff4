// vesk_loadandadd: adds the basin of a basin input file, read into the
// level's blank file record.
#include <new>

#include "frame/basin_file.h"
#include "level.h"
#include "frame/library_state.h"

extern "C" {

VESK_API void VESK_CALL vesk_loadandadd(const char *path) {
    // No path names no file; a pending code stays, as for every null pointer.
    if (path == nullptr) {
        vesk::reportNullPointer(VESK_ERR_FILE_OPEN);
        return;
    }
    BasinInput record = vesk::blankFileRecord();
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
