// The driver's render and capture streams against a model built on the
// reference conversions (tests/driver/reference): the same writes, transfer
// completions, clock steps, IN transfers and reads go to both, on several
// cables, and every accepted count, submitted transfer, notification and byte
// read must agree. The model is the cable's data path as first written: one
// byte at a time through parser and packetiser, arbitration by the holder of
// an unfinished System Exclusive message, round robin over the backlogs.
#include "tests/driver/reference/ReferencePacketiser.h"
#include "tests/support/FakeDriverPlatform.h"

#include "driver/MidiEndpoint.h"
#include "driver/MidiStream.h"

#include <cstdlib>
#include <deque>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t Cables = 3;

[[noreturn]] void differs() { std::abort(); }

// ---- The model ------------------------------------------------------------

struct ModelStream {
    std::uint8_t cable = 0;
    ZelReference::MidiByteParser parser;
    bool idle = true;
    std::deque<std::uint8_t> fifo; // at most 512 bytes
    std::uint64_t lastWrite = 0;
    std::uint32_t timeoutMs = 1000;
    bool notifyPending = false;
    bool insideSysEx() const { return !idle && parser.runningStatus() == 0xF0; }
};

struct ModelTransfer {
    std::uint8_t buffer[Zel::MaxTransferSize] = {};
    std::uint32_t used = 0;
};

struct ModelCable {
    std::vector<int> order; // visiting order of its streams
    ModelTransfer transfers[2];
    std::deque<int> free; // back() is the transfer being filled
};

struct Submitted {
    int cable;
    int transfer;
};

class Model
{
public:
    Model(std::uint32_t transferSize) : m_limit(std::min<std::uint32_t>(transferSize, 128) & ~3u)
    {
        for (ModelCable &cable : m_cables) {
            cable.free = {1, 0};
        }
    }

    int addRender(std::uint8_t cable, std::uint32_t timeoutMs)
    {
        m_render.push_back({});
        m_render.back().cable = cable;
        m_render.back().timeoutMs = timeoutMs;
        m_cables[cable].order.push_back(static_cast<int>(m_render.size() - 1));
        return static_cast<int>(m_render.size() - 1);
    }
    int addCapture(std::uint8_t cable)
    {
        m_capture.push_back({});
        m_capture.back().cable = cable;
        m_captureOrder[cable].push_back(static_cast<int>(m_capture.size() - 1));
        return static_cast<int>(m_capture.size() - 1);
    }

    std::uint32_t write(int id, const std::uint8_t *bytes, std::uint32_t count, std::uint64_t now)
    {
        ModelStream &stream = m_render[id];
        ModelCable &cable = m_cables[stream.cable];
        stream.lastWrite = now;
        const int holder = findHolder(cable, now);
        if (holder >= 0 && holder != id)
            return 0;
        drain(stream, false);
        std::uint32_t accepted = 0;
        if (stream.fifo.empty()) {
            while (accepted < count && hasRoom(cable))
                packetise(stream, bytes[accepted++]);
        }
        submit(stream.cable);
        while (accepted < count) {
            const std::size_t space = 512 - stream.fifo.size();
            if (space < 4 && (accepted % 4 == 0 || space == 0))
                break;
            stream.fifo.push_back(bytes[accepted++]);
        }
        return accepted;
    }

    // Completes the oldest submitted transfer; returns its bytes.
    Bytes completeOut(std::uint64_t now)
    {
        const Submitted done = m_pending.front();
        m_pending.pop_front();
        Bytes sent = m_inFlight.front();
        m_inFlight.pop_front();
        ModelCable &cable = m_cables[done.cable];
        const int holder = findHolder(cable, now);
        cable.transfers[done.transfer].used = 0;
        cable.free.push_front(done.transfer);
        const bool roomAtStart = hasRoom(cable);
        if (holder < 0) {
            for (int id : cable.order) {
                ModelStream &stream = m_render[id];
                drain(stream, false);
                if (!stream.fifo.empty())
                    break;
                stream.notifyPending = true;
                if (stream.insideSysEx())
                    break;
            }
            submit(done.cable);
            if (roomAtStart && cable.order.size() > 1)
                moveToEnd(cable, cable.order.front());
        } else {
            ModelStream &stream = m_render[holder];
            drain(stream, true);
            if (stream.insideSysEx())
                stream.notifyPending = true;
            else if (cable.order.size() > 1)
                moveToEnd(cable, holder);
            submit(done.cable);
        }
        for (int id : cable.order)
            m_render[id].notifyPending = false;
        return sent;
    }

