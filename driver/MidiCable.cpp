#include "driver/MidiCable.h"

#include "driver/MidiPacketiser.h"

#include <algorithm>
#include <cstring>

namespace Zel {

namespace {

constexpr std::uint64_t HundredNsPerMs = 10000;

// A stream in the middle of a System Exclusive message claims the cable.
bool insideSysEx(const MidiStreamContext &stream) { return !stream.idle && stream.parser.systemStatus(); }

// Bytes Write may queue after converting: while 4 or more slots stay free,
// then only up to the next multiple of 4 accepted bytes.
std::uint32_t queueable(std::uint32_t space, std::uint32_t accepted, std::uint32_t remaining)
{
    const std::uint32_t plenty = space > 3 ? space - 3 : 0;
    if (remaining <= plenty)
        return remaining;
    const std::uint32_t toWhole = (4 - (accepted + plenty) % 4) % 4;
    const std::uint32_t more = std::min({remaining - plenty, space - plenty, toWhole});
    return plenty + more;
}

} // namespace

// The packetiser's view of the cable: room in the transfer at the tail of the
// free list, while the cable runs (its state is read whenever the sink moves
// to a transfer). Transfer and list changes go through the cable under its
// transfer-list lock, which the caller holds.
class TransferSink
{
public:
    explicit TransferSink(MidiCable &cable) : m_cable(cable) { bind(); }
    ~TransferSink() { store(); }
    TransferSink(const TransferSink &) = delete;
    TransferSink &operator=(const TransferSink &) = delete;

    bool hasRoom() const { return at != end; }
    void full() { submit(); }
    void submitNow() { submit(); }
    // Sends what the current transfer holds, then points at the next one.
    void submit()
    {
        store();
        m_cable.submit();
        bind();
    }

    std::uint8_t *at = nullptr;
    std::uint8_t *end = nullptr;

private:
    void bind()
    {
        m_transfer = m_cable.m_free.tail();
        const StreamState state = m_cable.m_state.load();
        if (!m_transfer || (state != StreamState::Run && state != StreamState::Acquire)) {
            m_transfer = nullptr;
            at = end = nullptr;
            return;
        }
        at = m_transfer->buffer + m_transfer->used;
        end = m_transfer->buffer + m_cable.m_fillLimit;
    }
    void store()
    {
        if (m_transfer)
            m_transfer->used = static_cast<std::uint32_t>(at - m_transfer->buffer);
    }

