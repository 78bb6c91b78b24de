#include "editor/core/model/RegularFileSystem.h"

#include <fcntl.h>
#include <filesystem>
#include <io.h>
#include <sys/stat.h>

namespace RegularFile::System {

int openForReading(const std::string &path)
{
    const std::filesystem::path name = std::filesystem::u8path(path);
    return _wopen(name.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

bool describe(int fd, bool &regular, long long &size)
{
    struct _stat64 info {
    };
    if (_fstat64(fd, &info) != 0)
        return false;
    regular = (info.st_mode & _S_IFMT) == _S_IFREG;
    size = info.st_size;
    return true;
}

long long readSome(int fd, Byte *into, std::size_t size) { return _read(fd, into, unsigned(size)); }

void closeFile(int fd) { _close(fd); }

} // namespace RegularFile::System
