// The basin input file: a name token and 22 numbers over eight lines, read
// value by value in file order with any white space between them.  Free of
// library state, so a host program can use it to read a file's basin and add
// it with a time step of its own.
#pragma once

#include <cstddef>

#include "base/public_header.h"

namespace vesk {

// Room for the longest name token (255 bytes) and its terminator.
inline constexpr std::size_t kBasinNameCapacity = 256;

struct BasinFileReading {
    bool opened;   // the file could be opened for reading
    bool nameRead; // a name token was found
};

// Reads the file at `path` into `record` and `name`.  The record keeps its
// prior contents wherever the file gives no value, so the caller decides the
// defaults.  The name is the first white-space-free token, cut after 255
// characters (the rest then counts as the next value).  A value is the
// longest decimal number at the start of the remaining text; whatever follows
// it is left for the next value (2.5 in an integer field gives 2, and .5 is
// the next value).  A text that does not start with a number stays unread and
// abandons the rest of its line; as every line starts with the same text, it
// stops every later value (only a fraction met by an integer field can still
// start the next line).  An integer beyond int32 is clamped.  `name` is
// empty when no name was read.  May throw std::bad_alloc on a monstrous token.
BasinFileReading readBasinFile(const char *path, ::BasinInput &record, char (&name)[kBasinNameCapacity]);

} // namespace vesk
