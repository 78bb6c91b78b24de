#pragma once

#include "driver/MidiByteParser.h"
#include "driver/UsbMidiPacket.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

// The two conversions of the data path, written against small sinks so the
// driver's cables and FIFOs, the tests and the developer tool share them.
namespace Zel {

// Four bytes as a little-endian word, in one access each way.
inline std::uint32_t loadWord(const std::uint8_t *at)
{
    std::uint32_t word;
    std::memcpy(&word, at, sizeof word);
    if constexpr (std::endian::native == std::endian::big)
        word = __builtin_bswap32(word);
    return word;
}

inline void storeWord(std::uint8_t *at, std::uint32_t word)
{
    if constexpr (std::endian::native == std::endian::big)
        word = __builtin_bswap32(word);
    std::memcpy(at, &word, sizeof word);
}

// Output sink of packetise(): room for whole packets from `at` up to `end`.
//   full():      `at` has reached `end`: hand the packets on and point at new
//                room (at == end when there is none);
//   submitNow(): a real-time message leaves at once instead of waiting for
//                the batch; point at new room as for full().
// Every byte makes at most one packet, so a byte is taken only while there is
// room for one.
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

// The states packetiseRun() continues.
inline constexpr std::uint32_t RunStates =
    1 << int(ParserState::ChannelFirst) | 1 << int(ParserState::ChannelSecond) | 1 << int(ParserState::ChannelSingle) |
    1 << int(ParserState::SysEx) | 1 << int(ParserState::CommonSingle) | 1 << int(ParserState::SongPositionLsb) |
    1 << int(ParserState::SongPositionMsb) | 1 << int(ParserState::UndefinedRepeat);

inline bool continuesRun(ParserState state) { return RunStates >> int(state) & 1; }

// A message that repeats under one status, as packetiseRun() takes it: the
// packet a repeat starts from (header, and the status where it repeats) and
// the mask of the data bytes such a packet takes. The code index in `base`
// tells the run's kind.
struct PacketRun {
    std::uint32_t base;
    std::uint32_t field;
};

// The run a state of RunStates continues.
inline PacketRun packetRun(ParserState state, std::uint8_t status, std::uint32_t head)
{
    using S = ParserState;
    const std::uint32_t channel = head | status >> 4 | std::uint32_t{status} << 8;
    switch (state) {
    case S::ChannelFirst:
    case S::ChannelSecond:
        return {channel, 0xFFFF0000};
    case S::ChannelSingle:
        return {channel, 0x00FF0000};
    case S::SysEx:
        return {head | CinSysExContinue, 0xFFFFFF00};
    case S::CommonSingle:
        return {head | CinTwoByteCommon | std::uint32_t{status} << 8, 0x00FF0000};
    case S::SongPositionLsb:
    case S::SongPositionMsb:
        return {head | CinThreeByteCommon | 0xF2u << 8, 0xFFFF0000};
    default: // UndefinedRepeat
        return {head | CinSingleByte, 0x0000FF00};
    }
}

// What a channel status or F0 starts, by the high nibble's low 3 bits: its
// code index, the bytes of `cur` that stay in `base`, the data bytes of a
// packet and their count. Either way the first data byte goes to byte 2.
struct MessageStart {
    std::uint32_t field;
    std::uint16_t keep;
    std::uint8_t cin;
    std::uint8_t step;
};

inline constexpr MessageStart messageStarts[8] = {
    {0xFFFF0000, 0xFFFF, CinNoteOff, 2},       {0xFFFF0000, 0xFFFF, CinNoteOn, 2},
    {0xFFFF0000, 0xFFFF, CinPolyPressure, 2},  {0xFFFF0000, 0xFFFF, CinControlChange, 2},
    {0x00FF0000, 0xFFFF, CinProgramChange, 1}, {0x00FF0000, 0xFFFF, CinChannelPressure, 1},
    {0xFFFF0000, 0xFFFF, CinPitchBend, 2},     {0xFFFFFF00, 0x00FF, CinSysExContinue, 3},
};

// The parser's state where packetiseRun() stops: after an F7 (`ended`) with
// the next byte at `next`, else inside `run` with the packet `cur` lacking the
// bytes of `field`, input byte `origin` + n at its byte n. Returns the index
// of the first byte not taken.
inline std::uint32_t leaveRun(MidiByteParser &parser, PacketRun run, std::uint32_t cur, std::uint32_t field,
                              std::uint32_t origin, bool ended, std::uint32_t next)
{
    if (ended) {
        parser.m_state = ParserState::SysExEnded;
        parser.m_pendingCount = 0;
        return next;
    }
    const std::uint32_t pos = static_cast<std::uint32_t>(std::countr_zero(field)) / 8;
    const bool second = pos == 3 && run.field == 0xFFFF0000; // the first of two data bytes waits
    parser.m_data1 = static_cast<std::uint8_t>(cur >> 16);
    switch (run.base & 0xF) {
    case CinSysExContinue:
        parser.m_state = ParserState::SysEx;
        parser.m_pendingCount = static_cast<std::uint8_t>(pos - 1);
        parser.m_pending[0] = static_cast<std::uint8_t>(cur >> 8);
        parser.m_pending[1] = static_cast<std::uint8_t>(cur >> 16);
        break;
    case CinSingleByte:
        parser.m_state = ParserState::UndefinedRepeat;
        break;
    case CinThreeByteCommon:
        parser.m_state = second ? ParserState::SongPositionMsb : ParserState::SongPositionLsb;
        break;
    case CinTwoByteCommon:
        parser.m_status = static_cast<std::uint8_t>(run.base >> 8);
        parser.m_state = ParserState::CommonSingle;
        break;
    default:
        parser.m_status = static_cast<std::uint8_t>(run.base >> 8);
        parser.m_state = run.field != 0xFFFF0000 ? ParserState::ChannelSingle
                         : second                ? ParserState::ChannelSecond
                                                 : ParserState::ChannelFirst;
        break;
    }
    return origin + pos;
}

// The bulk of packetise(): messages that start with a channel status or F0,
// their data bytes 1 to 3 per packet, real-time bytes anywhere, until a byte
// of another kind or fewer than 4 bytes remain. The packet being filled lives
// in a register (`cur`); `field` masks the data bytes it still lacks, and
// input byte `origin` + n belongs at byte n of it, so one load of 4 bytes
// serves whatever the packet lacks. When those bytes are all data bytes the
// packet is stored in one go: one branch per packet, taken the same way for
// as long as the message runs. At any other byte one branch tells real time
// (the sink must hear of it) and one the F7 that ends System Exclusive; the
// next message, channel status or F0, starts from a table without a branch on
// its kind. Returns the index of the first byte not taken. Needs `i` >= 3, so
// that the origin of a packet under way lies inside `bytes`.
template <class Sink>
std::uint32_t packetiseRun(MidiByteParser &parser, bool &idle, std::uint32_t head, const std::uint8_t *bytes,
                           std::uint32_t i, std::uint32_t count, Sink &sink)
{
    const PacketRun run = packetRun(parser.m_state, parser.m_status, head);
    std::uint32_t base = run.base;
    std::uint32_t startField = run.field;
    std::uint32_t step = static_cast<std::uint32_t>(std::popcount(startField)) / 8;
    std::uint32_t cur = base;
    std::uint32_t field = startField;
    if (parser.m_state == ParserState::SysEx) {
        const std::uint32_t pending = parser.m_pendingCount;
        cur |= (parser.m_pending[0] | parser.m_pending[1] << 8) << 8 & ~(~0u << 8 * pending) << 8;
        field &= ~0u << 8 * (pending + 1);
    } else if (parser.m_state == ParserState::ChannelSecond || parser.m_state == ParserState::SongPositionMsb) {
        cur |= std::uint32_t{parser.m_data1} << 16;
        field = 0xFF000000;
    }
    std::uint32_t origin = i - static_cast<std::uint32_t>(std::countr_zero(field)) / 8;
    std::uint32_t streamIdle = idle;
    const std::uint32_t lastWord = count - 4; // the caller leaves 4 bytes or more
    std::uint8_t *at = sink.at;
    std::uint8_t *room = sink.end;
    // Hands the state back, the packet under way or, after an F7 (`ended`),
    // the next byte at `next`.
    const auto leave = [&](bool ended, std::uint32_t next) {
        sink.at = at;
        idle = streamIdle;
        return leaveRun(parser, {base, startField}, cur, field, origin, ended, next);
    };
    while (origin <= lastWord) {
        // Whole packets while the bytes they lack are data bytes.
        std::uint32_t word = loadWord(bytes + origin);
        std::uint32_t stops = word & field & 0x80808080;
        if (stops == 0) {
            do {
                storeWord(at, cur | (word & field));
                at += PacketSize;
                origin += step;
                cur = base;
                field = startField;
                if (at == room) {
                    sink.at = at;
                    sink.full();
                    at = sink.at;
                    room = sink.end;
                    if (at == room)
                        return leave(false, 0);
                }
                if (origin > lastWord)
                    return leave(false, 0);
                word = loadWord(bytes + origin);
                stops = word & field & 0x80808080;
            } while (stops == 0);
        }
        // The data bytes before the first other byte wait in the packet.
        const std::uint32_t below = ((stops & (0u - stops)) >> 7) - 1;
        cur |= word & field & below;
        field &= ~below;
        const std::uint32_t shift = static_cast<std::uint32_t>(std::countr_zero(stops)) & ~7u;
        const std::uint32_t byte = word >> shift & 0xFF;
        if (byte >= 0xF8) {
            // Real time: may fall anywhere, changes nothing, leaves at once.
            storeWord(at, (base & 0xF0) | CinSingleByte | byte << 8);
            sink.at = at + PacketSize;
            ++origin;
            if (sink.at == room)
                sink.full();
            sink.submitNow();
            at = sink.at;
            room = sink.end;
            if (at == room)
                return leave(false, 0);
            continue;
        }
        // An F7 inside System Exclusive goes with the bytes still pending,
        // under code index 4 + their count with the F7.
        std::uint32_t next = origin + shift / 8;
        bool ends = false;
        if (byte == 0xF7 && (base & 0xF) == CinSysExContinue) {
            storeWord(at, (cur + shift / 8) | 0xF7u << shift);
            at += PacketSize;
            streamIdle = true;
            ends = true;
            ++next;
            if (at == room) {
                sink.at = at;
                sink.full();
                at = sink.at;
                room = sink.end;
                if (at == room)
                    return leave(true, next);
            }
            if (next == count)
                return leave(true, next);
        }
        // A new message: a channel status or F0, on from its first byte,
        // without a branch on which.
        const std::uint32_t status = bytes[next];
        if (status - 0x80 > 0x70)
            return leave(ends, next);
        const MessageStart start = messageStarts[status >> 4 & 7];
        streamIdle &= status != 0xF0;
        cur = (base & 0xF0) | start.cin | status << 8;
        base = cur & start.keep;
        startField = start.field;
        field = start.field & 0xFFFF0000;
        step = start.step;
        origin = next - 1;
    }
    return leave(false, 0);
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
        // The run leaves the idle flag to F0 and F7; a System Exclusive
        // stream flagged idle all the same goes a byte at a time, where its
        // next data byte clears the flag. So do the first 3 bytes of a call:
        // the run loads a packet's bytes from where it would begin, up to 3
        // bytes before the next one.
        if (i >= 3 && count - i >= 4 && continuesRun(parser.m_state) && !(parser.m_state == S::SysEx && idle)) {
            i = packetiseRun(parser, idle, head, bytes, i, count, sink);
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

// What a packet adds to a stream: its MIDI bytes, an F0 in front when a
// System Exclusive part arrives while the stream is idle, an F7 behind when
// the last part of a message lacks it. Besides the code index only the kind
// of the first MIDI byte decides, and for the F7 the last byte.
enum UnpackByteKind : std::uint8_t { DataByte, SysExStartByte, SysExEndByte, StatusByte, RealTimeByte };

inline constexpr auto unpackByteKinds = [] {
    std::array<std::uint8_t, 256> kinds{};
    for (int b = 0; b < 256; ++b) {
        kinds[b] = b < 0x80    ? DataByte
                   : b == 0xF0 ? SysExStartByte
                   : b == 0xF7 ? SysExEndByte
                   : b >= 0xF8 ? RealTimeByte
                               : StatusByte;
    }
    return kinds;
}();

// One step per code index and kind of first byte, at cin * 8 + kind.
enum UnpackStep : std::uint8_t {
    StepCount = 0x03,     // MIDI bytes the packet carries
    StepStart = 0x04,     // an F0 in front while the stream is idle
    StepClose = 0x08,     // an F7 behind unless the last byte is one
    StepKeepsIdle = 0x10, // the idle flag stays as it is
    StepIdle = 0x20,      // otherwise the idle flag after it
};

inline constexpr auto unpackSteps = [] {
    std::array<std::uint8_t, 16 * 8> steps{};
    for (int cin = 0; cin < 16; ++cin) {
        for (int kind = DataByte; kind <= RealTimeByte; ++kind) {
            int step = cinByteCount[cin];
            // CIN 5 with another status byte is a one-byte common message.
            const bool part = cin >= CinSysExContinue && cin <= CinSysExEnd3 &&
                              !(cin == CinSysExEnd1 && (kind == StatusByte || kind == RealTimeByte));
            if (part && kind != SysExStartByte)
                step |= StepStart;
            if (part && cin != CinSysExContinue)
                step |= StepClose;
            if (cin == CinMisc || cin == CinCableEvent || (cin == CinSingleByte && kind == RealTimeByte))
                step |= StepKeepsIdle;
            else if (cin != CinSysExContinue)
                step |= StepIdle;
            steps[cin * 8 + kind] = static_cast<std::uint8_t>(step);
        }
    }
    return steps;
}();

// Code indexes whose packets are their MIDI bytes as they are: channel and
// system common messages, and System Exclusive parts inside a message.
inline constexpr std::uint32_t PlainMessages = 1 << CinTwoByteCommon | 1 << CinThreeByteCommon | 0x7F00;
inline constexpr std::uint32_t PlainInsideSysEx = PlainMessages | 1 << CinSysExContinue;

// A plain packet by its code index: the plain code indexes after it (bits
// 0..15) and its byte count (bits 16..).
inline constexpr auto plainSteps = [] {
    std::array<std::uint32_t, 16> steps{};
    for (std::uint32_t cin = 0; cin < 16; ++cin) {
        if (PlainInsideSysEx >> cin & 1)
            steps[cin] = (cin == CinSysExContinue ? PlainInsideSysEx : PlainMessages) | cinByteCount[cin] << 16;
    }
    return steps;
}();

// Packets from `packet` to `end`, without a branch on their kind: the F0 is
// stored always and counted only when a message starts here, the F7
// likewise. Out of line, so that the plain loop keeps its registers. Returns
// the end of the bytes written.
[[gnu::noinline]] inline std::uint8_t *unpackMixed(const std::uint8_t *packet, const std::uint8_t *end,
                                                   std::uint32_t head, std::uint32_t &idle, std::uint8_t *at)
{
    std::uint32_t streamIdle = idle;
    for (; packet != end; packet += PacketSize) {
        const std::uint32_t word = loadWord(packet);
        const std::uint32_t key = (word & 0xFF) ^ head;
        const std::uint32_t cin = key & (0u - (key < 16)); // another cable's packet: CIN 0
        const std::uint32_t step = unpackSteps[cin * 8 + unpackByteKinds[word >> 8 & 0xFF]];
        const std::uint32_t count = step & StepCount;
        const std::uint32_t start = step >> 2 & streamIdle;
        const std::uint32_t close = step >> 3 & ((word >> 8 * count & 0xFF) != 0xF7);
        streamIdle = (step >> 4 & streamIdle) | step >> 5;
        at[0] = 0xF0;
        at += start;
        storeWord(at, word >> 8);
        at[count] = 0xF7;
        at += count + close;
    }
    idle = streamIdle;
    return at;
}

// The parts of a long message follow one another: from `packet`, one of
// them, to the first packet that is not. Returns that packet.
inline const std::uint8_t *copySysExParts(const std::uint8_t *packet, const std::uint8_t *end, std::uint32_t partHeader,
                                          std::uint8_t *&at)
{
    std::uint8_t *to = at;
    do {
        storeWord(to, loadWord(packet) >> 8);
        to += 3;
        packet += PacketSize;
    } while (packet != end && packet[0] == partHeader);
    at = to;
    return packet;
}

// Bytes of packets unpacked by unpackMixed() once a packet is not plain.
inline constexpr std::ptrdiff_t MixedStretch = 8 * PacketSize;

// Input: `count` packets, those for `cable` only, into a stream's bytes at
// `out`, which has room for 5 bytes per packet. Returns the number of bytes
// written. `idle` as above. Packets of CIN 0 and 1 carry nothing.
inline std::uint32_t unpackPackets(const std::uint8_t *packets, std::uint32_t count, std::uint8_t cable, bool &idle,
                                   std::uint8_t *out)
{
    const std::uint32_t head = static_cast<std::uint32_t>(cable) << 4;
    const std::uint8_t *packet = packets;
    const std::uint8_t *const end = packets + count * PacketSize;
    std::uint8_t *at = out;
    std::uint32_t streamIdle = idle;
    while (packet != end) {
        // While the packets are plain a copy each will do: long System
        // Exclusive messages and runs of channel messages. One branch per
        // packet, taken the same way for as long as that lasts.
        std::uint32_t plain = streamIdle ? PlainMessages : PlainInsideSysEx;
        while (packet != end) {
            const std::uint32_t word = loadWord(packet);
            const std::uint32_t key = (word & 0xFF) ^ head;
            if (key > 0x0F || !(plain >> key & 1))
                break;
            if (key == CinSysExContinue) {
                packet = copySysExParts(packet, end, head | CinSysExContinue, at);
                plain = PlainInsideSysEx;
                continue;
            }
            storeWord(at, word >> 8);
            plain = plainSteps[key];
            at += plain >> 16;
            packet += PacketSize;
        }
        streamIdle = (plain & 0xFFFF) == PlainMessages;
        // Then a stretch without a branch per packet before trying again.
        const std::uint8_t *stretch = end - packet > MixedStretch ? packet + MixedStretch : end;
        at = unpackMixed(packet, stretch, head, streamIdle, at);
        packet = stretch;
    }
    idle = streamIdle;
    return static_cast<std::uint32_t>(at - out);
}

// Input: one packet, as unpackPackets() for its own cable.
inline std::uint32_t unpackPacket(const std::uint8_t *packet, bool &idle, std::uint8_t *out)
{
    return unpackPackets(packet, 1, packetCable(packet), idle, out);
}

} // namespace Zel