    MidiCable &m_cable;
    UsbTransfer *m_transfer = nullptr;
};

void MidiCable::initialise(DriverPlatform *platform, std::uint8_t number, bool in, PipeHandle pipe,
                           std::uint32_t transferSize)
{
    m_platform = platform;
    m_number = number;
    m_in = in;
    m_pipe = pipe;
    // A transfer that cannot end full of whole packets would never be sent.
    m_fillLimit = transferSize & ~(PacketSize - 1);
    for (UsbTransfer &transfer : m_transfers) {
        transfer.owner = this;
        transfer.request.completion = &MidiCable::outCompleted;
        transfer.request.context = &transfer;
    }
}

void MidiCable::addStream(MidiStreamContext &context)
{
    Locked<KernelMutex> mutex(m_mutex);
    Locked<SpinLock> list(m_listLock);
    context.previous = m_tail;
    context.next = nullptr;
    (m_tail ? m_tail->next : m_head) = &context;
    m_tail = &context;
    ++m_streamCount;
}

NTSTATUS MidiCable::removeStream(MidiStreamContext &context)
{
    Locked<SpinLock> list(m_listLock);
    MidiStreamContext *found = m_head;
    while (found && found != &context)
        found = found->next;
    if (!found)
        return STATUS_INVALID_PARAMETER;
    (context.previous ? context.previous->next : m_head) = context.next;
    (context.next ? context.next->previous : m_tail) = context.previous;
    context.previous = context.next = nullptr;
    --m_streamCount;
    return STATUS_SUCCESS;
}

// Visiting order is list order; the first-visited stream moves to the end
// for round robin.
void MidiCable::moveToEnd(MidiStreamContext &context)
{
    if (m_tail == &context)
        return;
    (context.previous ? context.previous->next : m_head) = context.next;
    context.next->previous = context.previous;
    context.previous = m_tail;
    context.next = nullptr;
    m_tail->next = &context;
    m_tail = &context;
}

bool MidiCable::hasRoom() const
{
    const StreamState state = m_state.load();
    const UsbTransfer *transfer = m_free.tail();
    return transfer && (state == StreamState::Run || state == StreamState::Acquire) &&
           transfer->used + PacketSize <= m_fillLimit;
}

void MidiCable::appendPacket(const std::uint8_t *packet)
{
    UsbTransfer *transfer = m_free.tail();
    for (std::uint32_t i = 0; i < PacketSize; ++i)
        transfer->buffer[transfer->used + i] = packet[i];
    transfer->used += PacketSize;
    if (transfer->used >= m_fillLimit)
        submit();
}

void MidiCable::submit()
{
    UsbTransfer *transfer = m_free.tail();
    if (!transfer || transfer->used == 0)
        return;
    m_free.popTail();
    BulkRequest &request = transfer->request;
    request.pipe = m_pipe;
    request.flags = 0;
    request.buffer = transfer->buffer;
    request.length = transfer->used;
    request.transferred = 0;
    transfer->used = 0;
    if (!NT_SUCCESS(m_platform->submitBulk(request)))
        m_free.pushHead(transfer);
}

// The holder is the oldest stream inside System Exclusive that wrote within
// its time-out; an expired one loses its message.
MidiStreamContext *MidiCable::findHolder(std::uint64_t now)
{
    for (MidiStreamContext *stream = m_head; stream; stream = stream->next) {
        if (!insideSysEx(*stream))
            continue;
        const std::uint64_t elapsed = now >= stream->lastWrite ? now - stream->lastWrite : 0;
        if (elapsed <= std::uint64_t(stream->sysExTimeoutMs) * HundredNsPerMs)
            return stream;
        stream->parser.reset();
        stream->idle = true;
    }
    return nullptr;
}

std::uint32_t MidiCable::write(MidiStreamContext &context, const std::uint8_t *bytes, std::uint32_t count)
{
    Locked<SpinLock> list(m_listLock);
    const std::uint64_t now = m_platform->now100ns();
    context.lastWrite = now;
    MidiStreamContext *holder = findHolder(now);
    if (holder && holder != &context)
        return 0;

    Locked<SpinLock> transfers(m_transferLock);
    Locked<SpinLock> stream(context.lock);
    std::uint32_t accepted = 0;
    {
        TransferSink sink(*this);
        // Bytes still queued go first, or the stream's output would be reordered.
        drain(context, sink, false);
        if (context.fifo.empty())
            accepted = packetise(context.parser, context.idle, m_number, bytes, count, sink);
        sink.submit();
    }
    const std::uint32_t queued = queueable(context.fifo.space(), accepted, count - accepted);
    return accepted + context.fifo.write(bytes + accepted, queued);
}

// Converts queued bytes while the transfers have room; a holder's drain ends
// right after the end of its message.
void MidiCable::drain(MidiStreamContext &context, TransferSink &sink, bool stopAfterSysExEnd)
{
    while (sink.hasRoom()) {
        std::uint32_t length = 0;
        const std::uint8_t *bytes = context.fifo.peek(length);
        if (length == 0)
            return;
        bool endsMessage = false;
        if (stopAfterSysExEnd) {
            if (const void *end = std::memchr(bytes, 0xF7, length)) {
                length = static_cast<std::uint32_t>(static_cast<const std::uint8_t *>(end) - bytes) + 1;
                endsMessage = true;
            }
        }
        const std::uint32_t done = packetise(context.parser, context.idle, m_number, bytes, length, sink);
        context.fifo.consume(done);
        if (done < length || endsMessage)
            return;
    }
}

void MidiCable::outCompleted(BulkRequest &, void *context)
{
    UsbTransfer *transfer = static_cast<UsbTransfer *>(context);
    static_cast<MidiCable *>(transfer->owner)->onOutCompleted(*transfer);
}

void MidiCable::returnTransfer(UsbTransfer &transfer)
{
    transfer.used = 0;
    m_free.pushHead(&transfer);
    if (m_free.count() == OutTransfers)
        m_allFree.set();
}

void MidiCable::onOutCompleted(UsbTransfer &transfer)
{
    const StreamState state = m_state.load();
    if (state == StreamState::Stop || state == StreamState::Pause) {
        Locked<SpinLock> transfers(m_transferLock);
        returnTransfer(transfer);
        return;
    }
    {
        Locked<SpinLock> list(m_listLock);
        MidiStreamContext *holder = findHolder(m_platform->now100ns());
        Locked<SpinLock> transfers(m_transferLock);
        returnTransfer(transfer);
        TransferSink sink(*this);
        const bool roomAtStart = sink.hasRoom();
        if (!holder) {
            for (MidiStreamContext *stream = m_head; stream; stream = stream->next) {
                Locked<SpinLock> guard(stream->lock);
                drain(*stream, sink, false);
                if (!stream->fifo.empty())
                    break;
                stream->notifyPending = true;
                // Its message now holds the cable: other streams' bytes would
                // land inside it.
                if (insideSysEx(*stream))
                    break;
            }
            sink.submit();
            if (roomAtStart && m_streamCount > 1)
                moveToEnd(*m_head);
        } else {
            {
                Locked<SpinLock> guard(holder->lock);
                drain(*holder, sink, true);
            }
            if (insideSysEx(*holder))
                holder->notifyPending = true;
            else if (m_streamCount > 1)
                moveToEnd(*holder);
            sink.submit();
        }
    }
    notifyStreams();
}

void MidiCable::deliverPackets(const std::uint8_t *packets, std::uint32_t count)
{
    // Worst case five bytes per packet: F0, three bytes, F7.
    std::uint8_t bytes[MaxTransferSize / PacketSize * 5];
    for (MidiStreamContext *stream = m_head; stream; stream = stream->next) {
        Locked<SpinLock> guard(stream->lock);
        const std::uint32_t length = unpackPackets(packets, count, m_number, stream->idle, bytes);
        stream->fifo.write(bytes, length); // a full FIFO drops the rest
        stream->notifyPending = true;
    }
}

void MidiCable::notifyStreams()
{
    Locked<SpinLock> list(m_listLock);
    for (MidiStreamContext *stream = m_head; stream; stream = stream->next) {
        if (!stream->notifyPending)
            continue;
        stream->notifyPending = false;
        if (stream->notify) {
            std::uint32_t available = 0;
            {
                Locked<SpinLock> guard(stream->lock);
                available = stream->fifo.count();
            }
            stream->notify(stream->notifyContext, available);
        }
    }
}

bool MidiCable::otherRunning(const MidiStreamContext &context) const
{
    for (const MidiStreamContext *stream = m_head; stream; stream = stream->next) {
        if (stream != &context && stream->running)
            return true;
    }
    return false;
}

void MidiCable::armTransfers()
{
    Locked<SpinLock> transfers(m_transferLock);
    if (m_armed)
        return;
    m_free.clear();
    for (UsbTransfer &transfer : m_transfers)
        returnTransfer(transfer);
    m_armed = true;
}

// Passive level: waits until both OUT transfers are back.
void MidiCable::waitTransfersFree()
{
    for (;;) {
        {
            Locked<SpinLock> transfers(m_transferLock);
            if (!m_armed || m_free.count() == OutTransfers)
                return;
            m_allFree.clear();
        }
        m_allFree.wait();
    }
}

// Sustain off, all sound off and all notes off on every channel.
void MidiCable::sendAllNotesOff()
{
    static constexpr std::uint8_t controls[3][2] = {{64, 0}, {120, 127}, {123, 127}};
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        for (const auto &control : controls) {
            const std::uint8_t packet[4] = {static_cast<std::uint8_t>(m_number << 4 | CinControlChange),
                                            static_cast<std::uint8_t>(0xB0 | channel), control[0], control[1]};
            for (;;) {
                {
                    Locked<SpinLock> transfers(m_transferLock);
                    if (hasRoom()) {
                        appendPacket(packet);
                        break;
                    }
                }
                waitTransfersFree();
            }
        }
        Locked<SpinLock> transfers(m_transferLock);
        submit();
    }
}

