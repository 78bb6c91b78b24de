#pragma once

#include "driver/contract/UsbMidiDescriptors.h"

#include <cstdint>

// Walking the configuration descriptor set. Every walk stops at a descriptor
// shorter than 2 bytes or one that runs past the total length, so corrupt or
// patched descriptors are safe.
namespace Zel {

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