    // One IN transfer of `received` bytes; notifications as (stream, count).
    void completeIn(const std::uint8_t *bytes, std::uint32_t received,
                    std::vector<std::pair<int, std::uint32_t>> &notes)
    {
        for (std::uint32_t at = 0; at + 4 <= received; at += 4) {
            const std::uint8_t *packet = bytes + at;
            if (Zel::cinByteCount[Zel::packetCin(packet)] == 0 || Zel::packetCable(packet) >= Cables)
                continue;
            for (int id : m_captureOrder[Zel::packetCable(packet)]) {
                ModelStream &stream = m_capture[id];
                struct Push {
                    std::deque<std::uint8_t> &fifo;
                    void push(std::uint8_t byte)
                    {
                        if (fifo.size() < 512)
                            fifo.push_back(byte);
                    }
                } sink{stream.fifo};
                ZelReference::unpackPacket(packet, stream.idle, sink);
                stream.notifyPending = true;
            }
        }
        for (const std::vector<int> &order : m_captureOrder) {
            for (int id : order) {
                if (m_capture[id].notifyPending) {
                    m_capture[id].notifyPending = false;
                    notes.emplace_back(id, static_cast<std::uint32_t>(m_capture[id].fifo.size()));
                }
            }
        }
    }

    Bytes read(int id, std::uint32_t size)
    {
        std::deque<std::uint8_t> &fifo = m_capture[id].fifo;
        Bytes out;
        while (out.size() < size && !fifo.empty()) {
            out.push_back(fifo.front());
            fifo.pop_front();
        }
        return out;
    }

    std::size_t pendingOut() const { return m_pending.size(); }

private:
    int findHolder(ModelCable &cable, std::uint64_t now)
    {
        for (int id : cable.order) {
            ModelStream &stream = m_render[id];
            if (!stream.insideSysEx())
                continue;
            const std::uint64_t elapsed = now >= stream.lastWrite ? now - stream.lastWrite : 0;
            if (elapsed <= std::uint64_t(stream.timeoutMs) * 10000)
                return id;
            stream.parser.reset();
            stream.idle = true;
        }
        return -1;
    }
    bool hasRoom(const ModelCable &cable) const
    {
        return !cable.free.empty() && cable.transfers[cable.free.back()].used + 4 <= m_limit;
    }
    void packetise(ModelStream &stream, std::uint8_t byte)
    {
        struct Sink {
            Model &model;
            std::uint8_t cable;
            void appendPacket(const std::uint8_t *packet)
            {
                ModelCable &c = model.m_cables[cable];
                ModelTransfer &transfer = c.transfers[c.free.back()];
                std::memcpy(transfer.buffer + transfer.used, packet, 4);
                transfer.used += 4;
                if (transfer.used >= model.m_limit)
                    model.submit(cable);
            }
            void submitNow() { model.submit(cable); }
        } sink{*this, stream.cable};
        ZelReference::packetiseByte(stream.parser, stream.idle, stream.cable, byte, sink);
    }
    void drain(ModelStream &stream, bool stopAfterSysExEnd)
    {
        while (hasRoom(m_cables[stream.cable]) && !stream.fifo.empty()) {
            const std::uint8_t byte = stream.fifo.front();
            stream.fifo.pop_front();
            packetise(stream, byte);
            if (stopAfterSysExEnd && byte == 0xF7)
                break;
        }
    }
    void submit(std::uint8_t number)
    {
        ModelCable &cable = m_cables[number];
        if (cable.free.empty() || cable.transfers[cable.free.back()].used == 0)
            return;
        const int index = cable.free.back();
        cable.free.pop_back();
        ModelTransfer &transfer = cable.transfers[index];
        m_pending.push_back({number, index});
        m_inFlight.emplace_back(transfer.buffer, transfer.buffer + transfer.used);
        transfer.used = 0;
    }
    static void moveToEnd(ModelCable &cable, int id)
    {
        for (auto it = cable.order.begin(); it != cable.order.end(); ++it) {
            if (*it == id) {
                cable.order.erase(it);
                break;
            }
        }
        cable.order.push_back(id);
    }

    std::uint32_t m_limit;
    ModelCable m_cables[Cables];
    std::vector<ModelStream> m_render;
    std::vector<ModelStream> m_capture;
    std::vector<int> m_captureOrder[Cables];
    std::deque<Submitted> m_pending;
    std::deque<Bytes> m_inFlight;
};

// ---- The driver -----------------------------------------------------------

class Owner : public Zel::StreamOwner
{
public:
    explicit Owner(std::uint32_t transferSize)
    {
        out.initialise(&fake, 1, 0x01, 0x101, transferSize, Cables);
        in.initialise(&fake, 1, 0x81, 0x181, transferSize, Cables);
    }
    void streamOpened() override {}
    void streamClosed() override {}
    bool isStarted() const override { return true; }
    Zel::DriverPlatform &platform() override { return fake; }
    Zel::MidiEndpoint *findEndpoint(std::uint8_t, std::uint8_t address) override
    {
        return address == 0x01 ? &out : address == 0x81 ? &in : nullptr;
    }

    ZelTest::FakeDriverPlatform fake;
    Zel::MidiEndpoint out;
    Zel::MidiEndpoint in;
};

