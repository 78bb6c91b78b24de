#include "updater/win32/Win32USBClassicDevice.h"

#include "updater/core/DeviceClass.h"
#include "updater/core/Log.h"
#include "updater/win32/Win32Device.h"
#include "updater/win32/Win32DeviceRequests.h"
#include "updater/win32/Win32USBClassicUpdater.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace Oxa {

namespace {

namespace R = Win32Requests;

// Offsets in the standard device descriptor.
enum DeviceDescriptorField : std::size_t {
    IdVendor = 8,
    IdProduct = 10,
    IProduct = 15,
    ISerialNumber = 16,
    DeviceDescriptorSize = 18,
};

void appendUtf8(std::string &out, std::uint32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | code >> 6);
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | code >> 12);
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | code >> 18);
        out += char(0x80 | (code >> 12 & 0x3F));
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

} // namespace

std::string utf16ToUtf8(const std::uint8_t *bytes, std::size_t characters)
{
    std::string text;
    for (std::size_t i = 0; i < characters; ++i) {
        std::uint32_t unit = R::readU16(bytes + 2 * i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < characters) {
            const std::uint32_t low = R::readU16(bytes + 2 * (i + 1));
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (unit >= 0xD800 && unit < 0xE000)
            unit = 0xFFFD; // an unpaired surrogate
        appendUtf8(text, unit);
    }
    return text;
}

std::string formatFirmwareVersion(std::uint16_t version, std::uint16_t date, bool withDate)
{
    char text[32];
    int length = std::snprintf(text, sizeof text, "%X.%02X", unsigned(version >> 8), unsigned(version & 0xFF));
    if (withDate)
        length += std::snprintf(text + length, sizeof text - std::size_t(length), ".%02d%02d%02d", date >> 9,
                                date >> 5 & 0x0F, date & 0x1F);
    return std::string(text, std::size_t(length));
}

std::string readFirmwareVersion(Win32Device &device, bool withDate)
{
    std::vector<std::uint8_t> value(R::VersionReplySize, 0);
    std::uint32_t returned = 0;
    // The words sit at offsets 4 and 6: a shorter reply carries no version.
    if (!device.request(R::vendorGet(R::RequestVersion), value, returned) || returned < 8)
        return std::string();
    return formatFirmwareVersion(R::readU16(&value[6]), R::readU16(&value[4]), withDate);
}

std::string readStringDescriptor(Win32Device &device, std::uint8_t index)
{
    if (index == 0)
        return std::string();
    std::vector<std::uint8_t> value(R::StringValueSize, 0);
    value[0] = std::uint8_t(R::StringValueSize);
    std::uint32_t returned = 0;
    if (!device.request(R::stringDescriptor(index), value, returned))
        return std::string();
    // The length byte, but never past what came back or the buffer.
    std::size_t length = std::min<std::size_t>({value[0], returned, value.size()});
    if (length < 2)
        return std::string();
    return utf16ToUtf8(&value[2], (length - 2) / 2);
}

Win32USBClassicDevice::Win32USBClassicDevice(DeviceClass &deviceClass, Platform::DeviceControl &control,
                                             std::wstring path)
    : USBClassicDevice(deviceClass), m_control(control), m_path(std::move(path))
{
    try {
        Win32Device device(m_control, m_path);
        readIdentity(device);
    } catch (const Win32Device::InvalidPathException &) {
        // Left with empty strings, so no class claims it.
    }
}

void Win32USBClassicDevice::readIdentity(Win32Device &device)
{
    std::vector<std::uint8_t> descriptor(DeviceDescriptorSize, 0);
    std::uint32_t returned = 0;
    if (!device.request(R::deviceDescriptor(), descriptor, returned) || returned < DeviceDescriptorSize)
        return;
    m_name = readStringDescriptor(device, descriptor[IProduct]);
    char id[32];
    std::snprintf(id, sizeof id, "USB\\VID_%04X&PID_%04X", unsigned(R::readU16(&descriptor[IdVendor])),
                  unsigned(R::readU16(&descriptor[IdProduct])));
    m_hardwareId = id;
    m_serialNumber = readStringDescriptor(device, descriptor[ISerialNumber]);
    const FirmwareDescription *firmware = deviceClass().firmware();
    m_currentVersion = readFirmwareVersion(device, firmware && firmware->hasBuild);
}

std::unique_ptr<Updater> Win32USBClassicDevice::createUpdater()
{
    log("Win32USBClassicDevice::createUpdater");
    m_lastError.clear();
    try {
        return std::make_unique<Win32USBClassicUpdater>(deviceClass(), m_control, m_path);
    } catch (const OXAException &e) {
        m_lastError = e.what();
    } catch (const std::exception &e) {
        m_lastError = e.what();
    }
    log("exception caught: %s", m_lastError.c_str());
    return nullptr;
}

} // namespace Oxa
