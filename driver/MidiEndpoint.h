#pragma once

#include "driver/MidiCable.h"
#include "driver/UsbTransfer.h"
#include "driver/ZelPlatform.h"

#include <atomic>
#include <cstdint>

namespace Zel {

// One bulk endpoint of the MIDIStreaming interface with all 16 cable slots
// (so any cable number in a packet is safe) and, for IN, five transfers.
class MidiEndpoint
{
public:
    static constexpr std::uint32_t InTransfers = 5;

    MidiEndpoint() = default;
    MidiEndpoint(const MidiEndpoint &) = delete;
    MidiEndpoint &operator=(const MidiEndpoint &) = delete;

    // Cables beyond 16 are ignored. Transfer sizes are capped at 128 bytes.
    void initialise(DriverPlatform *platform, std::uint8_t interfaceNumber, std::uint8_t address, PipeHandle pipe,
                    std::uint32_t maxPacketSize, std::uint8_t cableCount);

    std::uint8_t interfaceNumber() const { return m_interfaceNumber; }
    std::uint8_t address() const { return m_address; }
    bool isIn() const { return (m_address & 0x80) != 0; }
    std::uint8_t cableCount() const { return m_cableCount; }
    std::uint32_t transferSize() const { return m_transferSize; }
    MidiCable &cable(std::uint8_t index) { return m_cables[index & 0x0F]; }

    // IN only: reading runs in power state D0 from device start to removal.
    void startReading();
    void stopReading();

private:
    static void inCompleted(BulkRequest &request, void *context);
    void onInCompleted(UsbTransfer &transfer);
    void returnTransfer(UsbTransfer &transfer);
    NTSTATUS submitIn(UsbTransfer &transfer);

    DriverPlatform *m_platform = nullptr;
    std::uint8_t m_interfaceNumber = 0;
    std::uint8_t m_address = 0;
    PipeHandle m_pipe = 0;
    std::uint32_t m_transferSize = 0;
    std::uint8_t m_cableCount = 0;
    MidiCable m_cables[MaxCables];

    KernelMutex m_mutex;
    std::atomic<bool> m_reading{false};
    SpinLock m_freeLock;
    UsbTransfer m_transfers[InTransfers];
    TransferList<InTransfers> m_free;
    Event m_allFree;
};

} // namespace Zel
