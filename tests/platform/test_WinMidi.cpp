#include "platform/win/WinMidi.h"

#include <gtest/gtest.h>

#include <string>

using namespace Platform;

namespace {

void ignoreIn(MidiInHandle, unsigned, std::uintptr_t, std::uintptr_t, std::uintptr_t) {}
void ignoreOut(MidiOutHandle, unsigned, std::uintptr_t, std::uintptr_t, std::uintptr_t) {}

// The system's own multimedia MIDI, on a machine without MIDI devices (Wine
// with its sound drivers off).
TEST(WinMidi, WithoutDevicesItReportsNoneAndOpensNothing)
{
    WinMidi midi;
    if (midi.midiInGetNumDevs() != 0 || midi.midiOutGetNumDevs() != 0)
        GTEST_SKIP() << "this machine has MIDI devices";
    std::string name = "untouched";
    EXPECT_EQ(midi.midiInGetDevCaps(0, name), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(midi.midiOutGetDevCaps(0, name), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(name, "untouched");

    MidiInHandle in = nullptr;
    MidiOutHandle out = nullptr;
    EXPECT_EQ(midi.midiInOpen(&in, 0, &ignoreIn, 0, CALLBACK_FUNCTION), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(midi.midiOutOpen(&out, 0, &ignoreOut, 0, CALLBACK_FUNCTION), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(in, nullptr);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(midi.midiInClose(in), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(midi.midiOutReset(out), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(midi.midiOutClose(out), MMSYSERR_INVALHANDLE);
}

} // namespace
