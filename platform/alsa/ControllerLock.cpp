#include "platform/alsa/ControllerLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace Platform {

namespace fs = std::filesystem;

namespace {

// /proc/asound/cardN/midiD names an owner for each open substream.
bool substreamOwned(const fs::path &midiFile)
{
    std::ifstream in(midiFile);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return text.find("Owner PID") != std::string::npos;
}

bool cardPortsInUse(const fs::path &cardFolder)
{
    std::error_code error;
    for (const fs::directory_entry &entry : fs::directory_iterator(cardFolder, error)) {
        if (entry.path().filename().string().rfind("midi", 0) == 0 && substreamOwned(entry.path()))
            return true;
    }
    return false;
}

// The lock folder may sit in a shared temporary folder: take it only when it
// is our own and nobody else may add to it, so no other user can plant a link
// that makes us create or open their choice of file.
bool ownedPrivately(const fs::path &folder)
{
    struct stat status = {};
    return ::lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::geteuid() &&
           (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

ControllerLock::ControllerLock(std::string root, std::string runtimeFolder)
    : m_root(std::move(root)), m_runtime(std::move(runtimeFolder))
{
}

ControllerLock ControllerLock::system()
{
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime)
        return ControllerLock("/", runtime);
    std::error_code error;
    const fs::path temp = fs::temp_directory_path(error);
    return ControllerLock("/", ((error ? fs::path("/tmp") : temp) / ("vorpad-" + std::to_string(getuid()))).string());
}

// The card folders hang below the device's interfaces: <device>/<device>:1.1/sound/cardN.
bool ControllerLock::portsInUse(const std::string &usbDevice) const
{
    const fs::path device = fs::path(m_root) / "sys/bus/usb/devices" / usbDevice;
    std::error_code error;
    for (const fs::directory_entry &interface : fs::directory_iterator(device, error)) {
        if (interface.path().filename().string().rfind(usbDevice + ":", 0) != 0)
            continue;
        std::error_code soundError;
        for (const fs::directory_entry &card : fs::directory_iterator(interface.path() / "sound", soundError)) {
            const std::string name = card.path().filename().string();
            if (name.rfind("card", 0) == 0 && cardPortsInUse(fs::path(m_root) / "proc/asound" / name))
                return true;
        }
    }
    return false;
}

std::string ControllerLock::lockFile(const std::string &usbDevice) const
{
    return (fs::path(m_runtime) / ("vorpad-usb-" + usbDevice + ".lock")).string();
}

int ControllerLock::acquire(const std::string &usbDevice) const
{
    std::error_code error;
    if (fs::create_directories(m_runtime, error))
        fs::permissions(m_runtime, fs::perms::owner_all, error);
    if (!ownedPrivately(m_runtime))
        return -1;
    const int lock = ::open(lockFile(usbDevice).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lock < 0)
        return -1;
    if (::flock(lock, LOCK_EX | LOCK_NB) != 0) {
        ::close(lock);
        return -1;
    }
    return lock;
}

void ControllerLock::release(int lock)
{
    if (lock >= 0)
        ::close(lock);
}

// /sys/class/sound/cardN/device links to the USB interface, "1-1.4:1.0".
std::string ControllerLock::usbDeviceOfCard(int card) const
{
    std::error_code error;
    const fs::path link =
        fs::read_symlink(fs::path(m_root) / "sys/class/sound" / ("card" + std::to_string(card)) / "device", error);
    const std::string interface = error ? std::string() : link.filename().string();
    const std::size_t colon = interface.find(':');
    return colon == std::string::npos ? std::string() : interface.substr(0, colon);
}

bool ControllerLock::cardLocked(int card) const
{
    const std::string usbDevice = card >= 0 ? usbDeviceOfCard(card) : std::string();
    if (usbDevice.empty())
        return false;
    const int file = ::open(lockFile(usbDevice).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (file < 0)
        return false;
    const bool held = ::flock(file, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(file);
    return held;
}

} // namespace Platform
