#pragma once

#include <string>

namespace Platform {

// The advisory lock our programs take on a USB controller while its firmware
// is written: a lock file per USB device (its kernel name, "1-1.4") in the
// runtime folder, held with flock so it ends with the holder. The sound card
// side is read from sysfs and /proc/asound under a root folder ("/" outside
// tests).
class ControllerLock
{
public:
    ControllerLock(std::string root, std::string runtimeFolder);
    // "/" and $XDG_RUNTIME_DIR (else <temp>/vorpad-<uid>).
    static ControllerLock system();

    // Whether any MIDI substream of the device's sound cards has an owner.
    bool portsInUse(const std::string &usbDevice) const;
    // Takes the device's lock: the open lock file, or -1 when another holds it,
    // the file cannot be made, or the runtime folder is not this user's alone.
    int acquire(const std::string &usbDevice) const;
    static void release(int lock);
    // Whether someone holds the lock of the USB device behind ALSA card `card`.
    bool cardLocked(int card) const;

private:
    std::string lockFile(const std::string &usbDevice) const;
    std::string usbDeviceOfCard(int card) const;

    std::string m_root;
    std::string m_runtime;
};

} // namespace Platform
