#pragma once

#include <cstdint>

namespace Zel {

struct PacketRun;

// Where the output parser stands between two bytes of a stream. Together with
// the stored status, data byte and pending System Exclusive bytes this is all
// the parser remembers.
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

// Turns an outgoing MIDI byte stream into complete messages. System Exclusive
// bytes wait here, at most two at a time, until three make a packet; the
// conversion itself lives in MidiPacketiser.h.
class MidiByteParser
{
public:
    void reset() { *this = MidiByteParser(); }

    ParserState state() const { return m_state; }
    bool systemStatus() const { return m_state >= ParserState::SysEx; }

private:
    template <class Sink>
    friend std::uint32_t packetise(MidiByteParser &, bool &, std::uint8_t, const std::uint8_t *, std::uint32_t, Sink &);
    template <class Sink>
    friend std::uint32_t packetiseRun(MidiByteParser &, bool &, std::uint32_t, const std::uint8_t *, std::uint32_t,
                                      std::uint32_t, Sink &);
    friend std::uint32_t leaveRun(MidiByteParser &, PacketRun, std::uint32_t, std::uint32_t, std::uint32_t, bool,
                                  std::uint32_t);

    ParserState m_state = ParserState::NoStatus;
    std::uint8_t m_status = 0;
    std::uint8_t m_data1 = 0;
    std::uint8_t m_pendingCount = 0;
    std::uint8_t m_pending[2] = {};
};

} // namespace Zel
