#include "exports/shared/basin_file_loading.h"

#include <new>

#include "exports/shared/library_state.h"
#include "registry/stored_basin.h"

namespace vesk {

bool loadBasinFile(const char *path, LoadedBasin &loaded) {
    // No path names no file; a pending code stays, as for every null pointer.
    if (path == nullptr) {
        reportNullPointer(VESK_ERR_FILE_OPEN);
        return false;
    }
    loaded.record = blankFileRecord();
    BasinFileReading reading{};
    try {
        reading = readBasinFile(path, loaded.record, loaded.name);
    } catch (const std::bad_alloc &) {
        setErrorCode(VESK_ERR_NO_MEMORY);
        return false;
    }
    // No file, or a file without a name token: there is nothing to add.
    if (!reading.opened || !reading.nameRead) {
        setErrorCode(VESK_ERR_FILE_OPEN);
        return false;
    }
    return true;
}

} // namespace vesk
