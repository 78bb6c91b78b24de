#include "editor/core/model/RegularFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile::System {

// Non-blocking, so that opening a FIFO without a writer returns at once.
int openForReading(const std::string &path)
{
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

bool describe(int fd, bool &regular, long long &size)
{
    struct stat info {
    };
    if (::fstat(fd, &info) != 0)
        return false;
    regular = S_ISREG(info.st_mode);
    size = info.st_size;
    return true;
}

long long readSome(int fd, Byte *into, std::size_t size) { return ::read(fd, into, size); }

void closeFile(int fd) { ::close(fd); }

} // namespace RegularFile::System
