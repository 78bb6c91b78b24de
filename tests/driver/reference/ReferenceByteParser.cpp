#include "tests/driver/reference/ReferenceByteParser.h"

namespace ZelReference {

void MidiByteParser::reset() { *this = MidiByteParser(); }

void MidiByteParser::clearRing() { m_write = m_read = m_count = 0; }

void MidiByteParser::pushRing(std::uint8_t byte)
{
    if (m_count > RingMask)
        return; // the packetiser drains every three bytes; never reached
    m_write = (m_write + 1) & RingMask;
    m_ring[m_write] = byte;
    ++m_count;
}

std::uint8_t MidiByteParser::popRing()
{
    if (m_count == 0)
        return 0;
    m_read = (m_read + 1) & RingMask;
    --m_count;
    return m_ring[m_read];
}

std::uint8_t MidiByteParser::dropMessage()
{
    m_runningStatus = 0;
    m_lowNibble = NoMessage;
    return 0;
}

std::uint8_t MidiByteParser::feed(std::uint8_t byte)
{
    if (byte == 0xF7) {
        // An end of exclusive outside System Exclusive would travel as a data
        // byte of some other message; drop it instead.
        return insideSysEx() ? feedSysEx(byte) : 0;
    }
    return (byte & 0x80) ? feedStatus(byte) : feedData(byte);
}

std::uint8_t MidiByteParser::feedStatus(std::uint8_t byte)
{
    if (byte >= 0xF8) {
        // Real-time bytes may fall anywhere and change no state: clearing the
        // end mark here would let later stray data restart a finished message.
        return byte;
    }
    m_position = 0;
    if (byte < 0xF0) {
        m_sysExState = SysExState::None;
        m_runningStatus = byte & 0xF0;
        m_lowNibble = byte & 0x0F;
        return 0;
    }
    m_runningStatus = 0xF0;
    m_lowNibble = byte & 0x0F;
    if (byte == 0xF0) {
        m_sysExState = SysExState::Inside;
        return 0;
    }
    m_sysExState = SysExState::None;
    return byte >= 0xF4 ? byte : 0;
}

std::uint8_t MidiByteParser::feedTwoData(std::uint8_t byte, std::uint8_t result)
{
    if (m_position == 0) {
        m_data1 = byte;
        m_position = 1;
        return 0;
    }
    m_data2 = byte;
    m_position = 0;
    return result;
}

std::uint8_t MidiByteParser::feedData(std::uint8_t byte)
{
    switch (m_runningStatus) {
    case 0:
        return 0;
    case 0xC0:
    case 0xD0:
        m_data1 = byte;
        return m_runningStatus;
    case 0xF0:
        return feedSystem(byte);
    default:
        return feedTwoData(byte, m_runningStatus);
    }
}

std::uint8_t MidiByteParser::feedSystem(std::uint8_t byte)
{
    if (m_sysExState == SysExState::Ended)
        return dropMessage();
    switch (m_lowNibble) {
    case 0:
        return feedSysEx(byte);
    case 1:
    case 3:
        m_data1 = byte;
        return static_cast<std::uint8_t>(0xF0 | m_lowNibble);
    case 2:
        return feedTwoData(byte, 0xF2);
    case 4:
        if (m_position == 0) {
            m_data1 = byte;
            m_position = 1;
            return 0;
        }
        if (m_position == 1) {
            m_data2 = byte;
            m_position = 2;
            return 0xF4;
        }
        m_data1 = byte;
        m_position = 3; // stays put: every further byte is a single-byte message
        return 0xF4;
    default:
        return dropMessage();
    }
}

std::uint8_t MidiByteParser::feedSysEx(std::uint8_t byte)
{
    if (m_sysExState == SysExState::Ended)
        return dropMessage();
    if (m_position == 0) {
        clearRing();
        pushRing(0xF0);
        pushRing(byte);
        if (byte == 0xF7) {
            m_sysExState = SysExState::Ended;
            return 0xF0;
        }
        m_position = 1;
        return 0;
    }
    pushRing(byte);
    if (byte == 0xF7) {
        m_sysExState = SysExState::Ended;
        m_position = static_cast<std::uint8_t>(m_count);
        return 0xF0;
    }
    return 0;
}

} // namespace ZelReference
