// The first half of vesk_loadandadd, the same at both levels: reading a basin
// input file into the level's blank file record and reporting why nothing
// can be added.  Each level's vesk_loadandadd adds the record it gives.
#pragma once

#include "base/basin_file.h"
#include "base/public_header.h"

namespace vesk {

// A basin read from a file: the level's record and the name token.
struct LoadedBasin {
    BasinInput record;
    char name[kBasinNameCapacity];
};

// Reads the file at `path` into `loaded`, starting from the level's blank
// file record.  False with nothing to add: a null path (code 4 unless a code
// is pending, as for every null pointer), a monstrous token (code 3), or a
// file that cannot be opened or holds no name token (code 4).
bool loadBasinFile(const char *path, LoadedBasin &loaded);

} // namespace vesk
