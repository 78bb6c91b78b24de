// The multimedia MIDI calls of Windows itself, passed through. Each of our
// headers is shadowed by a system header for as long as it is prepared; the
// callbacks translate the system header back into ours. The system headers
// define our names as macros of the same values, so they come last.
#include "platform/MidiApi.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstring>
#include <memory>

namespace Platform {

namespace {

struct Port {
    MidiCallback callback;
    std::uintptr_t instance;
    HANDLE handle = nullptr;
};

MidiResult result(MMRESULT r)
{
    return MidiResult(r);
}

void CALLBACK systemCallback(HANDLE handle, UINT message, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR param2)
{
    auto *port = reinterpret_cast<Port *>(instance);
    if ((message == MIM_LONGDATA || message == MOM_DONE) && param1) {
        auto *system = reinterpret_cast<MIDIHDR *>(param1);
        auto *header = reinterpret_cast<MidiHeader *>(system->dwUser);
        header->dwBytesRecorded = system->dwBytesRecorded;
        header->dwFlags = (header->dwFlags & MHDR_PREPARED) | (system->dwFlags & (MHDR_DONE | MHDR_INQUEUE));
        param1 = reinterpret_cast<DWORD_PTR>(header);
    }
    (void)handle;
    port->callback(port, message, port->instance, param1, param2);
}

MIDIHDR *shadowOf(MidiHeader *header)
{
    return static_cast<MIDIHDR *>(header->reserved);
}

MIDIHDR *makeShadow(MidiHeader *header)
{
    auto *system = new MIDIHDR{};
    system->lpData = header->lpData;
    system->dwBufferLength = header->dwBufferLength;
    system->dwUser = reinterpret_cast<DWORD_PTR>(header);
    header->reserved = system;
    return system;
}

void dropShadow(MidiHeader *header)
{
    delete shadowOf(header);
    header->reserved = nullptr;
}

class WinMidi : public MidiApi
{
public:
    unsigned midiInGetNumDevs() override { return ::midiInGetNumDevs(); }
    MidiResult midiInGetDevCaps(unsigned index, std::string &name) override
    {
        MIDIINCAPSA caps{};
        const MMRESULT r = ::midiInGetDevCapsA(index, &caps, sizeof caps);
        if (r == MMSYSERR_NOERROR)
            name = caps.szPname;
        return result(r);
    }
    MidiResult midiInOpen(MidiHandle *handle, unsigned index, MidiCallback callback, std::uintptr_t instance,
                          unsigned flags) override
    {
        auto port = std::make_unique<Port>(Port{callback, instance});
        HMIDIIN system = nullptr;
        const MMRESULT r = ::midiInOpen(&system, index, reinterpret_cast<DWORD_PTR>(&systemCallback),
                                        reinterpret_cast<DWORD_PTR>(port.get()), flags);
        if (r != MMSYSERR_NOERROR)
            return result(r);
        port->handle = system;
        *handle = port.release();
        return result(MMSYSERR_NOERROR);
    }
    MidiResult midiInPrepareHeader(MidiHandle handle, MidiHeader *header) override
    {
        MIDIHDR *system = makeShadow(header);
        const MMRESULT r = ::midiInPrepareHeader(in(handle), system, sizeof *system);
        if (r == MMSYSERR_NOERROR)
            header->dwFlags |= MHDR_PREPARED;
        else
            dropShadow(header);
        return result(r);
    }
    MidiResult midiInUnprepareHeader(MidiHandle handle, MidiHeader *header) override
    {
        const MMRESULT r = ::midiInUnprepareHeader(in(handle), shadowOf(header), sizeof(MIDIHDR));
        if (r == MMSYSERR_NOERROR) {
            header->dwFlags &= ~MHDR_PREPARED;
            dropShadow(header);
        }
        return result(r);
    }
    MidiResult midiInAddBuffer(MidiHandle handle, MidiHeader *header) override
    {
        MIDIHDR *system = shadowOf(header);
        system->dwBytesRecorded = 0;
        return result(::midiInAddBuffer(in(handle), system, sizeof *system));
    }
    MidiResult midiInStart(MidiHandle handle) override { return result(::midiInStart(in(handle))); }
    MidiResult midiInStop(MidiHandle handle) override { return result(::midiInStop(in(handle))); }
    MidiResult midiInReset(MidiHandle handle) override { return result(::midiInReset(in(handle))); }
    MidiResult midiInClose(MidiHandle handle) override
    {
        const MMRESULT r = ::midiInClose(in(handle));
        if (r == MMSYSERR_NOERROR)
            delete static_cast<Port *>(handle);
        return result(r);
    }

    unsigned midiOutGetNumDevs() override { return ::midiOutGetNumDevs(); }
    MidiResult midiOutGetDevCaps(unsigned index, std::string &name) override
    {
        MIDIOUTCAPSA caps{};
        const MMRESULT r = ::midiOutGetDevCapsA(index, &caps, sizeof caps);
        if (r == MMSYSERR_NOERROR)
            name = caps.szPname;
        return result(r);
    }
    MidiResult midiOutOpen(MidiHandle *handle, unsigned index, MidiCallback callback, std::uintptr_t instance,
                           unsigned flags) override
    {
        auto port = std::make_unique<Port>(Port{callback, instance});
        HMIDIOUT system = nullptr;
        const MMRESULT r = ::midiOutOpen(&system, index, reinterpret_cast<DWORD_PTR>(&systemCallback),
                                         reinterpret_cast<DWORD_PTR>(port.get()), flags);
        if (r != MMSYSERR_NOERROR)
            return result(r);
        port->handle = system;
        *handle = port.release();
        return result(MMSYSERR_NOERROR);
    }
    MidiResult midiOutPrepareHeader(MidiHandle handle, MidiHeader *header) override
    {
        MIDIHDR *system = makeShadow(header);
        const MMRESULT r = ::midiOutPrepareHeader(out(handle), system, sizeof *system);
        if (r == MMSYSERR_NOERROR)
            header->dwFlags |= MHDR_PREPARED;
        else
            dropShadow(header);
        return result(r);
    }
    MidiResult midiOutUnprepareHeader(MidiHandle handle, MidiHeader *header) override
    {
        const MMRESULT r = ::midiOutUnprepareHeader(out(handle), shadowOf(header), sizeof(MIDIHDR));
        if (r == MMSYSERR_NOERROR) {
            header->dwFlags &= ~MHDR_PREPARED;
            dropShadow(header);
        }
        return result(r);
    }
    MidiResult midiOutLongMsg(MidiHandle handle, MidiHeader *header) override
    {
        return result(::midiOutLongMsg(out(handle), shadowOf(header), sizeof(MIDIHDR)));
    }
    MidiResult midiOutClose(MidiHandle handle) override
    {
        const MMRESULT r = ::midiOutClose(out(handle));
        if (r == MMSYSERR_NOERROR)
            delete static_cast<Port *>(handle);
        return result(r);
    }

private:
    static HMIDIIN in(MidiHandle handle) { return handle ? HMIDIIN(static_cast<Port *>(handle)->handle) : nullptr; }
    static HMIDIOUT out(MidiHandle handle)
    {
        return handle ? HMIDIOUT(static_cast<Port *>(handle)->handle) : nullptr;
    }
};

} // namespace

std::unique_ptr<MidiApi> createRealMidi()
{
    return std::make_unique<WinMidi>();
}

} // namespace Platform
