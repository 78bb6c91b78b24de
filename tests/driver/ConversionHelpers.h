#pragma once

#include "driver/MidiPacketiser.h"

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

} // namespace ZelTest
