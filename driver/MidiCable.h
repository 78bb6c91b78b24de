#pragma once

#include "driver/MidiStreamContext.h"
#include "driver/UsbTransfer.h"
#include "driver/ZelPlatform.h"

#include <atomic>
#include <cstdint>

namespace Zel {

// One cable of a bulk endpoint: its open streams, their arbitration and, for
// an OUT cable, its two transfers.
// Lock order: list lock -> transfer lock -> stream context lock.
class TransferSink;

class MidiCable
{
public:
    static constexpr std::uint32_t OutTransfers = 2;

    MidiCable() = default;
    MidiCable(const MidiCable &) = delete;
    MidiCable &operator=(const MidiCable &) = delete;

    void initialise(DriverPlatform *platform, std::uint8_t number, bool in, PipeHandle pipe,
                    std::uint32_t transferSize);

    std::uint8_t number() const { return m_number; }
    bool isIn() const { return m_in; }
    StreamState state() const { return m_state.load(); }

    // Passive level, under the cable mutex.
    void addStream(MidiStreamContext &context);
    NTSTATUS removeStream(MidiStreamContext &context);
    NTSTATUS setState(MidiStreamContext &context, StreamState state, bool deviceStarted);
    NTSTATUS closeStream(MidiStreamContext &context);

    // Data path.
    std::uint32_t write(MidiStreamContext &context, const std::uint8_t *bytes, std::uint32_t count);
    SpinLock &listLock() { return m_listLock; }
    // IN: hands this cable's packets among `count` to every stream on it; list lock held.
    void deliverPackets(const std::uint8_t *packets, std::uint32_t count);
    // Calls the callback of every notify-pending stream; takes the list lock.
    void notifyStreams();

private:
    friend class TransferSink;

    bool hasRoom() const;
    void appendPacket(const std::uint8_t *packet);
    void submit();
    MidiStreamContext *findHolder(std::uint64_t now);
    void drain(MidiStreamContext &context, TransferSink &sink, bool stopAfterSysExEnd);
    void moveToEnd(MidiStreamContext &context);
    bool otherRunning(const MidiStreamContext &context) const;
    void armTransfers();
    void waitTransfersFree();
    void sendAllNotesOff();
    void stopCable(MidiStreamContext &context);
    void returnTransfer(UsbTransfer &transfer);
    static void outCompleted(BulkRequest &request, void *context);
    void onOutCompleted(UsbTransfer &transfer);

    DriverPlatform *m_platform = nullptr;
    std::uint8_t m_number = 0;
    bool m_in = false;
    PipeHandle m_pipe = 0;
    std::uint32_t m_fillLimit = 0; // OUT transfers carry whole packets only
    std::atomic<StreamState> m_state{StreamState::Stop};

    KernelMutex m_mutex;
    SpinLock m_listLock;
    MidiStreamContext *m_head = nullptr;
    MidiStreamContext *m_tail = nullptr;
    std::uint32_t m_streamCount = 0;

    SpinLock m_transferLock;
    UsbTransfer m_transfers[OutTransfers];
    TransferList<OutTransfers> m_free;
    bool m_armed = false;
    Event m_allFree;
};

} // namespace Zel
