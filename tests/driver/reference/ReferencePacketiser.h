#pragma once

#include "tests/driver/reference/ReferenceByteParser.h"

#include "driver/UsbMidiPacket.h"

#include <cstdint>

// The driver's first conversions, one byte and one packet at a time, kept as
// the tests' reference for the driver's own (see ReferenceByteParser.h).
namespace ZelReference {

using Zel::cinByteCount;
using Zel::CinSingleByte;
using Zel::CinSysExContinue;
using Zel::CinSysExEnd1;
using Zel::CinSysExEnd2;
using Zel::CinSysExEnd3;
using Zel::CinThreeByteCommon;
using Zel::CinTwoByteCommon;
using Zel::packetCin;
using Zel::sysExEndCin;

// Output: one MIDI byte through the stream's parser into at most one packet.
// Sink: appendPacket(const uint8_t *packet) and submitNow() (real-time bytes
// leave at once instead of waiting for the batch). `idle` is the stream's
// "not inside System Exclusive" flag.
template <class Sink>
void packetiseByte(MidiByteParser &parser, bool &idle, std::uint8_t cable, std::uint8_t byte, Sink &sink)
{
    const std::uint8_t result = parser.feed(byte);
    std::uint8_t packet[4] = {static_cast<std::uint8_t>(cable << 4), 0, 0, 0};
    auto send = [&](std::uint8_t cin, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
        packet[0] = static_cast<std::uint8_t>(cable << 4 | cin);
        packet[1] = b1;
        packet[2] = b2;
        packet[3] = b3;
        sink.appendPacket(packet);
    };
    const std::uint8_t channelStatus = static_cast<std::uint8_t>(result | (parser.lowNibble() & 0x0F));
    switch (result) {
    case 0:
        if (parser.insideSysEx()) {
            idle = false;
            if (parser.ringCount() >= 3) {
                const std::uint8_t b1 = parser.popRing();
                const std::uint8_t b2 = parser.popRing();
                send(CinSysExContinue, b1, b2, parser.popRing());
            }
        }
        return;
    case 0x80:
    case 0x90:
    case 0xA0:
    case 0xB0:
    case 0xE0:
        send(result >> 4, channelStatus, parser.data1(), parser.data2());
        return;
    case 0xC0:
    case 0xD0:
        send(result >> 4, channelStatus, parser.data1(), 0);
        return;
    case 0xF0: {
        idle = true;
        std::uint8_t bytes[3] = {0, 0, 0};
        const std::uint16_t count = parser.ringCount() > 3 ? 3 : parser.ringCount();
        for (std::uint16_t i = 0; i < count; ++i)
            bytes[i] = parser.popRing();
        if (count > 0)
            send(sysExEndCin[count], bytes[0], bytes[1], bytes[2]);
        return;
    }
    case 0xF1:
    case 0xF3:
        send(CinTwoByteCommon, result, parser.data1(), 0);
        return;
    case 0xF2:
        send(CinThreeByteCommon, result, parser.data1(), parser.data2());
        return;
    case 0xF4:
        if (parser.dataPosition() == 2)
            send(CinThreeByteCommon, 0xF4, parser.data1(), parser.data2());
        else if (parser.dataPosition() > 2)
            send(CinSingleByte, parser.data1(), 0, 0);
        return;
    case 0xF6:
        send(CinSysExEnd1, 0xF6, 0, 0);
        return;
    default:
        if (result >= 0xF8) {
            send(CinSingleByte, result, 0, 0);
            sink.submitNow();
        }
        return;
    }
}

// Input: one packet into a stream's byte stream. Sink: push(uint8_t) (a full
// FIFO drops). `idle` as above. Packets of CIN 0 and 1 carry nothing.
template <class Sink>
void unpackPacket(const std::uint8_t *packet, bool &idle, Sink &sink)
{
    const std::uint8_t cin = packetCin(packet);
    const std::uint8_t count = cinByteCount[cin];
    if (count == 0)
        return;
    const bool sysExPart = cin == CinSysExContinue || cin == CinSysExEnd2 || cin == CinSysExEnd3;
    if (sysExPart && idle && packet[1] != 0xF0)
        sink.push(0xF0);
    bool closeAfterSingle = false;
    if (cin == CinSysExEnd1) {
        const bool otherStatus = (packet[1] & 0x80) && packet[1] != 0xF7;
        if (!otherStatus && idle && packet[1] != 0xF0)
            sink.push(0xF0);
        closeAfterSingle = !(packet[1] & 0x80) || packet[1] == 0xF0;
    }
    for (std::uint8_t i = 1; i <= count; ++i)
        sink.push(packet[i]);
    switch (cin) {
    case CinSysExContinue:
        idle = false;
        break;
    case CinSysExEnd1:
        idle = true;
        if (closeAfterSingle)
            sink.push(0xF7);
        break;
    case CinSysExEnd2:
        idle = true;
        if (packet[2] != 0xF7)
            sink.push(0xF7);
        break;
    case CinSysExEnd3:
        idle = true;
        if (packet[3] != 0xF7)
            sink.push(0xF7);
        break;
    case CinSingleByte:
        if (packet[1] < 0xF8)
            idle = true;
        break;
    default:
        idle = true;
        break;
    }
}

} // namespace ZelReference
