#pragma once

#include "updater/core/OXAException.h"
#include "updater/core/USBClassicFirmware.h"
#include "updater/core/Updater.h"

#include "platform/devicecontrol/DeviceControl.h"

#include <memory>
#include <string>

namespace Oxa {

class DeviceClass;
class Win32Device;

// Writes a class's firmware image into one device: start (request 4) and
// lock on construction, one block per step with a status read after it,
// end and unlock on destruction. Holds the handle and the lock throughout.
class Win32USBClassicUpdater : public Updater, public PartUpdater
{
public:
    class StartFailure : public OXAException
    {
    public:
        StartFailure() : OXAException("Win32USBClassicUpdater::StartFailure") {}
    };
    // Another program holds the device's MIDI ports.
    class LockFailure : public OXAException
    {
    public:
        LockFailure() : OXAException("Win32USBClassicUpdater::LockFailure") {}
    };

    // Throws InvalidFirmware, Win32Device::InvalidPathException, StartFailure or LockFailure.
    Win32USBClassicUpdater(const DeviceClass &deviceClass, Platform::DeviceControl &control, const std::wstring &path);
    ~Win32USBClassicUpdater() override;

    int partCount() const override { return 1; }
    PartUpdater &part(int index) override;
    bool finish(std::string &failure) override;

    int stepCount() const override { return m_firmware.stepCount(); }
    bool performStep(int step) override;

    const USBClassicFirmware &firmware() const { return m_firmware; }

private:
    bool start();
    bool end();

    USBClassicFirmware m_firmware;
    std::string m_revision;
    bool m_withDate = false;
    std::unique_ptr<Win32Device> m_device;
    bool m_locked = false;
    bool m_ended = false;
};

} // namespace Oxa
