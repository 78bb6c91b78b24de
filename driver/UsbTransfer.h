#pragma once

#include "driver/UsbMidiPacket.h"
#include "driver/ZelPlatform.h"

#include <cstdint>

namespace Zel {

// One pre-allocated bulk transfer with its inline buffer.
struct UsbTransfer {
    void *owner = nullptr; // the cable (OUT) or endpoint (IN)
    BulkRequest request;
    std::uint32_t used = 0;
    std::uint8_t buffer[MaxTransferSize] = {};
};

// A fixed-size list of idle transfers; the tail is the one being filled.
template <std::uint32_t N>
class TransferList
{
public:
    std::uint32_t count() const { return m_count; }
    bool empty() const { return m_count == 0; }
    UsbTransfer *tail() const { return m_count ? m_items[m_count - 1] : nullptr; }
    UsbTransfer *popTail() { return m_count ? m_items[--m_count] : nullptr; }
    // Returned transfers go to the head so a transfer being filled stays the tail.
    void pushHead(UsbTransfer *transfer)
    {
        if (m_count == N)
            return;
        for (std::uint32_t i = m_count; i > 0; --i)
            m_items[i] = m_items[i - 1];
        m_items[0] = transfer;
        ++m_count;
    }
    void clear() { m_count = 0; }

private:
    UsbTransfer *m_items[N] = {};
    std::uint32_t m_count = 0;
};

} // namespace Zel
