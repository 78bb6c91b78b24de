#pragma once

#include "editor/core/model/PatchTypes.h"

#include <cstddef>
#include <string>
#include <vector>

// Reading a file named by the user or by another program without trusting
// what the name stands for: a FIFO or a device must not hang the reader, and
// a huge file must not exhaust its memory.
namespace RegularFile {

enum class Status {
    Read,
    Missing,    // no such file, or not allowed to open it
    NotRegular, // a FIFO, a device, a folder...
    TooLarge,   // above the limit, checked before reading
    Unreadable, // an error while reading
};

struct Contents {
    Status status = Status::Missing;
    std::vector<Byte> bytes; // empty unless Read
};

// Opens without blocking and checks on the open handle, not on the name,
// that a regular file of at most limit bytes was opened; only then reads it.
// The path is in the system's encoding (UTF-8 on Windows).
Contents read(const std::string &path, std::size_t limit);

} // namespace RegularFile
