// Throughput of the driver's data path: render-stream conversion through
// Write (SysEx and channel messages) and IN conversion through the IN
// completion into a capture stream.
#include "tests/support/FuzzDriverPlatform.h"
#include "driver/MidiEndpoint.h"
#include "driver/MidiStream.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

class Owner : public Zel::StreamOwner
{
public:
    explicit Owner(FuzzDriverPlatform &platform) : m_platform(platform)
    {
        m_out.initialise(&platform, 1, 0x01, 0x101, 64, 1);
        m_in.initialise(&platform, 1, 0x81, 0x181, 64, 1);
    }
    ~Owner() override { m_in.stopReading(); }
    void streamOpened() override {}
    void streamClosed() override {}
    bool isStarted() const override { return true; }
    Zel::DriverPlatform &platform() override { return m_platform; }
    Zel::MidiEndpoint *findEndpoint(std::uint8_t, std::uint8_t address) override
    {
        return address == 0x01 ? &m_out : address == 0x81 ? &m_in : nullptr;
    }
    Zel::MidiEndpoint &in() { return m_in; }

private:
    FuzzDriverPlatform &m_platform;
    Zel::MidiEndpoint m_out;
    Zel::MidiEndpoint m_in;
};

std::vector<std::uint8_t> sysExTraffic()
{
    std::vector<std::uint8_t> bytes = {0xF0, 0x18, 0x42, 0x10, 0x02, 0x11};
    for (int i = 0; i < 352; ++i)
        bytes.push_back(static_cast<std::uint8_t>(i % 128));
    bytes.push_back(0xF7);
    return bytes;
}

std::vector<std::uint8_t> channelTraffic()
{
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 120; ++i)
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(0x90 | (i % 16)), static_cast<std::uint8_t>(i % 128), 64});
    return bytes;
}

void renderThroughput(benchmark::State &state, const std::vector<std::uint8_t> &traffic)
{
    FuzzDriverPlatform platform;
    Owner owner(platform);
    Zel::MidiStream *stream = nullptr;
    Zel::MidiStream::create(owner, 1, 0x01, 0, false, nullptr, nullptr, stream);
    stream->setState(Zel::StreamState::Run);
    for (auto _ : state) {
        std::size_t done = 0;
        while (done < traffic.size()) {
            std::uint32_t accepted = 0;
            stream->write(traffic.data() + done, static_cast<std::uint32_t>(traffic.size() - done), accepted);
            done += accepted;
            while (platform.completeOne()) {
            }
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * traffic.size()));
    platform.startCompleter();
    Zel::MidiStream::destroy(stream);
    platform.stopCompleter();
}

void BM_RenderSysEx(benchmark::State &state)
{
    renderThroughput(state, sysExTraffic());
}
BENCHMARK(BM_RenderSysEx);

void BM_RenderChannelMessages(benchmark::State &state)
{
    renderThroughput(state, channelTraffic());
}
BENCHMARK(BM_RenderChannelMessages);

void BM_CaptureSysEx(benchmark::State &state)
{
    FuzzDriverPlatform platform;
    Owner owner(platform);
    Zel::MidiStream *stream = nullptr;
    Zel::MidiStream::create(owner, 1, 0x81, 0, true, nullptr, nullptr, stream);
    owner.in().startReading();
    // 16 packets: 48 bytes of one long SysEx.
    std::vector<std::uint8_t> packets;
    for (int i = 0; i < 16; ++i)
        packets.insert(packets.end(), {0x04, static_cast<std::uint8_t>(i), 0x01, 0x02});
    std::uint8_t buffer[512];
    std::int64_t bytes = 0;
    for (auto _ : state) {
        Zel::BulkRequest *request = platform.pending.front();
        platform.pending.erase(platform.pending.begin());
        std::memcpy(request->buffer, packets.data(), packets.size());
        request->transferred = static_cast<std::uint32_t>(packets.size());
        request->result = Zel::STATUS_SUCCESS;
        request->completion(*request, request->context);
        std::uint32_t read = 0;
        stream->read(buffer, sizeof buffer, read);
        bytes += read;
    }
    state.SetBytesProcessed(bytes);
    owner.in().stopReading();
    Zel::MidiStream::destroy(stream);
}
BENCHMARK(BM_CaptureSysEx);

} // namespace
