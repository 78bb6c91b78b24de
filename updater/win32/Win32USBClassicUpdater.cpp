#include "updater/win32/Win32USBClassicUpdater.h"

#include "updater/core/DeviceClass.h"
#include "updater/core/Log.h"
#include "updater/core/Revision.h"
#include "updater/win32/Win32Device.h"
#include "updater/win32/Win32DeviceRequests.h"
#include "updater/win32/Win32USBClassicDevice.h"

#include <stdexcept>

namespace Oxa {

namespace R = Win32Requests;

Win32USBClassicUpdater::Win32USBClassicUpdater(const DeviceClass &deviceClass, Platform::DeviceControl &control,
                                               const std::wstring &path)
    : m_firmware(deviceClass)
{
    const FirmwareDescription *description = deviceClass.firmware();
    m_revision = description->revision;
    m_withDate = description->hasBuild;
    m_device = std::make_unique<Win32Device>(control, path);
    if (!start()) {
        // Leave the device out of its update mode; nothing was locked.
        end();
        throw StartFailure();
    }
    // A refused lock means another program has the device's MIDI ports open:
    // writing now would pull the firmware from under it.
    if (!m_device->request(R::lock())) {
        end();
        throw LockFailure();
    }
    m_locked = true;
}

Win32USBClassicUpdater::~Win32USBClassicUpdater()
{
    if (!m_ended)
        end();
    if (m_locked)
        m_device->request(R::unlock());
}

bool Win32USBClassicUpdater::start()
{
    if (m_firmware.size() == 0)
        return false;
    const auto size = std::uint32_t(m_firmware.size());
    std::vector<std::uint8_t> value(R::StartReplySize, 0);
    std::uint32_t returned = 0;
    if (!m_device->request(R::vendorGet(R::RequestStart, std::uint16_t(size >> 16), std::uint16_t(size & 0xFFFF)),
                           value, returned) ||
        returned != R::StartReplySize || R::readU32(&value[0]) != 0)
        return false;
    m_firmware.applyDeviceBlockSize(R::readU32(&value[4]));
    return true;
}

// The end request; true when the device answered with status 0.
bool Win32USBClassicUpdater::end()
{
    m_ended = true;
    std::vector<std::uint8_t> value(R::StatusReplySize, 0);
    std::uint32_t returned = 0;
    return m_device->request(R::vendorGet(R::RequestEnd), value, returned) && returned == R::StatusReplySize &&
           R::readU32(&value[0]) == 0;
}

PartUpdater &Win32USBClassicUpdater::part(int index)
{
    if (index != 0)
        throw std::out_of_range("Win32USBClassicUpdater::getPart");
    return *this;
}

bool Win32USBClassicUpdater::performStep(int step)
{
    std::size_t length = 0;
    const std::uint8_t *block = m_firmware.block(step, length);
    if (!block || !m_device->request(R::vendorSet(block, std::uint32_t(length))))
        return false;
    std::vector<std::uint8_t> value(R::StatusReplySize, 0);
    std::uint32_t returned = 0;
    // A status that cannot be read counts as a failed block.
    if (!m_device->request(R::vendorGet(R::RequestStatus), value, returned) || returned < R::StatusReplySize)
        return false;
    return R::readU32(&value[0]) == 0;
}

bool Win32USBClassicUpdater::finish(std::string &failure)
{
    if (!end()) {
        failure = "end of update refused";
        return false;
    }
    // Ask again on the same handle, before the unlock, what the device runs now.
    const std::string version = readFirmwareVersion(*m_device, m_withDate);
    if (version.empty()) {
        failure = "no version after update";
        return false;
    }
    if (!isSameRevision(version, m_revision)) {
        failure = "device reports " + version;
        return false;
    }
    return true;
}

} // namespace Oxa
