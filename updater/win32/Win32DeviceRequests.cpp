#include "updater/win32/Win32DeviceRequests.h"

#include "driver/contract/DeviceControlProperties.h"

#include <cstring>

namespace Oxa::Win32Requests {

namespace {

constexpr std::uint32_t Header = Zel::PropertyHeaderSize;
constexpr std::uint32_t VendorGetSize = 48;
constexpr std::uint32_t VendorSetOverhead = 47;
constexpr std::uint32_t StringRequestSize = 32;

void put16(std::uint8_t *out, std::uint16_t value)
{
    out[0] = std::uint8_t(value);
    out[1] = std::uint8_t(value >> 8);
}

void put32(std::uint8_t *out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = std::uint8_t(value >> (8 * i));
}

Buffer request(std::uint32_t size, std::uint32_t id, std::uint32_t flags)
{
    Buffer buffer(size, 0);
    Zel::writePropertyHeader(buffer.data(), id, flags);
    return buffer;
}

} // namespace

Buffer probe() { return request(Header, Zel::PropertyDeviceDescriptor, Zel::PropertySetSupport); }

Buffer deviceDescriptor() { return request(Header, Zel::PropertyDeviceDescriptor, Zel::PropertyGet); }

Buffer stringDescriptor(std::uint8_t index)
{
    Buffer buffer = request(StringRequestSize, Zel::PropertyStringDescriptor, Zel::PropertyGet);
    buffer[Header] = index;
    put16(&buffer[Header + 2], EnglishUs);
    return buffer;
}

Buffer vendorGet(std::uint8_t request_, std::uint16_t value, std::uint16_t index)
{
    Buffer buffer = request(VendorGetSize, Zel::PropertyControlRequest, Zel::PropertyGet);
    buffer[Header + Zel::ControlFunction] = VendorOther;
    buffer[Header + Zel::ControlRequestCode] = request_;
    put16(&buffer[Header + Zel::ControlValue], value);
    put16(&buffer[Header + Zel::ControlIndex], index);
    put32(&buffer[Header + Zel::ControlDataLength], 0);
    return buffer;
}

Buffer vendorSet(const std::uint8_t *data, std::uint32_t size)
{
    Buffer buffer = request(VendorSetOverhead + size, Zel::PropertyControlRequest, Zel::PropertySet);
    buffer[Header + Zel::ControlFunction] = VendorOther;
    buffer[Header + Zel::ControlRequestCode] = RequestWriteBlock;
    put32(&buffer[Header + Zel::ControlDataLength], size);
    if (size)
        std::memcpy(&buffer[Header + Zel::ControlData], data, size);
    return buffer;
}

Buffer lock() { return request(Header, Zel::PropertyLock, Zel::PropertySet); }

Buffer unlock() { return request(Header, Zel::PropertyUnlock, Zel::PropertySet); }

std::uint16_t readU16(const std::uint8_t *bytes) { return std::uint16_t(bytes[0] | bytes[1] << 8); }

std::uint32_t readU32(const std::uint8_t *bytes)
{
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

} // namespace Oxa::Win32Requests
