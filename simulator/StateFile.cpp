#include "simulator/StateFile.h"

#include "editor/core/model/RegularFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace Sim {

namespace {

// A state file is a few kilobytes; anything far larger is not one.
constexpr std::size_t MaxStateSize = 1 << 20;

#ifdef _WIN32
long long acquire(const std::string &lockPath)
{
    const std::filesystem::path name = std::filesystem::u8path(lockPath);
    HANDLE file =
        CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    OVERLAPPED whole{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole)) {
        CloseHandle(file);
        return -1;
    }
    return reinterpret_cast<long long>(file);
}

void release(long long handle)
{
    HANDLE file = reinterpret_cast<HANDLE>(handle);
    OVERLAPPED whole{};
    UnlockFileEx(file, 0, 1, 0, &whole);
    CloseHandle(file);
}
#else
long long acquire(const std::string &lockPath)
{
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd);
            return -1;
        }
    }
    return fd;
}

void release(long long handle) { ::close(int(handle)); } // closing unlocks
#endif

} // namespace

// Without a lock file (an unwritable folder) the state cannot be written
// either, and the write reports that.
StateFile::Lock::Lock(const std::string &statePath) : m_handle(acquire(statePath + ".lock")) {}

StateFile::Lock::~Lock()
{
    if (m_handle >= 0)
        release(m_handle);
}

StateFile::StateFile(std::string path) : m_path(std::move(path)) {}

std::vector<Byte> StateFile::read() const { return RegularFile::read(m_path, MaxStateSize).bytes; }

void StateFile::write(const std::vector<Byte> &bytes) const
{
    const std::string temporary = m_path + ".new";
    std::error_code error;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "Sim::StateFile: cannot write %s\n", temporary.c_str());
            std::filesystem::remove(temporary, error);
            return;
        }
    }
    std::filesystem::rename(temporary, m_path, error);
    if (error) {
        std::fprintf(stderr, "Sim::StateFile: %s\n", error.message().c_str());
        std::filesystem::remove(temporary, error);
    }
}

} // namespace Sim
