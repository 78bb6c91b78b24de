#pragma once

#include "driver/MidiPacketiser.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// Byte strings as hexadecimal text, and conversion through the driver's
// packetiser and unpacker without a cable.
namespace ZelTest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes hex(const std::string &text)
{
    Bytes bytes;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == ' ') {
            ++pos;
            continue;
        }
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(pos, 2), nullptr, 16)));
        pos += 2;
    }
    return bytes;
}

inline std::string text(const Bytes &bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (std::uint8_t b : bytes) {
        if (!out.empty())
            out += ' ';
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

// Packets one at a time, with "N;" in `marks` when the first N packets were
// submitted at once.
struct PacketRecorder {
    std::uint8_t packet[4] = {};
    std::uint8_t *at = packet;
    std::uint8_t *end = packet + 4;
    Bytes bytes;
    std::string marks;
    void full()
    {
        bytes.insert(bytes.end(), packet, packet + 4);
        at = packet;
    }
    void submitNow() { marks += std::to_string(bytes.size() / 4) + ";"; }
};

inline std::string pack(const Bytes &midi, std::uint8_t cable = 0, std::string *marks = nullptr)
{
    Zel::MidiByteParser parser;
    bool idle = true;
    PacketRecorder out;
    Zel::packetise(parser, idle, cable, midi.data(), static_cast<std::uint32_t>(midi.size()), out);
    if (marks)
        *marks = out.marks;
    return text(out.bytes);
}

inline std::string unpack(const Bytes &packets)
{
    bool idle = true;
    Bytes bytes;
    for (std::size_t i = 0; i + 4 <= packets.size(); i += 4) {
        std::uint8_t out[5];
        bytes.insert(bytes.end(), out, out + Zel::unpackPacket(packets.data() + i, idle, out));
    }
    return text(bytes);
}

// The packets of `cable` in calls of up to `chunk` packets each, the idle
// flag carried from call to call as from transfer to transfer.
inline std::string unpackTransfers(const Bytes &packets, std::uint8_t cable, std::size_t chunk)
{
    bool idle = true;
    Bytes bytes;
    for (std::size_t first = 0; first < packets.size(); first += chunk * 4) {
        const std::size_t count = std::min(chunk, (packets.size() - first) / 4);
        Bytes out(count * 5);
        out.resize(
            Zel::unpackPackets(packets.data() + first, static_cast<std::uint32_t>(count), cable, idle, out.data()));
        bytes.insert(bytes.end(), out.begin(), out.end());
    }
    return text(bytes);
}

} // namespace ZelTest