void MidiCable::stopCable(MidiStreamContext &context)
{
    // Transfers exist only after a Run; a cable that never ran has nothing to send with.
    if (!m_in && m_streamCount <= 1 && m_armed) {
        m_state = StreamState::Acquire;
        sendAllNotesOff();
    }
    {
        Locked<SpinLock> list(m_listLock);
        Locked<SpinLock> guard(context.lock);
        context.parser.reset();
        context.fifo.reset();
        context.idle = true;
        context.running = false;
    }
    if (otherRunning(context))
        return;
    m_state = StreamState::Stop;
    if (m_in)
        return;
    waitTransfersFree();
    Locked<SpinLock> transfers(m_transferLock);
    m_free.clear();
    m_armed = false;
}

NTSTATUS MidiCable::setState(MidiStreamContext &context, StreamState state, bool deviceStarted)
{
    Locked<KernelMutex> mutex(m_mutex);
    const StreamState previous = context.state;
    switch (state) {
    case StreamState::Run:
        if (!deviceStarted)
            return STATUS_DEVICE_NOT_CONNECTED;
        {
            Locked<SpinLock> list(m_listLock);
            context.running = true;
        }
        if (m_state.load() != StreamState::Run) {
            const bool fromPause = m_state.load() == StreamState::Pause;
            m_state = StreamState::Run;
            if (!fromPause && !m_in)
                armTransfers();
        }
        break;
    case StreamState::Pause:
        if (previous == StreamState::Run) {
            bool others = false;
            {
                Locked<SpinLock> list(m_listLock);
                context.running = false;
                others = otherRunning(context);
            }
            if (!others) {
                m_state = StreamState::Pause;
                if (!m_in)
                    waitTransfersFree();
            }
        }
        break;
    case StreamState::Stop:
        if (previous == StreamState::Acquire)
            stopCable(context);
        break;
    case StreamState::Acquire:
        break;
    }
    context.state = state;
    return STATUS_SUCCESS;
}

NTSTATUS MidiCable::closeStream(MidiStreamContext &context)
{
    Locked<KernelMutex> mutex(m_mutex);
    bool others = false;
    {
        Locked<SpinLock> list(m_listLock);
        context.running = false;
        others = otherRunning(context);
    }
    if (!others && m_state.load() != StreamState::Stop)
        stopCable(context);
    return removeStream(context);
}

} // namespace Zel
