#include "driver/UsbDescriptors.h"

namespace Zel {

bool DescriptorWalker::valid(std::uint32_t offset) const
{
    if (offset + 2 > m_length)
        return false;
    const std::uint8_t size = m_data[offset];
    return size >= 2 && offset + size <= m_length;
}

std::uint32_t DescriptorWalker::next(std::uint32_t offset) const
{
    if (!valid(offset))
        return m_length;
    const std::uint32_t following = offset + m_data[offset];
    return valid(following) ? following : m_length;
}

std::uint32_t DescriptorWalker::findInterface(std::uint8_t number, std::uint8_t alternate) const
{
    for (std::uint32_t at = begin(); at < m_length; at = next(at)) {
        const std::uint8_t *d = m_data + at;
        if (d[1] == InterfaceDescriptorType && d[0] >= InterfaceDescriptorLength && d[2] == number && d[3] == alternate)
            return at;
    }
    return m_length;
}

std::uint32_t DescriptorWalker::findInterfaceClass(std::uint8_t interfaceClass, std::uint8_t subclass) const
{
    for (std::uint32_t at = begin(); at < m_length; at = next(at)) {
        const std::uint8_t *d = m_data + at;
        if (d[1] == InterfaceDescriptorType && d[0] >= InterfaceDescriptorLength && d[3] == 0 &&
            d[5] == interfaceClass && d[6] == subclass)
            return at;
    }
    return m_length;
}

std::uint32_t DescriptorWalker::interfaceEnd(std::uint32_t interfaceOffset) const
{
    std::uint32_t at = next(interfaceOffset);
    while (at < m_length && m_data[at + 1] != InterfaceDescriptorType)
        at = next(at);
    return at;
}

} // namespace Zel
