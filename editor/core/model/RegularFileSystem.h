#pragma once

#include "editor/core/model/PatchTypes.h"

#include <cstddef>
#include <string>

// What reading a regular file asks of the operating system, one source file
// per system (RegularFilePosix.cpp, RegularFileWin32.cpp), chosen by the build.
namespace RegularFile::System {

// A descriptor of the file opened for reading without blocking; -1 when it
// cannot be opened.
int openForReading(const std::string &path);
// Whether the open file's kind and size could be read.
bool describe(int fd, bool &regular, long long &size);
// The number of bytes read, 0 at the end, -1 on an error (errno says which).
long long readSome(int fd, Byte *into, std::size_t size);
void closeFile(int fd);

} // namespace RegularFile::System
