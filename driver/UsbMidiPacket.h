#pragma once

#include <cstdint>

// USB-MIDI event packets: byte 0 = cable << 4 | code index number (CIN),
// bytes 1..3 = MIDI bytes, unused ones 0.
namespace Zel {

enum CodeIndex : std::uint8_t {
    CinMisc = 0x0,
    CinCableEvent = 0x1,
    CinTwoByteCommon = 0x2,
    CinThreeByteCommon = 0x3,
    CinSysExContinue = 0x4,
    CinSysExEnd1 = 0x5,
    CinSysExEnd2 = 0x6,
    CinSysExEnd3 = 0x7,
    CinNoteOff = 0x8,
    CinNoteOn = 0x9,
    CinPolyPressure = 0xA,
    CinControlChange = 0xB,
    CinProgramChange = 0xC,
    CinChannelPressure = 0xD,
    CinPitchBend = 0xE,
    CinSingleByte = 0xF,
};

inline constexpr std::uint8_t cinByteCount[16] = {0, 0, 2, 3, 3, 1, 2, 3, 3, 3, 3, 3, 2, 2, 3, 1};
// CIN of the last packet of a System Exclusive message by the bytes it carries.
inline constexpr std::uint8_t sysExEndCin[4] = {0, CinSysExEnd1, CinSysExEnd2, CinSysExEnd3};

inline constexpr std::uint32_t PacketSize = 4;
inline constexpr std::uint32_t MaxTransferSize = 128;
inline constexpr std::uint32_t MaxCables = 16;

constexpr std::uint8_t packetCable(const std::uint8_t *packet) { return packet[0] >> 4; }
constexpr std::uint8_t packetCin(const std::uint8_t *packet) { return packet[0] & 0x0F; }

} // namespace Zel
