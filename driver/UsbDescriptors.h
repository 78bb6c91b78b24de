#pragma once

#include <cstdint>

// Walking the configuration descriptor set. Every walk stops at a descriptor
// shorter than 2 bytes or one that runs past the total length, so corrupt or
// patched descriptors are safe.
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

class DescriptorWalker
{
public:
    DescriptorWalker(const std::uint8_t *data, std::uint32_t length) : m_data(data), m_length(length) {}

    // Offset of the next whole descriptor after `offset`, or `length` at the end.
    std::uint32_t next(std::uint32_t offset) const;
    bool valid(std::uint32_t offset) const;
    const std::uint8_t *at(std::uint32_t offset) const { return m_data + offset; }
    std::uint32_t length() const { return m_length; }
    std::uint32_t begin() const { return valid(0) ? 0 : m_length; }

    // Offset of the interface descriptor (number, alternate setting), or length.
    std::uint32_t findInterface(std::uint8_t number, std::uint8_t alternate) const;
    // Offset of the first interface descriptor of class/subclass at alternate 0, or length.
    std::uint32_t findInterfaceClass(std::uint8_t interfaceClass, std::uint8_t subclass) const;
    // Descriptors of one interface run up to the next interface descriptor.
    std::uint32_t interfaceEnd(std::uint32_t interfaceOffset) const;

private:
    const std::uint8_t *m_data;
    std::uint32_t m_length;
};

} // namespace Zel
