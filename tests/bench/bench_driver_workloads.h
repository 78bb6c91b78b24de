#pragma once

// The driver data path's measured workloads and the harness that runs them
// through a render or capture stream. Shared by the Google Benchmark program
// (bytes per second) and the instruction counter run under callgrind
// (script/measure-driver), so both measure the same traffic.

#include "driver/MidiEndpoint.h"
#include "driver/MidiStream.h"
#include "tests/support/FuzzDriverPlatform.h"

#include <cstdint>
#include <random>
#include <vector>

namespace ZelBench {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::size_t WorkloadSize = 1 << 20;

enum class Workload { SysEx, Channel, Mixed };
inline constexpr Workload AllWorkloads[] = {Workload::SysEx, Workload::Channel, Workload::Mixed};

inline const char *workloadName(Workload workload)
{
    switch (workload) {
    case Workload::SysEx:
        return "sysex";
    case Workload::Channel:
        return "channel";
    case Workload::Mixed:
        return "mixed";
    }
    return "";
}

// Whole messages up to 1 MiB. The generator is seeded and draws with plain
// modulo, so every platform builds the same bytes.
class Generator
{
public:
    explicit Generator(std::uint32_t seed) : m_random(seed) {}
    std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(m_random() % n); }
    std::uint8_t data() { return static_cast<std::uint8_t>(m_random() & 0x7F); }

private:
    std::mt19937 m_random;
};

// Patch-sized System Exclusive messages: 361 bytes each.
inline Bytes sysExWorkload()
{
    Generator random(361);
    Bytes bytes;
    while (bytes.size() + 361 <= WorkloadSize) {
        bytes.push_back(0xF0);
        for (int i = 0; i < 359; ++i)
            bytes.push_back(random.data());
        bytes.push_back(0xF7);
    }
    return bytes;
}

// Bursts of note on, note off, control change and pitch bend on four
// channels; a burst sends its status once, so most messages run on it.
inline Bytes channelWorkload()
{
    static constexpr std::uint8_t kinds[] = {0x90, 0x80, 0xB0, 0xE0};
    Generator random(35);
    Bytes bytes;
    while (bytes.size() + 3 * 16 <= WorkloadSize) {
        const std::uint8_t status = static_cast<std::uint8_t>(kinds[random.below(4)] | random.below(4));
        bytes.push_back(status);
        for (std::uint32_t n = 1 + random.below(16); n > 0; --n) {
            bytes.push_back(random.data());
            bytes.push_back(random.data());
        }
    }
    return bytes;
}

// Short System Exclusive messages (0..63 data bytes) between channel
// messages of every kind, program change included, with clock bytes (F8)
// inside messages and between them.
inline Bytes mixedWorkload()
{
    static constexpr std::uint8_t kinds[] = {0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0};
    Generator random(30);
    Bytes bytes;
    auto put = [&](std::uint8_t byte) {
        if (random.below(16) == 0)
            bytes.push_back(0xF8);
        bytes.push_back(byte);
    };
    while (bytes.size() + 2 * 66 <= WorkloadSize) {
        if (random.below(3) == 0) {
            put(0xF0);
            for (std::uint32_t n = random.below(64); n > 0; --n)
                put(random.data());
            put(0xF7);
        } else {
            const std::uint8_t kind = kinds[random.below(7)];
            put(static_cast<std::uint8_t>(kind | random.below(16)));
            put(random.data());
            if (kind != 0xC0 && kind != 0xD0)
                put(random.data());
        }
    }
    return bytes;
}

inline Bytes workloadBytes(Workload workload)
{
    switch (workload) {
    case Workload::SysEx:
        return sysExWorkload();
    case Workload::Channel:
        return channelWorkload();
    case Workload::Mixed:
        return mixedWorkload();
    }
    return {};
}

