#pragma once

#include <cstdint>

namespace ZelReference {

// The driver's first output parser, kept as the tests' reference: one byte at
// a time, every System Exclusive byte through a 256-byte ring, as the data
// model describes it. The driver's own parser must give the same packets.
class MidiByteParser
{
public:
    enum class SysExState : std::uint8_t { None, Inside, Ended };
    // Low nibble that matches no status: data bytes are dropped.
    static constexpr std::uint32_t NoMessage = 0x12;

    // Returns the status of a completed message, or 0.
    std::uint8_t feed(std::uint8_t byte);
    void reset();

    bool insideSysEx() const { return m_runningStatus == 0xF0 && m_lowNibble == 0; }
    std::uint16_t ringCount() const { return m_count; }
    std::uint8_t popRing();

    std::uint8_t runningStatus() const { return m_runningStatus; }
    std::uint32_t lowNibble() const { return m_lowNibble; }
    std::uint8_t data1() const { return m_data1; }
    std::uint8_t data2() const { return m_data2; }
    std::uint8_t dataPosition() const { return m_position; }

private:
    static constexpr std::uint16_t RingMask = 255;

    std::uint8_t feedStatus(std::uint8_t byte);
    std::uint8_t feedData(std::uint8_t byte);
    std::uint8_t feedSystem(std::uint8_t byte);
    std::uint8_t feedSysEx(std::uint8_t byte);
    std::uint8_t feedTwoData(std::uint8_t byte, std::uint8_t result);
    std::uint8_t dropMessage();
    void clearRing();
    void pushRing(std::uint8_t byte);

    std::uint8_t m_ring[256] = {};
    std::uint16_t m_write = 0;
    std::uint16_t m_read = 0;
    std::uint16_t m_count = 0;
    std::uint8_t m_runningStatus = 0; // 0x80..0xF0, 0 = none
    std::uint32_t m_lowNibble = 0;    // channel, or the system status's low nibble
    std::uint8_t m_data1 = 0;
    std::uint8_t m_data2 = 0;
    std::uint8_t m_position = 0;
    SysExState m_sysExState = SysExState::None;
};

} // namespace ZelReference
