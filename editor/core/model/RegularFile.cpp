#include "editor/core/model/RegularFile.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <filesystem>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace RegularFile {

namespace {

#ifdef _WIN32
using StatBuffer = struct _stat64;
int openForReading(const std::string &path)
{
    const std::filesystem::path name = std::filesystem::u8path(path);
    return _wopen(name.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}
int statOf(int fd, StatBuffer &info) { return _fstat64(fd, &info); }
bool isRegular(const StatBuffer &info) { return (info.st_mode & _S_IFMT) == _S_IFREG; }
long long readSome(int fd, Byte *into, std::size_t size) { return _read(fd, into, unsigned(size)); }
void closeFile(int fd) { _close(fd); }
#else
using StatBuffer = struct stat;
// Non-blocking, so that opening a FIFO without a writer returns at once.
int openForReading(const std::string &path)
{
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}
int statOf(int fd, StatBuffer &info) { return ::fstat(fd, &info); }
bool isRegular(const StatBuffer &info) { return S_ISREG(info.st_mode); }
long long readSome(int fd, Byte *into, std::size_t size) { return ::read(fd, into, size); }
void closeFile(int fd) { ::close(fd); }
#endif

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            closeFile(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Reads to the end, refusing a file that grew past the limit after the size
// check.
Status readAll(int fd, std::size_t limit, std::vector<Byte> &bytes)
{
    std::array<Byte, 16384> chunk;
    while (true) {
        const long long got = readSome(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Status::Unreadable;
        if (got == 0)
            return Status::Read;
        if (bytes.size() + std::size_t(got) > limit)
            return Status::TooLarge;
        bytes.insert(bytes.end(), chunk.data(), chunk.data() + got);
    }
}

} // namespace

Contents read(const std::string &path, std::size_t limit)
{
    Contents contents;
    const Descriptor file(openForReading(path));
    if (file.get() < 0)
        return contents;
    StatBuffer info{};
    if (statOf(file.get(), info) != 0) {
        contents.status = Status::Unreadable;
        return contents;
    }
    if (!isRegular(info)) {
        contents.status = Status::NotRegular;
        return contents;
    }
    if (info.st_size < 0 || std::size_t(info.st_size) > limit) {
        contents.status = Status::TooLarge;
        return contents;
    }
    contents.bytes.reserve(std::size_t(info.st_size));
    contents.status = readAll(file.get(), limit, contents.bytes);
    if (contents.status != Status::Read)
        contents.bytes.clear();
    return contents;
}

} // namespace RegularFile
