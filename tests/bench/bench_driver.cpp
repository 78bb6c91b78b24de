// Throughput of the driver's data path on the measured workloads (see
// bench_driver_workloads.h): conversion alone, bytes to packets and packets
// to bytes, and the whole render and capture paths through a stream.
#include "tests/bench/bench_driver_workloads.h"

#include "driver/MidiPacketiser.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

using namespace ZelBench;

struct PacketArray {
    std::uint8_t *at;
    void appendPacket(const std::uint8_t *packet)
    {
        std::memcpy(at, packet, 4);
        at += 4;
    }
    void submitNow() {}
};

struct ByteArray {
    std::uint8_t *at;
    void push(std::uint8_t byte) { *at++ = byte; }
};

std::size_t pack(const Bytes &bytes, std::uint8_t *packets)
{
    Zel::MidiByteParser parser;
    bool idle = true;
    PacketArray out{packets};
    for (std::uint8_t byte : bytes)
        Zel::packetiseByte(parser, idle, 0, byte, out);
    return static_cast<std::size_t>(out.at - packets);
}

std::size_t unpack(const Bytes &packets, std::uint8_t *bytes)
{
    bool idle = true;
    ByteArray out{bytes};
    for (std::size_t at = 0; at + 4 <= packets.size(); at += 4)
        Zel::unpackPacket(packets.data() + at, idle, out);
    return static_cast<std::size_t>(out.at - bytes);
}

Bytes packed(const Bytes &bytes)
{
    Bytes packets(bytes.size() * 4 + 4);
    packets.resize(pack(bytes, packets.data()));
    return packets;
}

void BM_Pack(benchmark::State &state, Workload workload)
{
    const Bytes bytes = workloadBytes(workload);
    Bytes packets(bytes.size() * 4 + 4);
    for (auto _ : state)
        benchmark::DoNotOptimize(pack(bytes, packets.data()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_Unpack(benchmark::State &state, Workload workload)
{
    const Bytes packets = packed(workloadBytes(workload));
    Bytes bytes(packets.size() / 4 * 5 + 8);
    for (auto _ : state)
        benchmark::DoNotOptimize(unpack(packets, bytes.data()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * packets.size()));
    state.counters["packets"] = benchmark::Counter(static_cast<double>(state.iterations() * packets.size() / 4),
                                                   benchmark::Counter::kIsRate);
}

void BM_Render(benchmark::State &state, Workload workload)
{
    const Bytes bytes = workloadBytes(workload);
    RenderPath path;
    for (auto _ : state)
        path.run(bytes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_Capture(benchmark::State &state, Workload workload)
{
    const Bytes packets = packed(workloadBytes(workload));
    CapturePath path;
    for (auto _ : state)
        benchmark::DoNotOptimize(path.run(packets));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * packets.size()));
    state.counters["packets"] = benchmark::Counter(static_cast<double>(state.iterations() * packets.size() / 4),
                                                   benchmark::Counter::kIsRate);
}

BENCHMARK_CAPTURE(BM_Pack, sysex, Workload::SysEx);
BENCHMARK_CAPTURE(BM_Pack, channel, Workload::Channel);
BENCHMARK_CAPTURE(BM_Pack, mixed, Workload::Mixed);
BENCHMARK_CAPTURE(BM_Unpack, sysex, Workload::SysEx);
BENCHMARK_CAPTURE(BM_Unpack, channel, Workload::Channel);
BENCHMARK_CAPTURE(BM_Unpack, mixed, Workload::Mixed);
BENCHMARK_CAPTURE(BM_Render, sysex, Workload::SysEx);
BENCHMARK_CAPTURE(BM_Render, channel, Workload::Channel);
BENCHMARK_CAPTURE(BM_Render, mixed, Workload::Mixed);
BENCHMARK_CAPTURE(BM_Capture, sysex, Workload::SysEx);
BENCHMARK_CAPTURE(BM_Capture, channel, Workload::Channel);
BENCHMARK_CAPTURE(BM_Capture, mixed, Workload::Mixed);

} // namespace
