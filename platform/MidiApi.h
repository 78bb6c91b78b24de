#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The multimedia MIDI calls the transport is written against, with their
// message codes and result values. One implementation serves the whole
// process; see MidiSelection.h for how it is chosen.
namespace Platform {

// Opaque port handles. Input and output handles are distinct types, so an
// output handle cannot reach an input call; nothing behind them is visible.
struct MidiInPortObject;
struct MidiOutPortObject;
using MidiInHandle = MidiInPortObject *;
using MidiOutHandle = MidiOutPortObject *;

using MidiInCallback = void (*)(MidiInHandle handle, unsigned message, std::uintptr_t instance, std::uintptr_t param1,
                                std::uintptr_t param2);
using MidiOutCallback = void (*)(MidiOutHandle handle, unsigned message, std::uintptr_t instance, std::uintptr_t param1,
                                 std::uintptr_t param2);

enum MidiMessageCode : unsigned {
    MIM_OPEN = 0x3C1,
    MIM_CLOSE = 0x3C2,
    MIM_DATA = 0x3C3,
    MIM_LONGDATA = 0x3C4,
    MIM_ERROR = 0x3C5,
    MIM_LONGERROR = 0x3C6,
    MOM_OPEN = 0x3C7,
    MOM_CLOSE = 0x3C8,
    MOM_DONE = 0x3C9,
    MIM_MOREDATA = 0x3CC,
};

enum MidiResult : unsigned {
    MMSYSERR_NOERROR = 0,
    MMSYSERR_ERROR = 1,
    MMSYSERR_BADDEVICEID = 2,
    MMSYSERR_ALLOCATED = 4,
    MMSYSERR_INVALHANDLE = 5,
    MMSYSERR_NODRIVER = 6,
    MMSYSERR_NOMEM = 7,
    MMSYSERR_INVALFLAG = 10,
    MMSYSERR_INVALPARAM = 11,
    MIDIERR_UNPREPARED = 64,
    MIDIERR_STILLPLAYING = 65,
    MIDIERR_NOTREADY = 67,
};

inline constexpr unsigned CALLBACK_FUNCTION = 0x30000;

enum MidiHeaderFlag : unsigned {
    MHDR_DONE = 0x1,
    MHDR_PREPARED = 0x2,
    MHDR_INQUEUE = 0x4,
};

// A long-message buffer: the caller owns the header and its data block.
struct MidiHeader {
    char *lpData = nullptr;
    std::uint32_t dwBufferLength = 0;
    std::uint32_t dwBytesRecorded = 0;
    std::uintptr_t dwUser = 0;
    std::uint32_t dwFlags = 0;
    void *reserved = nullptr; // belongs to the implementation while prepared
};

class MidiApi
{
public:
    virtual ~MidiApi() = default;

    virtual unsigned midiInGetNumDevs() = 0;
    // Fills name with the port's name (szPname).
    virtual MidiResult midiInGetDevCaps(unsigned index, std::string &name) = 0;
    virtual MidiResult midiInOpen(MidiInHandle *handle, unsigned index, MidiInCallback callback,
                                  std::uintptr_t instance, unsigned flags) = 0;
    virtual MidiResult midiInPrepareHeader(MidiInHandle handle, MidiHeader *header) = 0;
    virtual MidiResult midiInUnprepareHeader(MidiInHandle handle, MidiHeader *header) = 0;
    virtual MidiResult midiInAddBuffer(MidiInHandle handle, MidiHeader *header) = 0;
    virtual MidiResult midiInStart(MidiInHandle handle) = 0;
    // After midiInStop returns, no input callback of the port runs any more.
    virtual MidiResult midiInStop(MidiInHandle handle) = 0;
    // Returns every queued buffer through the callback with no bytes recorded.
    virtual MidiResult midiInReset(MidiInHandle handle) = 0;
    virtual MidiResult midiInClose(MidiInHandle handle) = 0;

    virtual unsigned midiOutGetNumDevs() = 0;
    virtual MidiResult midiOutGetDevCaps(unsigned index, std::string &name) = 0;
    virtual MidiResult midiOutOpen(MidiOutHandle *handle, unsigned index, MidiOutCallback callback,
                                   std::uintptr_t instance, unsigned flags) = 0;
    virtual MidiResult midiOutPrepareHeader(MidiOutHandle handle, MidiHeader *header) = 0;
    virtual MidiResult midiOutUnprepareHeader(MidiOutHandle handle, MidiHeader *header) = 0;
    // The header comes back with MOM_DONE, possibly before this returns.
    virtual MidiResult midiOutLongMsg(MidiOutHandle handle, MidiHeader *header) = 0;
    // Returns every long message not yet sent with MOM_DONE.
    virtual MidiResult midiOutReset(MidiOutHandle handle) = 0;
    virtual MidiResult midiOutClose(MidiOutHandle handle) = 0;
};

// The platform's real MIDI implementation, chosen by the build.
std::unique_ptr<MidiApi> createRealMidi();

} // namespace Platform
