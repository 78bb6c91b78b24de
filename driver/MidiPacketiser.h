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

// A message that repeats under one status, as packetiseRun() takes it: the
// packet's header and status (`base`), its MIDI bytes from byte `start` to
// byte `end` - 1 of the packet, the last `end` - `start` of them data bytes.
struct PacketRun {
    std::uint32_t base;
    std::uint32_t start;
    std::uint32_t end;
    ParserState first; // the state before the first data byte
};

// The states packetiseRun() continues.
inline constexpr std::uint32_t RunStates =
    1 << int(ParserState::ChannelFirst) | 1 << int(ParserState::ChannelSecond) | 1 << int(ParserState::ChannelSingle) |
    1 << int(ParserState::SysEx) | 1 << int(ParserState::CommonSingle) | 1 << int(ParserState::SongPositionLsb) |
    1 << int(ParserState::SongPositionMsb) | 1 << int(ParserState::UndefinedRepeat);

inline bool continuesRun(ParserState state) { return RunStates >> int(state) & 1; }

// The run a state of RunStates continues.
inline PacketRun packetRun(ParserState state, std::uint8_t status, std::uint32_t head)
{
    using S = ParserState;
    const std::uint32_t channel = head | status >> 4 | std::uint32_t{status} << 8;
    switch (state) {
    case S::ChannelFirst:
    case S::ChannelSecond:
        return {channel, 2, 4, S::ChannelFirst};
    case S::ChannelSingle:
        return {channel, 2, 3, state};
    case S::SysEx:
        return {head | CinSysExContinue, 1, 4, state};
    case S::CommonSingle:
        return {head | CinTwoByteCommon | std::uint32_t{status} << 8, 2, 3, state};
    case S::SongPositionLsb:
    case S::SongPositionMsb:
        return {head | CinThreeByteCommon | 0xF2u << 8, 2, 4, S::SongPositionLsb};
    default: // UndefinedRepeat
        return {head | CinSingleByte, 1, 2, state};
    }
}

// What a channel status or F0 starts, by the high nibble's low 3 bits.
struct MessageStart {
    std::uint8_t cin;
    std::uint8_t start;
    std::uint8_t end;
    ParserState state;
};

inline constexpr MessageStart messageStarts[8] = {
    {CinNoteOff, 2, 4, ParserState::ChannelFirst},        {CinNoteOn, 2, 4, ParserState::ChannelFirst},
    {CinPolyPressure, 2, 4, ParserState::ChannelFirst},   {CinControlChange, 2, 4, ParserState::ChannelFirst},
    {CinProgramChange, 2, 3, ParserState::ChannelSingle}, {CinChannelPressure, 2, 3, ParserState::ChannelSingle},
    {CinPitchBend, 2, 4, ParserState::ChannelFirst},      {CinSysExContinue, 1, 4, ParserState::SysEx},
};

