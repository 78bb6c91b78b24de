#pragma once

// The system calls the Windows MIDI backend makes, one table per direction,
// so that a test can stand in for a system with ports (Wine has none).
//
// Include after platform/win/WinMidi.h: the system headers define macros
// with the names of our MIDI constants (of the same values), and
// midiInGetDevCaps/midiOutGetDevCaps as macros that would rename our methods,
// which is undone below.
#include <windows.h>

#include <mmsystem.h>

#undef midiInGetDevCaps
#undef midiOutGetDevCaps

namespace Platform {

struct WinMidiInCalls {
    UINT(WINAPI *getNumDevs)();
    MMRESULT(WINAPI *getDevCaps)(UINT_PTR index, LPMIDIINCAPSA caps, UINT size);
    MMRESULT(WINAPI *open)(LPHMIDIIN handle, UINT index, DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
    MMRESULT(WINAPI *prepare)(HMIDIIN handle, LPMIDIHDR header, UINT size);
    MMRESULT(WINAPI *unprepare)(HMIDIIN handle, LPMIDIHDR header, UINT size);
    MMRESULT(WINAPI *addBuffer)(HMIDIIN handle, LPMIDIHDR header, UINT size);
    MMRESULT(WINAPI *start)(HMIDIIN handle);
    MMRESULT(WINAPI *stop)(HMIDIIN handle);
    MMRESULT(WINAPI *reset)(HMIDIIN handle);
    MMRESULT(WINAPI *close)(HMIDIIN handle);
};

struct WinMidiOutCalls {
    UINT(WINAPI *getNumDevs)();
    MMRESULT(WINAPI *getDevCaps)(UINT_PTR index, LPMIDIOUTCAPSA caps, UINT size);
    MMRESULT(WINAPI *open)(LPHMIDIOUT handle, UINT index, DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
    MMRESULT(WINAPI *prepare)(HMIDIOUT handle, LPMIDIHDR header, UINT size);
    MMRESULT(WINAPI *unprepare)(HMIDIOUT handle, LPMIDIHDR header, UINT size);
    MMRESULT(WINAPI *longMsg)(HMIDIOUT handle, LPMIDIHDR header, UINT size);
    MMRESULT(WINAPI *reset)(HMIDIOUT handle);
    MMRESULT(WINAPI *close)(HMIDIOUT handle);
};

struct WinMidiSystem {
    WinMidiInCalls in;
    WinMidiOutCalls out;

    // The multimedia library's own functions.
    static WinMidiSystem real()
    {
        return {{&::midiInGetNumDevs, &::midiInGetDevCapsA, &::midiInOpen, &::midiInPrepareHeader,
                 &::midiInUnprepareHeader, &::midiInAddBuffer, &::midiInStart, &::midiInStop, &::midiInReset,
                 &::midiInClose},
                {&::midiOutGetNumDevs, &::midiOutGetDevCapsA, &::midiOutOpen, &::midiOutPrepareHeader,
                 &::midiOutUnprepareHeader, &::midiOutLongMsg, &::midiOutReset, &::midiOutClose}};
    }
};

} // namespace Platform
