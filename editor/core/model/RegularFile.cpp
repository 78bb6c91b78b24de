#include "editor/core/model/RegularFile.h"

#include "editor/core/model/RegularFileSystem.h"

#include <array>
#include <cerrno>

namespace RegularFile {

namespace {

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            System::closeFile(m_fd);
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
        const long long got = System::readSome(fd, chunk.data(), chunk.size());
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
    const Descriptor file(System::openForReading(path));
    if (file.get() < 0)
        return contents;
    bool regular = false;
    long long size = 0;
    if (!System::describe(file.get(), regular, size)) {
        contents.status = Status::Unreadable;
        return contents;
    }
    if (!regular) {
        contents.status = Status::NotRegular;
        return contents;
    }
    if (size < 0 || std::size_t(size) > limit) {
        contents.status = Status::TooLarge;
        return contents;
    }
    contents.bytes.reserve(std::size_t(size));
    contents.status = readAll(file.get(), limit, contents.bytes);
    if (contents.status != Status::Read)
        contents.bytes.clear();
    return contents;
}

} // namespace RegularFile
