// Throughput of the driver's data path on the measured workloads (see
// bench_driver_workloads.h): conversion alone, bytes to packets and packets
// to bytes, and the whole render and capture paths through a stream.
//
// The Versus benchmarks run the driver's conversions and the baseline ones
// (BaselineConversion.h) on the same data in one process; compare the "_min"
// rows of
//   bench_driver --benchmark_filter=Versus --benchmark_repetitions=20
//     --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
#include "tests/bench/BaselineConversion.h"
#include "tests/bench/bench_driver_workloads.h"

#include "driver/MidiPacketiser.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

using namespace ZelBench;

// Room for one packet per byte: the most a stream can make.
struct PacketArray {
    std::uint8_t *at;
    std::uint8_t *end;
    void full() {}
    void submitNow() {}
};

std::size_t pack(const Bytes &bytes, std::uint8_t *packets)
{
    Zel::MidiByteParser parser;
    bool idle = true;
    PacketArray out{packets, packets + bytes.size() * 4 + 4};
    Zel::packetise(parser, idle, 0, bytes.data(), static_cast<std::uint32_t>(bytes.size()), out);
    return static_cast<std::size_t>(out.at - packets);
}

std::size_t unpack(const Bytes &packets, std::uint8_t *bytes)
{
    bool idle = true;
    return Zel::unpackPackets(packets.data(), static_cast<std::uint32_t>(packets.size() / 4), 0, idle, bytes);
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
    state.counters["packets"] =
        benchmark::Counter(static_cast<double>(state.iterations() * packets.size() / 4), benchmark::Counter::kIsRate);
}

template <class Parser, std::uint32_t (*packetise)(Parser &, bool &, std::uint8_t, const std::uint8_t *, std::uint32_t,
                                                   PacketArray &)>
void packVersus(benchmark::State &state, Workload workload)
{
    const Bytes bytes = workloadBytes(workload);
    Bytes packets(bytes.size() * 4 + 4);
    for (auto _ : state) {
        Parser parser;
        bool idle = true;
        PacketArray out{packets.data(), packets.data() + packets.size()};
        benchmark::DoNotOptimize(
            packetise(parser, idle, 0, bytes.data(), static_cast<std::uint32_t>(bytes.size()), out));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

// As the driver unpacks: one call per IN transfer of 16 packets, the idle
// flag carried from one to the next.
template <std::uint32_t (*unpackPackets)(const std::uint8_t *, std::uint32_t, std::uint8_t, bool &, std::uint8_t *)>
void unpackVersus(benchmark::State &state, Workload workload)
{
    const Bytes packets = packed(workloadBytes(workload));
    const std::uint32_t count = static_cast<std::uint32_t>(packets.size() / 4);
    Bytes bytes(count * 5 + 8);
    for (auto _ : state) {
        bool idle = true;
        std::uint8_t *at = bytes.data();
        for (std::uint32_t first = 0; first < count; first += 16)
            at += unpackPackets(packets.data() + first * 4, std::min(16u, count - first), 0, idle, at);
        benchmark::DoNotOptimize(at);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * packets.size()));
    state.counters["packets"] =
        benchmark::Counter(static_cast<double>(state.iterations() * count), benchmark::Counter::kIsRate);
}

void BM_VersusUnpackNew(benchmark::State &state, Workload workload)
{
    unpackVersus<Zel::unpackPackets>(state, workload);
}

void BM_VersusUnpackBaseline(benchmark::State &state, Workload workload)
{
    unpackVersus<ZelBaseline::unpackPackets>(state, workload);
}

void BM_VersusPackNew(benchmark::State &state, Workload workload)
{
    packVersus<Zel::MidiByteParser, Zel::packetise<PacketArray>>(state, workload);
}

void BM_VersusPackBaseline(benchmark::State &state, Workload workload)
{
    packVersus<ZelBaseline::MidiByteParser, ZelBaseline::packetise<PacketArray>>(state, workload);
}

double minimum(const std::vector<double> &values) { return *std::min_element(values.begin(), values.end()); }

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
    state.counters["packets"] =
        benchmark::Counter(static_cast<double>(state.iterations() * packets.size() / 4), benchmark::Counter::kIsRate);
}

BENCHMARK_CAPTURE(BM_Pack, sysex, Workload::SysEx);
BENCHMARK_CAPTURE(BM_Pack, channel, Workload::Channel);
BENCHMARK_CAPTURE(BM_Pack, mixed, Workload::Mixed);
BENCHMARK_CAPTURE(BM_Unpack, sysex, Workload::SysEx);
BENCHMARK_CAPTURE(BM_Unpack, channel, Workload::Channel);
BENCHMARK_CAPTURE(BM_Unpack, mixed, Workload::Mixed);
BENCHMARK_CAPTURE(BM_VersusUnpackNew, sysex, Workload::SysEx)->ComputeStatistics("min", minimum);
BENCHMARK_CAPTURE(BM_VersusUnpackBaseline, sysex, Workload::SysEx)->ComputeStatistics("min", minimum);
BENCHMARK_CAPTURE(BM_VersusUnpackNew, channel, Workload::Channel)->ComputeStatistics("min", minimum);
BENCHMARK_CAPTURE(BM_VersusUnpackBaseline, channel, Workload::Channel)->ComputeStatistics("min", minimum);
BENCHMARK_CAPTURE(BM_VersusUnpackNew, mixed, Workload::Mixed)->ComputeStatistics("min", minimum);
BENCHMARK_CAPTURE(BM_VersusUnpackBaseline, mixed, Workload::Mixed)->ComputeStatistics("min", minimum);
BENCHMARK_CAPTURE(BM_VersusPackNew, mixed, Workload::Mixed)->ComputeStatistics("min", minimum);
BENCHMARK_CAPTURE(BM_VersusPackBaseline, mixed, Workload::Mixed)->ComputeStatistics("min", minimum);
BENCHMARK_CAPTURE(BM_Render, sysex, Workload::SysEx);
BENCHMARK_CAPTURE(BM_Render, channel, Workload::Channel);
BENCHMARK_CAPTURE(BM_Render, mixed, Workload::Mixed);
BENCHMARK_CAPTURE(BM_Capture, sysex, Workload::SysEx);
BENCHMARK_CAPTURE(BM_Capture, channel, Workload::Channel);
BENCHMARK_CAPTURE(BM_Capture, mixed, Workload::Mixed);

} // namespace
