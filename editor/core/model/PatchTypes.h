#pragma once

#include <array>
#include <cstdint>

// The controller's own byte images. Every value is a 7-bit byte, so an image
// travels inside a SysEx message unchanged.
using Byte = std::uint8_t;

// The bytes that open and close every System Exclusive message.
inline constexpr Byte SysExStart = 0xF0;
inline constexpr Byte SysExEnd = 0xF7;

inline constexpr int PatchImageSize = 352;
inline constexpr int ZonesImageSize = 64;
inline constexpr int BankSettingsSize = 17;

using PatchImage = std::array<Byte, PatchImageSize>;
using ZonesImage = std::array<Byte, ZonesImageSize>;
// Padded to a multiple of four in memory; only the first 17 bytes are ever
// copied, compared, sent or stored.
using BankSettingsRecord = std::array<Byte, 20>;

inline constexpr int NameLength = 16;
inline constexpr int ControlNameLength = 8;
inline constexpr int ControlCount = 20;
inline constexpr int ProgramChangeCount = 16;
inline constexpr int ZoneCount = 4;
inline constexpr int StoredPatchCount = 16;

enum PatchParamId : int {
    BankName = 0,
    BankCurrentPatch = 1,
    PatchName = 2,
    ChannelModeChannel = 3,
    SixteenChannelModeCC = 4,
    AdvancedMode = 5,
    ProgramChangeMasterEnable = 6,
    LoadValues = 7,
    SaveValues = 8,
    Octave = 9,
    Semitone = 10,
    NoteLatchMode = 11,
    NoteLatchLowNote = 12,
    NoteLatchHighNote = 13,
    VelocityCurve = 14,
    Control = 15,
    ProgramChange = 16,
    ZonesMasterEnable = 17,
    ZoneTransposePosition = 18,
    Zone = 19,
};

enum PatchParamField : int {
    ControlName = 0,
    ControlChannel = 1,
    ControlMode = 2,
    ControlNumber = 3,
    ControlValue = 4,
    ControlValue14 = 5,
    ProgramEnable = 6,
    ProgramNumber = 7,
    ProgramBankLsb = 8,
    ProgramBankMsb = 9,
    ZoneChannel = 10,
    ZoneLowNote = 11,
    ZoneHighNote = 12,
    ZoneTranspose = 13,
    ZoneLowVelocity = 14,
    ZoneHighVelocity = 15,
    ZoneEnable = 16,
    ZoneSendPitchWheel = 17,
    ZoneSendModWheel = 18,
    ZoneSendAftertouch = 19,
    ZoneSendSustain = 20,
    ZoneNoteLatch = 21,
    ZonePostZoneOctaveTranspose = 22,
};

// Codes of the ControlMode field.
enum ControllerMode : int {
    Mode3DMidi = 8,
    ModeNrpn = 10,
    ModeCC = 11,
    ModeChannelAftertouch = 13,
    ModePitchWheel = 14,
};

// Control indices with a role of their own; 0..15 are the knobs.
enum ControlIndex : int {
    ModWheelControl = 16,
    FootSwitchControl = 17,
    AftertouchControl = 18,
    PitchWheelControl = 19,
};