struct Notes {
    std::vector<std::pair<int, std::uint32_t>> log;
    struct Tag {
        Notes *notes;
        int id;
    };
    static void notify(void *context, std::uint32_t available)
    {
        Tag *tag = static_cast<Tag *>(context);
        tag->notes->log.emplace_back(tag->id, available);
    }
};

class Input
{
public:
    Input(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}
    bool done() const { return m_at >= m_size; }
    std::uint8_t next() { return m_at < m_size ? m_data[m_at++] : 0; }
    const std::uint8_t *take(std::size_t &count)
    {
        count = std::min(count, m_size - m_at);
        const std::uint8_t *bytes = m_data + m_at;
        m_at += count;
        return bytes;
    }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Input input(data, size);
    // Set-up: transfer size (any, not only whole packets), SysEx time-out,
    // render streams and capture streams with their cables.
    const std::uint32_t transferSize = 4 + input.next() % 125;
    const std::uint32_t timeoutMs = 1 + input.next() % 16;
    const int renderCount = 1 + input.next() % 4;
    const int captureCount = 1 + input.next() % 3;

    Owner owner(transferSize);
    owner.fake.dwords["Settings\\SysExTimeOutPeriod"] = timeoutMs;
    Model model(transferSize);
    Notes notes;
    std::vector<Notes::Tag> tags(static_cast<std::size_t>(captureCount));
    std::vector<Zel::MidiStream *> render;
    std::vector<Zel::MidiStream *> capture;
    for (int i = 0; i < renderCount; ++i) {
        const std::uint8_t cable = input.next() % Cables;
        Zel::MidiStream *stream = nullptr;
        if (!Zel::NT_SUCCESS(Zel::MidiStream::create(owner, 1, 0x01, cable, false, nullptr, nullptr, stream)))
            differs();
        stream->setState(Zel::StreamState::Run);
        render.push_back(stream);
        model.addRender(cable, timeoutMs);
    }
    for (int i = 0; i < captureCount; ++i) {
        const std::uint8_t cable = input.next() % Cables;
        tags[i] = {&notes, model.addCapture(cable)};
        Zel::MidiStream *stream = nullptr;
        if (!Zel::NT_SUCCESS(Zel::MidiStream::create(owner, 1, 0x81, cable, true, &Notes::notify, &tags[i], stream)))
            differs();
        stream->setState(Zel::StreamState::Run);
        capture.push_back(stream);
    }
    owner.in.startReading();

    std::vector<std::pair<int, std::uint32_t>> expectedNotes;
    Bytes expectedSent;
    while (!input.done()) {
        const std::uint8_t op = input.next();
        switch (op % 8) {
        case 0:
        case 1:
        case 2: { // a write of up to 63 bytes
            const int id = (op >> 3) % renderCount;
            std::size_t count = input.next() % 64;
            const std::uint8_t *bytes = input.take(count);
            std::uint32_t accepted = 0;
            render[id]->write(bytes, static_cast<std::uint32_t>(count), accepted);
            if (accepted != model.write(id, bytes, static_cast<std::uint32_t>(count), owner.fake.clock.load()))
                differs();
            break;
        }
        case 3:
        case 4: // the oldest OUT transfer completes
            if (model.pendingOut() == 0)
                break;
            if (!owner.fake.completeOut())
                differs();
            {
                const Bytes sent = model.completeOut(owner.fake.clock.load());
                expectedSent.insert(expectedSent.end(), sent.begin(), sent.end());
            }
            if (owner.fake.sentBytes() != expectedSent)
                differs();
            break;
        case 5: // time passes
            owner.fake.advanceMs(op >> 3);
            break;
        case 6: { // an IN transfer, possibly short or with a broken last packet
            std::size_t count = input.next() % (Zel::MaxTransferSize + 1);
            const std::uint8_t *bytes = input.take(count);
            if (!owner.fake.completeIn(Bytes(bytes, bytes + count)))
                differs();
            const std::uint32_t received = static_cast<std::uint32_t>(
                std::min<std::size_t>(count, std::min<std::uint32_t>(transferSize, Zel::MaxTransferSize)));
            model.completeIn(bytes, received, expectedNotes);
            if (notes.log != expectedNotes)
                differs();
            break;
        }
        case 7: { // a reader empties part of its stream
            const int id = (op >> 3) % captureCount;
            const std::uint32_t wanted = input.next() * 3u;
            Bytes buffer(wanted + 1);
            std::uint32_t read = 0;
            capture[id]->read(buffer.data(), wanted, read);
            buffer.resize(read);
            if (buffer != model.read(id, wanted))
                differs();
            break;
        }
        }
        if (owner.fake.pendingOut() != model.pendingOut())
            differs();
    }

    owner.in.stopReading();
    for (Zel::MidiStream *stream : capture)
        Zel::MidiStream::destroy(stream);
    owner.fake.startCompleter(); // closing sends the reset sequence and waits for it
    for (Zel::MidiStream *stream : render)
        Zel::MidiStream::destroy(stream);
    owner.fake.stopCompleter();
    return 0;
}
