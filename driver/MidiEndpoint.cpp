#include "driver/MidiEndpoint.h"

#include "driver/MidiPacketiser.h"

namespace Zel {

void MidiEndpoint::initialise(DriverPlatform *platform, std::uint8_t interfaceNumber, std::uint8_t address,
                              PipeHandle pipe, std::uint32_t maxPacketSize, std::uint8_t cableCount)
{
    m_platform = platform;
    m_interfaceNumber = interfaceNumber;
    m_address = address;
    m_pipe = pipe;
    m_transferSize = maxPacketSize < MaxTransferSize ? maxPacketSize : MaxTransferSize;
    m_cableCount = cableCount < MaxCables ? cableCount : static_cast<std::uint8_t>(MaxCables);
    for (std::uint8_t i = 0; i < MaxCables; ++i)
        m_cables[i].initialise(platform, i, isIn(), pipe, m_transferSize);
    if (!isIn())
        return;
    for (UsbTransfer &transfer : m_transfers) {
        transfer.owner = this;
        transfer.request.completion = &MidiEndpoint::inCompleted;
        transfer.request.context = &transfer;
        m_free.pushHead(&transfer);
    }
    m_allFree.set();
}

NTSTATUS MidiEndpoint::submitIn(UsbTransfer &transfer)
{
    BulkRequest &request = transfer.request;
    request.pipe = m_pipe;
    request.flags = TransferDirectionIn | TransferShortTransferOk;
    request.buffer = transfer.buffer;
    request.length = m_transferSize;
    request.transferred = 0;
    return m_platform->submitBulk(request);
}

void MidiEndpoint::startReading()
{
    Locked<KernelMutex> mutex(m_mutex);
    if (!isIn() || m_reading.load())
        return;
    m_reading = true;
    UsbTransfer *idle[InTransfers] = {};
    std::uint32_t count = 0;
    {
        Locked<SpinLock> guard(m_freeLock);
        while (UsbTransfer *transfer = m_free.popTail())
            idle[count++] = transfer;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!NT_SUCCESS(submitIn(*idle[i]))) {
            Locked<SpinLock> guard(m_freeLock);
            returnTransfer(*idle[i]);
        }
    }
}

// Passive level: aborts the pipe and waits until all five transfers are back.
void MidiEndpoint::stopReading()
{
    Locked<KernelMutex> mutex(m_mutex);
    if (!isIn() || !m_reading.exchange(false))
        return;
    m_platform->abortPipe(m_pipe);
    for (;;) {
        {
            Locked<SpinLock> guard(m_freeLock);
            if (m_free.count() == InTransfers)
                return;
            m_allFree.clear();
        }
        m_allFree.wait();
    }
}

void MidiEndpoint::returnTransfer(UsbTransfer &transfer)
{
    m_free.pushHead(&transfer);
    if (m_free.count() == InTransfers)
        m_allFree.set();
}

void MidiEndpoint::inCompleted(BulkRequest &, void *context)
{
    UsbTransfer *transfer = static_cast<UsbTransfer *>(context);
    static_cast<MidiEndpoint *>(transfer->owner)->onInCompleted(*transfer);
}

void MidiEndpoint::onInCompleted(UsbTransfer &transfer)
{
    const BulkRequest &request = transfer.request;
    if (!m_reading.load() || !NT_SUCCESS(request.result)) {
        Locked<SpinLock> guard(m_freeLock);
        returnTransfer(transfer);
        return;
    }
    const std::uint32_t received = request.transferred < m_transferSize ? request.transferred : m_transferSize;
    const std::uint32_t packets = received / PacketSize;
    // Only cables that can have streams and that got bytes are visited;
    // their list locks are still taken together, in ascending order.
    std::uint32_t cables = 0;
    for (std::uint32_t i = 0; i < packets; ++i) {
        const std::uint8_t *packet = transfer.buffer + i * PacketSize;
        if (cinByteCount[packetCin(packet)] != 0)
            cables |= 1u << packetCable(packet);
    }
    cables &= (1u << m_cableCount) - 1;
    for (std::uint32_t c = 0; c < m_cableCount; ++c) {
        if (cables & (1u << c))
            m_cables[c].listLock().acquire();
    }
    for (std::uint32_t c = 0; c < m_cableCount; ++c) {
        if (cables & (1u << c))
            m_cables[c].deliverPackets(transfer.buffer, packets);
    }
    for (std::uint32_t c = m_cableCount; c > 0; --c) {
        if (cables & (1u << (c - 1)))
            m_cables[c - 1].listLock().release();
    }
    if (!NT_SUCCESS(submitIn(transfer))) {
        Locked<SpinLock> guard(m_freeLock);
        returnTransfer(transfer);
    } else if (!m_reading.load()) {
        // Reading stopped while this transfer was out: its abort may have missed it.
        m_platform->abortPipe(m_pipe);
    }
    for (std::uint32_t c = 0; c < m_cableCount; ++c) {
        if (cables & (1u << c))
            m_cables[c].notifyStreams();
    }
}

} // namespace Zel