// The bulk of packetise(): messages that start with a channel status or F0,
// their data bytes 1 to 3 per packet, and real-time bytes anywhere, until a
// byte of another kind or fewer than 4 bytes remain. The packet being filled
// lives in a register (`cur`, its MIDI bytes before byte `end` - `need`);
// each step loads the next 4 input bytes, and when the bytes the packet lacks
// are all data bytes, stores the packet in one go: one branch per packet,
// taken the same way for as long as the message runs. Returns the index of
// the first byte not taken.
template <class Sink>
std::uint32_t packetiseRun(MidiByteParser &parser, bool &idle, std::uint32_t head, const std::uint8_t *bytes,
                           std::uint32_t i, std::uint32_t count, Sink &sink)
{
    ParserState state = parser.m_state;
    std::uint8_t status = parser.m_status;
    PacketRun run = packetRun(state, status, head);
    std::uint32_t pos = run.start;
    std::uint32_t cur = run.base;
    if (state == ParserState::SysEx) {
        pos += parser.m_pendingCount;
        cur |= (parser.m_pending[0] | parser.m_pending[1] << 8) << 8 & ~(~0u << 8 * pos);
    } else if (state == ParserState::ChannelSecond || state == ParserState::SongPositionMsb) {
        pos = 3;
        cur |= std::uint32_t{parser.m_data1} << 16;
    }
    std::uint32_t endMask = ~0u >> (32 - 8 * run.end);
    std::uint32_t startField = endMask & ~0u << 8 * run.start;
    std::uint32_t field = endMask & ~0u << 8 * pos;
    std::uint32_t need = run.end - pos;
    const std::uint32_t lastWord = count - 4; // the caller leaves 4 bytes or more
    std::uint8_t *at = sink.at;
    std::uint8_t *room = sink.end;
    const auto leave = [&] {
        sink.at = at;
        parser.m_state = state;
        parser.m_status = status;
        const std::uint32_t pos = run.end - need;
        if (state == ParserState::SysEx) {
            parser.m_pendingCount = static_cast<std::uint8_t>(pos - 1);
            parser.m_pending[0] = static_cast<std::uint8_t>(cur >> 8);
            parser.m_pending[1] = static_cast<std::uint8_t>(cur >> 16);
        } else if (state != ParserState::SysExEnded && run.end - run.start == 2) {
            parser.m_state = static_cast<ParserState>(int(run.first) + int(pos - run.start));
            parser.m_data1 = static_cast<std::uint8_t>(cur >> 16);
        }
        return i;
    };
    while (i <= lastWord) {
        // Whole packets while the bytes they lack are data bytes: one
        // branch each, taken the same way for as long as the message runs.
        std::uint32_t shifted = loadWord(bytes + i) << 8 * (run.end - need);
        while ((shifted & field & 0x80808080) == 0) {
            storeWord(at, cur | (shifted & field));
            at += PacketSize;
            i += need;
            cur = run.base;
            field = startField;
            need = run.end - run.start;
            if (at == room) {
                sink.at = at;
                sink.full();
                at = sink.at;
                room = sink.end;
                if (at == room)
                    return leave();
            }
            if (i > lastWord)
                return leave();
            shifted = loadWord(bytes + i) << 8 * run.start;
        }
        // The data bytes before the first other byte wait in the packet.
        const std::uint32_t stop = static_cast<std::uint32_t>(std::countr_zero(shifted & field & 0x80808080)) / 8;
        cur |= shifted & field & ~(~0u << 8 * stop);
        i += need - (run.end - stop);
        need = run.end - stop;
        field = endMask & ~0u << 8 * stop;
        std::uint8_t byte = bytes[i];
        if (byte >= 0xF8) {
            // Real time: may fall anywhere, changes nothing, leaves at once.
            ++i;
            sink.at = at;
            appendPacket(sink, static_cast<std::uint8_t>(head | CinSingleByte), byte, 0, 0);
            sink.submitNow();
            at = sink.at;
            room = sink.end;
            if (at == room)
                return leave();
            continue;
        }
        if (byte == 0xF7 && state == ParserState::SysEx) {
            // The end of exclusive goes with the bytes still pending.
            const std::uint32_t last = run.end - need;
            storeWord(at, (cur & ~0xFu) | sysExEndCin[last] | 0xF7u << 8 * last);
            at += PacketSize;
            ++i;
            idle = true;
            state = ParserState::SysExEnded;
            if (at == room) {
                sink.at = at;
                sink.full();
                at = sink.at;
                room = sink.end;
            }
            if (at == room || i == count)
                return leave();
            byte = bytes[i];
        }
        // A new message: a channel status or F0, on from its first byte,
        // without a branch on which.
        if (byte < 0x80 || byte > 0xF0)
            return leave();
        ++i;
        const MessageStart next = messageStarts[byte >> 4 & 7];
        const bool sysExStart = byte == 0xF0;
        idle = idle && !sysExStart;
        status = sysExStart ? status : byte;
        state = next.state;
        cur = head | next.cin | std::uint32_t{byte} << 8;
        run = {sysExStart ? head | CinSysExContinue : cur, next.start, next.end, next.state};
        need = next.end - 2;
        endMask = ~0u >> (32 - 8 * run.end);
        startField = endMask & ~0u << 8 * run.start;
        field = endMask & ~0u << 8 * (run.end - need);
    }
    return leave();
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
        // next data byte clears the flag.
        if (count - i >= 4 && continuesRun(parser.m_state) && !(parser.m_state == S::SysEx && idle)) {
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
