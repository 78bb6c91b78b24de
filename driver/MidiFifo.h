#pragma once

#include <cstdint>

namespace Zel {

// The stream backlog: 513 slots for at most 512 bytes. The read index points
// at the slot read last, so empty is write == read + 1 and full is write == read.
class MidiFifo
{
public:
    static constexpr std::uint16_t Capacity = 512;

    std::uint16_t count() const
    {
        return m_read < m_write ? static_cast<std::uint16_t>(m_write - m_read - 1)
                                : static_cast<std::uint16_t>(m_write - m_read + Capacity);
    }
    std::uint16_t space() const { return static_cast<std::uint16_t>(Capacity - count()); }
    bool full() const { return m_write == m_read; }
    bool empty() const { return count() == 0; }

    bool push(std::uint8_t byte)
    {
        if (full())
            return false;
        m_slots[m_write] = byte;
        m_write = next(m_write);
        return true;
    }
    bool pop(std::uint8_t &byte)
    {
        if (empty())
            return false;
        m_read = next(m_read);
        byte = m_slots[m_read];
        return true;
    }
    void reset()
    {
        m_read = 0;
        m_write = 1;
    }

private:
    static std::uint16_t next(std::uint16_t index) { return index == Capacity ? 0 : index + 1; }

    std::uint8_t m_slots[Capacity + 1] = {};
    std::uint16_t m_read = 0;
    std::uint16_t m_write = 1;
};

} // namespace Zel
