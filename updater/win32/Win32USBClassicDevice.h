#pragma once

#include "updater/core/USBClassicDevice.h"

#include "platform/devicecontrol/DeviceControl.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Oxa {

class Win32Device;

// A classic device behind a control-interface path. Its strings are read
// once, on construction; no handle stays open between operations.
class Win32USBClassicDevice : public USBClassicDevice
{
public:
    Win32USBClassicDevice(DeviceClass &deviceClass, Platform::DeviceControl &control, std::wstring path);

    std::wstring path() const override { return m_path; }
    std::unique_ptr<Updater> createUpdater() override;

private:
    void readIdentity(Win32Device &device);

    Platform::DeviceControl &m_control;
    std::wstring m_path;
};

// The version a device reports with request 1: "%X.%02X" of the version
// word, then ".%02d%02d%02d" of the date word when `withDate`. Empty when the
// request failed.
std::string readFirmwareVersion(Win32Device &device, bool withDate);
// A string descriptor's text (UTF-16LE) as UTF-8; empty for index 0 or a failed request.
std::string readStringDescriptor(Win32Device &device, std::uint8_t index);
std::string formatFirmwareVersion(std::uint16_t version, std::uint16_t date, bool withDate);
std::string utf16ToUtf8(const std::uint8_t *bytes, std::size_t characters);

} // namespace Oxa
