#pragma once

#include "platform/MidiApi.h"

#include <memory>

// The multimedia MIDI calls of Windows itself, passed through. Each of our
// headers is shadowed by a system header while it is prepared; the system's
// callbacks are translated back to our headers and handles. Our handles
// name entries in a table, so a closed handle is refused here instead of
// reaching the system, and a port is released even when the system fails
// to close it (a late callback of it then finds nothing and is dropped).
// Like the other backends it opens ports with a callback function only, and
// does not pass on the open and close notices (MIM_OPEN, MOM_CLOSE, ...).
namespace Platform {

struct WinMidiSystem;

class WinMidi : public MidiApi
{
public:
    WinMidi(); // the system's own calls
    explicit WinMidi(const WinMidiSystem &system);
    ~WinMidi() override;

    unsigned midiInGetNumDevs() override;
    MidiResult midiInGetDevCaps(unsigned index, std::string &name) override;
    MidiResult midiInOpen(MidiInHandle *handle, unsigned index, MidiInCallback callback, std::uintptr_t instance,
                          unsigned flags) override;
    MidiResult midiInPrepareHeader(MidiInHandle handle, MidiHeader *header) override;
    MidiResult midiInUnprepareHeader(MidiInHandle handle, MidiHeader *header) override;
    MidiResult midiInAddBuffer(MidiInHandle handle, MidiHeader *header) override;
    MidiResult midiInStart(MidiInHandle handle) override;
    MidiResult midiInStop(MidiInHandle handle) override;
    MidiResult midiInReset(MidiInHandle handle) override;
    MidiResult midiInClose(MidiInHandle handle) override;

    unsigned midiOutGetNumDevs() override;
    MidiResult midiOutGetDevCaps(unsigned index, std::string &name) override;
    MidiResult midiOutOpen(MidiOutHandle *handle, unsigned index, MidiOutCallback callback, std::uintptr_t instance,
                           unsigned flags) override;
    MidiResult midiOutPrepareHeader(MidiOutHandle handle, MidiHeader *header) override;
    MidiResult midiOutUnprepareHeader(MidiOutHandle handle, MidiHeader *header) override;
    MidiResult midiOutLongMsg(MidiOutHandle handle, MidiHeader *header) override;
    MidiResult midiOutReset(MidiOutHandle handle) override;
    MidiResult midiOutClose(MidiOutHandle handle) override;

    WinMidi(const WinMidi &) = delete;
    WinMidi &operator=(const WinMidi &) = delete;

private:
    struct Halves;
    std::unique_ptr<Halves> d;
};

} // namespace Platform
