#pragma once

#include <cstdint>
#include <cstring>

// The control interface's identifiers and request layout, shared by the
// driver's property handler and the clients' device-control layer.
namespace Zel {

struct Guid {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];

    // The 16 bytes as they travel in a property request.
    void write(std::uint8_t *out) const
    {
        for (int i = 0; i < 4; ++i)
            out[i] = static_cast<std::uint8_t>(data1 >> (8 * i));
        out[4] = static_cast<std::uint8_t>(data2);
        out[5] = static_cast<std::uint8_t>(data2 >> 8);
        out[6] = static_cast<std::uint8_t>(data3);
        out[7] = static_cast<std::uint8_t>(data3 >> 8);
        std::memcpy(out + 8, data4, 8);
    }
    bool matches(const std::uint8_t *bytes) const
    {
        std::uint8_t own[16];
        write(own);
        return std::memcmp(own, bytes, 16) == 0;
    }
};

inline constexpr Guid DeviceControlInterfaceClass = {
    0x50894FA4, 0x9206, 0x4A91, {0x87, 0x28, 0xCF, 0x6F, 0x26, 0x8F, 0x27, 0x1D}};
inline constexpr Guid DeviceControlPropertySet = {
    0xF6D7C04D, 0xC5C3, 0x4181, {0x9E, 0xD7, 0x50, 0x4A, 0xBE, 0x0C, 0xDD, 0xFF}};

enum DeviceControlProperty : std::uint32_t {
    PropertyDeviceDescriptor = 0,
    PropertyConfigurationDescriptor = 1,
    PropertyInterfaceDescriptor = 2,
    PropertyEndpointDescriptor = 3,
    PropertyStringDescriptor = 4,
    PropertyClassInterfaceDescriptors = 5,
    PropertyClassEndpointDescriptor = 6,
    PropertyControlRequest = 7,
    PropertyLock = 0x20,
    PropertyUnlock = 0x21,
};

enum PropertyFlags : std::uint32_t {
    PropertyGet = 0x1,
    PropertySet = 0x2,
    PropertySetSupport = 0x100,
};

inline constexpr std::uint32_t IoctlKsProperty = 0x2F0003;
inline constexpr std::uint32_t PropertyHeaderSize = 24;

// Offsets in the property header, after the 16-byte set GUID.
enum PropertyHeaderField : std::uint32_t {
    PropertyHeaderId = 16,
    PropertyHeaderFlags = 20,
};

// Instances of the descriptor properties. InterfaceDescriptor: five 32-bit
// values to match, each AnyInterfaceField for any.
enum InterfaceDescriptorInstance : std::uint32_t {
    InterfaceInstanceNumber = 0,
    InterfaceInstanceAlternate = 4,
    InterfaceInstanceClass = 8,
    InterfaceInstanceSubClass = 12,
    InterfaceInstanceProtocol = 16,
    InterfaceInstanceSize = 20,
};
inline constexpr std::uint32_t AnyInterfaceField = 0xFFFFFFFF;

// EndpointDescriptor, ClassInterfaceDescriptors and ClassEndpointDescriptor
// instances start with the interface number and alternate setting.
enum DescriptorInstance : std::uint32_t {
    InstanceInterfaceNumber = 0,
    InstanceAlternateSetting = 1,
    EndpointInstanceIndex = 2, // EndpointDescriptor: the endpoint's index in the interface
    EndpointInstanceSize = 3,
    ClassInterfaceInstanceType = 2, // ClassInterfaceDescriptors: the descriptor type wanted
    ClassInterfaceInstanceSize = 3,
    ClassEndpointInstanceAddress = 2, // ClassEndpointDescriptor: the endpoint address
    ClassEndpointInstanceType = 3,    // ... and the descriptor type wanted
    ClassEndpointInstanceSize = 4,
};

// StringDescriptor instance: the string index, then the 16-bit language.
enum StringDescriptorInstance : std::uint32_t {
    StringInstanceIndex = 0,
    StringInstanceLanguage = 2,
    StringInstanceSize = 4,
};

// Offsets in a ControlRequest instance.
enum ControlRequestField : std::uint32_t {
    ControlFunction = 0,
    ControlRequestCode = 1,
    ControlValue = 2,
    ControlIndex = 4,
    ControlDataLength = 12,
    ControlData = 16,
    ControlHeaderSize = 20,
};

// Builds the 24-byte property header.
inline void writePropertyHeader(std::uint8_t *out, std::uint32_t id, std::uint32_t flags)
{
    DeviceControlPropertySet.write(out);
    for (int i = 0; i < 4; ++i) {
        out[PropertyHeaderId + i] = static_cast<std::uint8_t>(id >> (8 * i));
        out[PropertyHeaderFlags + i] = static_cast<std::uint8_t>(flags >> (8 * i));
    }
}

} // namespace Zel
