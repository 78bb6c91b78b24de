// Runs one workload once through one part of the driver's data path, for
// counting instructions under callgrind (script/measure-driver). The counted
// functions are the measure* functions below (conversion alone) or the
// driver's own entry points (whole path); the workload is built before them.
//
//   bench_driver_instructions pack|unpack|render|capture sysex|channel|mixed [reference|baseline]
//
// Prints the number of bytes or packets that went through, the divisor of the
// instruction count.
#include "tests/bench/BaselineConversion.h"
#include "tests/bench/bench_driver_workloads.h"
#include "tests/driver/reference/ReferencePacketiser.h"

#include "driver/MidiPacketiser.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

using namespace ZelBench;

struct PacketArray {
    std::uint8_t *at;
    std::uint8_t *end;
    void full() {}
    void submitNow() {}
};

struct ReferencePacketArray {
    std::uint8_t *at;
    void appendPacket(const std::uint8_t *packet)
    {
        std::memcpy(at, packet, 4);
        at += 4;
    }
    void submitNow() {}
};

struct ReferenceByteArray {
    std::uint8_t *at;
    void push(std::uint8_t byte) { *at++ = byte; }
};

[[gnu::noinline]] std::size_t measurePack(const std::uint8_t *bytes, std::size_t count, std::uint8_t *packets,
                                          std::size_t capacity)
{
    Zel::MidiByteParser parser;
    bool idle = true;
    PacketArray out{packets, packets + capacity};
    Zel::packetise(parser, idle, 0, bytes, static_cast<std::uint32_t>(count), out);
    return static_cast<std::size_t>(out.at - packets);
}

[[gnu::noinline]] std::size_t measurePackBaseline(const std::uint8_t *bytes, std::size_t count, std::uint8_t *packets,
                                                  std::size_t capacity)
{
    ZelBaseline::MidiByteParser parser;
    bool idle = true;
    PacketArray out{packets, packets + capacity};
    ZelBaseline::packetise(parser, idle, 0, bytes, static_cast<std::uint32_t>(count), out);
    return static_cast<std::size_t>(out.at - packets);
}

[[gnu::noinline]] std::size_t measurePackReference(const std::uint8_t *bytes, std::size_t count, std::uint8_t *packets,
                                                   std::size_t)
{
    ZelReference::MidiByteParser parser;
    bool idle = true;
    ReferencePacketArray out{packets};
    for (std::size_t i = 0; i < count; ++i)
        ZelReference::packetiseByte(parser, idle, 0, bytes[i], out);
    return static_cast<std::size_t>(out.at - packets);
}

[[gnu::noinline]] std::size_t measureUnpack(const std::uint8_t *packets, std::size_t count, std::uint8_t *bytes)
{
    bool idle = true;
    return Zel::unpackPackets(packets, static_cast<std::uint32_t>(count), 0, idle, bytes);
}

[[gnu::noinline]] std::size_t measureUnpackBaseline(const std::uint8_t *packets, std::size_t count, std::uint8_t *bytes)
{
    bool idle = true;
    return ZelBaseline::unpackPackets(packets, static_cast<std::uint32_t>(count), 0, idle, bytes);
}

[[gnu::noinline]] std::size_t measureUnpackReference(const std::uint8_t *packets, std::size_t count,
                                                     std::uint8_t *bytes)
{
    bool idle = true;
    ReferenceByteArray out{bytes};
    for (std::size_t i = 0; i < count; ++i)
        ZelReference::unpackPacket(packets + 4 * i, idle, out);
    return static_cast<std::size_t>(out.at - bytes);
}

Bytes referencePackets(const Bytes &bytes)
{
    Bytes packets(bytes.size() * 4 + 4);
    packets.resize(measurePackReference(bytes.data(), bytes.size(), packets.data(), packets.size()));
    return packets;
}

int usage()
{
    std::fprintf(stderr, "usage: bench_driver_instructions pack|unpack|render|capture sysex|channel|mixed "
                         "[reference|baseline]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3)
        return usage();
    const std::string what = argv[1];
    const std::string name = argv[2];
    const std::string variant = argc > 3 ? argv[3] : "";
    Workload workload = Workload::SysEx;
    bool known = false;
    for (Workload candidate : AllWorkloads) {
        if (name == workloadName(candidate)) {
            workload = candidate;
            known = true;
        }
    }
    if (!known)
        return usage();
    const Bytes bytes = workloadBytes(workload);

    if (what == "pack") {
        Bytes packets(bytes.size() * 4 + 4);
        const auto measure = variant == "reference"  ? measurePackReference
                             : variant == "baseline" ? measurePackBaseline
                                                     : measurePack;
        const std::size_t made = measure(bytes.data(), bytes.size(), packets.data(), packets.size());
        std::printf("%zu bytes %zu packets\n", bytes.size(), made / 4);
    } else if (what == "unpack") {
        const Bytes packets = referencePackets(bytes);
        Bytes out(packets.size() / 4 * 5 + 8);
        const std::size_t count = packets.size() / 4;
        const auto measure = variant == "reference"  ? measureUnpackReference
                             : variant == "baseline" ? measureUnpackBaseline
                                                     : measureUnpack;
        const std::size_t made = measure(packets.data(), count, out.data());
        std::printf("%zu packets %zu bytes\n", count, made);
    } else if (what == "render") {
        RenderPath path;
        path.run(bytes);
        std::printf("%zu bytes\n", bytes.size());
    } else if (what == "capture") {
        const Bytes packets = referencePackets(bytes);
        CapturePath path;
        const std::size_t read = path.run(packets);
        std::printf("%zu packets %zu bytes\n", packets.size() / 4, read);
    } else {
        return usage();
    }
    return 0;
}
