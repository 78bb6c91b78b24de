#pragma once

#include <cstdint>

// USB descriptor types, lengths and field offsets as both sides of the
// driver/client contract read them: the driver walking the controller's
// descriptors, and the clients reading descriptors through the control
// interface.
namespace Zel {

enum DescriptorType : std::uint8_t {
    DeviceDescriptorType = 0x01,
    ConfigurationDescriptorType = 0x02,
    StringDescriptorType = 0x03,
    InterfaceDescriptorType = 0x04,
    EndpointDescriptorType = 0x05,
    ClassInterfaceDescriptorType = 0x24,
    ClassEndpointDescriptorType = 0x25,
};

enum MidiStreamingSubtype : std::uint8_t {
    MsHeader = 0x01,
    MsGeneral = 0x01,
    MidiInJack = 0x02,
    MidiOutJack = 0x03,
    MidiElement = 0x04,
};

enum JackType : std::uint8_t { EmbeddedJack = 0x01, ExternalJack = 0x02 };

inline constexpr std::uint32_t DeviceDescriptorLength = 18;
inline constexpr std::uint32_t ConfigurationHeaderLength = 9;
inline constexpr std::uint32_t InterfaceDescriptorLength = 9;
inline constexpr std::uint32_t EndpointDescriptorLength = 7;

constexpr std::uint16_t readU16(const std::uint8_t *p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
constexpr std::uint32_t readU32(const std::uint8_t *p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

// Offsets in the device descriptor.
enum DeviceDescriptorField : std::uint32_t {
    DeviceIdVendor = 8,
    DeviceIdProduct = 10,
    DeviceBcdDevice = 12,
    DeviceIManufacturer = 14,
    DeviceIProduct = 15,
    DeviceISerialNumber = 16,
};

// Offsets every descriptor shares.
enum DescriptorField : std::uint32_t {
    DescriptorLengthField = 0,
    DescriptorTypeField = 1,
};

// Offsets in the configuration descriptor.
enum ConfigurationDescriptorField : std::uint32_t {
    ConfigurationNumInterfaces = 4,
};

// Offsets in an interface descriptor.
enum InterfaceDescriptorField : std::uint32_t {
    InterfaceNumber = 2,
    InterfaceAlternateSetting = 3,
    InterfaceNumEndpoints = 4,
    InterfaceClass = 5,
    InterfaceSubClass = 6,
    InterfaceProtocol = 7,
};

// Offsets in an endpoint descriptor.
enum EndpointDescriptorField : std::uint32_t {
    EndpointAddress = 2,
};

// The class-specific MIDIStreaming interface header: its length and the
// offset of the total length of the class-specific descriptors it opens.
inline constexpr std::uint32_t MsHeaderLength = 7;
inline constexpr std::uint32_t MsHeaderTotalLength = 5;

} // namespace Zel
