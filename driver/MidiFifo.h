#pragma once

#include <cstdint>
#include <cstring>

namespace Zel {

// The stream backlog: at most 512 bytes, oldest first. The indices run freely
// and are masked on use, so the count is their difference.
class MidiFifo
{
public:
    static constexpr std::uint16_t Capacity = 512;

    std::uint16_t count() const { return static_cast<std::uint16_t>(m_write - m_read); }
    std::uint16_t space() const { return static_cast<std::uint16_t>(Capacity - count()); }
    bool full() const { return count() == Capacity; }
    bool empty() const { return m_write == m_read; }

    bool push(std::uint8_t byte) { return write(&byte, 1) == 1; }
    bool pop(std::uint8_t &byte) { return read(&byte, 1) == 1; }

    // Appends what fits of `size` bytes; the rest is dropped. Returns the number stored.
    std::uint32_t write(const std::uint8_t *bytes, std::uint32_t size)
    {
        if (size > space())
            size = space();
        if (size == 0)
            return 0;
        const std::uint32_t at = m_write & Mask;
        const std::uint32_t first = size < Capacity - at ? size : Capacity - at;
        std::memcpy(m_slots + at, bytes, first);
        std::memcpy(m_slots, bytes + first, size - first);
        m_write = static_cast<std::uint16_t>(m_write + size);
        return size;
    }
    // Takes up to `size` of the oldest bytes. Returns the number taken.
    std::uint32_t read(std::uint8_t *bytes, std::uint32_t size)
    {
        std::uint32_t taken = 0;
        while (taken < size) {
            std::uint32_t length = 0;
            const std::uint8_t *from = peek(length);
            if (length == 0)
                break;
            if (length > size - taken)
                length = size - taken;
            std::memcpy(bytes + taken, from, length);
            consume(length);
            taken += length;
        }
        return taken;
    }
    // The oldest bytes that lie together in the ring (length 0 when empty);
    // consume() then drops as many of them as were used.
    const std::uint8_t *peek(std::uint32_t &length) const
    {
        const std::uint32_t at = m_read & Mask;
        const std::uint32_t available = count();
        length = available < Capacity - at ? available : Capacity - at;
        return m_slots + at;
    }
    void consume(std::uint32_t length) { m_read = static_cast<std::uint16_t>(m_read + length); }
    void reset() { m_read = m_write = 0; }

private:
    static constexpr std::uint32_t Mask = Capacity - 1;

    std::uint8_t m_slots[Capacity] = {};
    std::uint16_t m_read = 0;
    std::uint16_t m_write = 0;
};

} // namespace Zel
