#pragma once

#include "driver/UsbMidiPacket.h"

#include <cstdint>

// The driver's conversions as they were before the table-driven rewrite,
// kept verbatim so the benchmarks and script/measure-driver set the new ones
// against them in one process.
namespace ZelBaseline {

using namespace Zel;

enum class ParserState : std::uint8_t {
    NoStatus,      // no running status: data bytes are dropped
    ChannelFirst,  // 8n 9n An Bn En: the first data byte comes next
    ChannelSecond, // ... and now the second
    ChannelSingle, // Cn Dn: every data byte is a message of its own
    // The states below run under a system status (F0..F6): with the stream's
    // idle flag cleared, such a stream holds its cable.
    SysEx,           // inside System Exclusive, with 0..2 bytes pending
    SysExEnded,      // after F7: the next data byte clears the running status
    CommonSingle,    // F1 F3: every data byte is a message of its own
    SongPositionLsb, // F2: two data bytes per message
    SongPositionMsb,
    UndefinedFirst, // F4: two data bytes, then one message per data byte
    UndefinedSecond,
    UndefinedRepeat,
    DropNext, // F5 F6: the next data byte clears the running status
};

struct MidiByteParser {
    ParserState m_state = ParserState::NoStatus;
    std::uint8_t m_status = 0;
    std::uint8_t m_data1 = 0;
    std::uint8_t m_pendingCount = 0;
    std::uint8_t m_pending[2] = {};
};

template <class Sink>
inline void appendPacket(Sink &sink, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3)
{
    std::uint8_t *at = sink.at;
    at[0] = b0;
    at[1] = b1;
    at[2] = b2;
    at[3] = b3;
    sink.at = at + PacketSize;
    if (sink.at == sink.end)
        sink.full();
}

// Output: MIDI bytes of one stream through its parser into packets for
// `cable`. `idle` is the stream's "not inside System Exclusive" flag. Returns
// the number of bytes taken: all of them, unless the sink runs out of room.
template <class Sink>
std::uint32_t packetise(MidiByteParser &parser, bool &idle, std::uint8_t cable, const std::uint8_t *bytes,
                        std::uint32_t count, Sink &sink)
{
    using S = ParserState;
    const std::uint8_t head = static_cast<std::uint8_t>(cable << 4);
    std::uint32_t i = 0;
    while (i < count && sink.at != sink.end) {
        if (parser.m_state == S::SysEx && parser.m_pendingCount == 0) {
            // Whole packets straight from the input while no status byte
            // interrupts: the bulk of every long message.
            while (count - i >= 3 && sink.at != sink.end) {
                const std::uint8_t a = bytes[i];
                const std::uint8_t b = bytes[i + 1];
                const std::uint8_t c = bytes[i + 2];
                if ((a | b | c) & 0x80)
                    break;
                i += 3;
                idle = false;
                appendPacket(sink, head | CinSysExContinue, a, b, c);
            }
            if (i == count || sink.at == sink.end)
                break;
        }
        const std::uint8_t byte = bytes[i++];
        if (byte < 0x80) {
            switch (parser.m_state) {
            case S::NoStatus:
                break;
            case S::ChannelFirst:
                parser.m_data1 = byte;
                parser.m_state = S::ChannelSecond;
                break;
            case S::ChannelSecond:
                parser.m_state = S::ChannelFirst;
                appendPacket(sink, head | (parser.m_status >> 4), parser.m_status, parser.m_data1, byte);
                break;
            case S::ChannelSingle:
                appendPacket(sink, head | (parser.m_status >> 4), parser.m_status, byte, 0);
                break;
            case S::SysEx:
                idle = false;
                if (parser.m_pendingCount < 2) {
                    parser.m_pending[parser.m_pendingCount++] = byte;
                } else {
                    parser.m_pendingCount = 0;
                    appendPacket(sink, head | CinSysExContinue, parser.m_pending[0], parser.m_pending[1], byte);
                }
                break;
            case S::SysExEnded:
            case S::DropNext:
                parser.m_state = S::NoStatus;
                break;
            case S::CommonSingle:
                appendPacket(sink, head | CinTwoByteCommon, parser.m_status, byte, 0);
                break;
            case S::SongPositionLsb:
            case S::UndefinedFirst:
                parser.m_data1 = byte;
                parser.m_state = parser.m_state == S::SongPositionLsb ? S::SongPositionMsb : S::UndefinedSecond;
                break;
            case S::SongPositionMsb:
                parser.m_state = S::SongPositionLsb;
                appendPacket(sink, head | CinThreeByteCommon, 0xF2, parser.m_data1, byte);
                break;
            case S::UndefinedSecond:
                parser.m_state = S::UndefinedRepeat;
                appendPacket(sink, head | CinThreeByteCommon, 0xF4, parser.m_data1, byte);
                break;
            case S::UndefinedRepeat:
                appendPacket(sink, head | CinSingleByte, byte, 0, 0);
                break;
            }
            continue;
        }
        if (byte >= 0xF8) {
            // Real time: may fall anywhere, changes nothing, leaves at once.
            appendPacket(sink, head | CinSingleByte, byte, 0, 0);
            sink.submitNow();
            continue;
        }
        if (byte < 0xF0) {
            parser.m_status = byte;
            parser.m_state = byte >= 0xC0 && byte < 0xE0 ? S::ChannelSingle : S::ChannelFirst;
            continue;
        }
        switch (byte) {
        case 0xF0:
            idle = false;
            parser.m_state = S::SysEx;
            parser.m_pending[0] = 0xF0;
            parser.m_pendingCount = 1;
            break;
        case 0xF1:
        case 0xF3:
            parser.m_status = byte;
            parser.m_state = S::CommonSingle;
            break;
        case 0xF2:
            parser.m_state = S::SongPositionLsb;
            break;
        case 0xF4:
            parser.m_state = S::UndefinedFirst;
            break;
        case 0xF5:
            parser.m_state = S::DropNext;
            break;
        case 0xF6:
            parser.m_state = S::DropNext;
            appendPacket(sink, head | CinSysExEnd1, 0xF6, 0, 0);
            break;
        default: // 0xF7
            if (parser.m_state == S::SysEx) {
                // The end of exclusive goes with the bytes still pending.
                const std::uint8_t pending = parser.m_pendingCount;
                const std::uint8_t b1 = pending > 0 ? parser.m_pending[0] : 0xF7;
                const std::uint8_t b2 = pending > 1 ? parser.m_pending[1] : pending == 1 ? 0xF7 : 0;
                const std::uint8_t b3 = pending == 2 ? 0xF7 : 0;
                parser.m_pendingCount = 0;
                parser.m_state = S::SysExEnded;
                idle = true;
                appendPacket(sink, head | sysExEndCin[pending + 1], b1, b2, b3);
            } else if (parser.m_state == S::SysExEnded) {
                parser.m_state = S::NoStatus;
            }
            // Elsewhere it would travel as a data byte of another message: dropped.
            break;
        }
    }
    return i;
}

// Input: `count` packets, those for `cable` only, into a stream's bytes at
// `out`, which has room for 5 bytes per packet. Returns the number of bytes
// written. `idle` as above. Packets of CIN 0 and 1 carry nothing.
inline std::uint32_t unpackPackets(const std::uint8_t *packets, std::uint32_t count, std::uint8_t cable, bool &idle,
                                   std::uint8_t *out)
{
    // The flag lives in a local: stores through `out` may alias anything.
    bool streamIdle = idle;
    std::uint8_t *at = out;
    for (const std::uint8_t *packet = packets, *end = packets + count * PacketSize; packet != end;
         packet += PacketSize) {
        const std::uint8_t header = packet[0];
        if (header >> 4 != cable)
            continue;
        const std::uint8_t b1 = packet[1];
        const std::uint8_t b2 = packet[2];
        const std::uint8_t b3 = packet[3];
        switch (header & 0x0F) {
        case CinMisc:
        case CinCableEvent:
            break;
        case CinTwoByteCommon:
        case CinProgramChange:
        case CinChannelPressure:
            at[0] = b1;
            at[1] = b2;
            at += 2;
            streamIdle = true;
            break;
        case CinSysExContinue: {
            // A SysEx part seen while idle starts a message of its own.
            const bool start = streamIdle && b1 != 0xF0;
            at[0] = 0xF0;
            at += start;
            at[0] = b1;
            at[1] = b2;
            at[2] = b3;
            at += 3;
            streamIdle = false;
            break;
        }
        case CinSysExEnd1:
            if ((b1 & 0x80) && b1 != 0xF7 && b1 != 0xF0) {
                *at++ = b1; // another status byte: no message around it
            } else {
                const bool start = streamIdle && b1 != 0xF0;
                at[0] = 0xF0;
                at += start;
                at[0] = b1;
                at[1] = 0xF7;
                at += 1 + (b1 != 0xF7);
            }
            streamIdle = true;
            break;
        case CinSysExEnd2: {
            const bool start = streamIdle && b1 != 0xF0;
            at[0] = 0xF0;
            at += start;
            at[0] = b1;
            at[1] = b2;
            at[2] = 0xF7;
            at += 2 + (b2 != 0xF7);
            streamIdle = true;
            break;
        }
        case CinSysExEnd3: {
            const bool start = streamIdle && b1 != 0xF0;
            at[0] = 0xF0;
            at += start;
            at[0] = b1;
            at[1] = b2;
            at[2] = b3;
            at[3] = 0xF7;
            at += 3 + (b3 != 0xF7);
            streamIdle = true;
            break;
        }
        case CinSingleByte:
            *at++ = b1;
            if (b1 < 0xF8)
                streamIdle = true;
            break;
        default: // three-byte common and channel messages
            at[0] = b1;
            at[1] = b2;
            at[2] = b3;
            at += 3;
            streamIdle = true;
            break;
        }
    }
    idle = streamIdle;
    return static_cast<std::uint32_t>(at - out);
}

} // namespace ZelBaseline
