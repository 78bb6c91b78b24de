#include "driver/MidiEndpoint.h"

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
    for (MidiCable &cable : m_cables)
        cable.listLock().acquire();
    for (std::uint32_t offset = 0; offset + PacketSize <= received; offset += PacketSize) {
        const std::uint8_t *packet = transfer.buffer + offset;
        if (cinByteCount[packetCin(packet)] != 0)
            m_cables[packetCable(packet)].deliverPacket(packet);
    }
    for (std::uint32_t i = MaxCables; i > 0; --i)
        m_cables[i - 1].listLock().release();
    if (!NT_SUCCESS(submitIn(transfer))) {
        Locked<SpinLock> guard(m_freeLock);
        returnTransfer(transfer);
    } else if (!m_reading.load()) {
        // Reading stopped while this transfer was out: its abort may have missed it.
        m_platform->abortPipe(m_pipe);
    }
    for (MidiCable &cable : m_cables)
        cable.notifyStreams();
}

} // namespace Zel