// Transfers stay queued in submission order until the harness completes them.
class BenchPlatform : public FuzzDriverPlatform
{
public:
    // Completes the oldest transfer, an IN one, with these packets.
    bool completeIn(const std::uint8_t *packets, std::uint32_t length)
    {
        if (pending.empty())
            return false;
        Zel::BulkRequest *request = pending.front();
        pending.erase(pending.begin());
        std::memcpy(request->buffer, packets, length);
        request->transferred = length;
        request->result = Zel::STATUS_SUCCESS;
        request->completion(*request, request->context);
        return true;
    }
};

// One device with a 64-byte OUT endpoint and a 64-byte IN endpoint (16
// packets per transfer), one cable each.
class BenchOwner : public Zel::StreamOwner
{
public:
    static constexpr std::uint32_t TransferSize = 64;

    BenchOwner()
    {
        m_out.initialise(&fake, 1, 0x01, 0x101, TransferSize, 1);
        m_in.initialise(&fake, 1, 0x81, 0x181, TransferSize, 1);
    }
    ~BenchOwner() override { m_in.stopReading(); }
    void streamOpened() override {}
    void streamClosed() override {}
    bool isStarted() const override { return true; }
    Zel::DriverPlatform &platform() override { return fake; }
    Zel::MidiEndpoint *findEndpoint(std::uint8_t, std::uint8_t address) override
    {
        return address == 0x01 ? &m_out : address == 0x81 ? &m_in : nullptr;
    }
    Zel::MidiEndpoint &in() { return m_in; }

    BenchPlatform fake;

private:
    Zel::MidiEndpoint m_out;
    Zel::MidiEndpoint m_in;
};

// A running render stream: each call writes what the stream accepts and
// completes transfers until the backlog is gone, as a port would.
class RenderPath
{
public:
    RenderPath()
    {
        Zel::MidiStream::create(m_owner, 1, 0x01, 0, false, nullptr, nullptr, m_stream);
        m_stream->setState(Zel::StreamState::Run);
    }
    ~RenderPath()
    {
        while (m_owner.fake.completeOne()) {}
        m_owner.fake.startCompleter();
        Zel::MidiStream::destroy(m_stream);
        m_owner.fake.stopCompleter();
    }
    void run(const Bytes &bytes)
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            std::uint32_t accepted = 0;
            m_stream->write(bytes.data() + done, static_cast<std::uint32_t>(bytes.size() - done), accepted);
            done += accepted;
            while (m_owner.fake.completeOne()) {}
        }
    }

private:
    BenchOwner m_owner;
    Zel::MidiStream *m_stream = nullptr;
};

// A capture stream reading packets that arrive 16 to a transfer; the reader
// empties the stream after every transfer, as the port does when notified.
class CapturePath
{
public:
    CapturePath()
    {
        Zel::MidiStream::create(m_owner, 1, 0x81, 0, true, &CapturePath::notified, this, m_stream);
        m_owner.in().startReading();
    }
    ~CapturePath()
    {
        m_owner.in().stopReading();
        Zel::MidiStream::destroy(m_stream);
    }
    // Returns the number of bytes read.
    std::size_t run(const Bytes &packets)
    {
        std::size_t read = 0;
        for (std::size_t at = 0; at < packets.size(); at += BenchOwner::TransferSize) {
            const std::size_t length = std::min<std::size_t>(BenchOwner::TransferSize, packets.size() - at);
            m_owner.fake.completeIn(packets.data() + at, static_cast<std::uint32_t>(length));
            std::uint32_t got = 0;
            m_stream->read(m_buffer, sizeof m_buffer, got);
            read += got;
        }
        return read;
    }

private:
    static void notified(void *context, std::uint32_t available)
    {
        static_cast<CapturePath *>(context)->m_available = available;
    }

    BenchOwner m_owner;
    Zel::MidiStream *m_stream = nullptr;
    std::uint32_t m_available = 0;
    std::uint8_t m_buffer[Zel::MidiFifo::Capacity] = {};
};

} // namespace ZelBench
