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

template <typename Callback>
struct Port {
    Callback callback;
    std::uintptr_t instance;
    HANDLE handle = nullptr;
};
using InPort = Port<MidiInCallback>;
using OutPort = Port<MidiOutCallback>;

MidiResult result(MMRESULT r)
{
    return MidiResult(r);
}

template <typename Handle, typename Callback>
void CALLBACK systemCallback(HANDLE handle, UINT message, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR param2)
{
    auto *port = reinterpret_cast<Port<Callback> *>(instance);
    if ((message == MIM_LONGDATA || message == MOM_DONE) && param1) {
        auto *system = reinterpret_cast<MIDIHDR *>(param1);
        auto *header = reinterpret_cast<MidiHeader *>(system->dwUser);
        header->dwBytesRecorded = system->dwBytesRecorded;
        header->dwFlags = (header->dwFlags & MHDR_PREPARED) | (system->dwFlags & (MHDR_DONE | MHDR_INQUEUE));
        param1 = reinterpret_cast<DWORD_PTR>(header);
    }
    (void)handle;
    port->callback(reinterpret_cast<Handle>(port), message, port->instance, param1, param2);
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
    MidiResult midiInOpen(MidiInHandle *handle, unsigned index, MidiInCallback callback, std::uintptr_t instance,
                          unsigned flags) override
    {
        auto port = std::make_unique<InPort>(InPort{callback, instance});
        HMIDIIN system = nullptr;
        const MMRESULT r = ::midiInOpen(&system, index,
                                        reinterpret_cast<DWORD_PTR>(&systemCallback<MidiInHandle, MidiInCallback>),
                                        reinterpret_cast<DWORD_PTR>(port.get()), flags);
        if (r != MMSYSERR_NOERROR)
            return result(r);
        port->handle = system;
        *handle = reinterpret_cast<MidiInHandle>(port.release());
        return result(MMSYSERR_NOERROR);
    }
    MidiResult midiInPrepareHeader(MidiInHandle handle, MidiHeader *header) override
    {
        MIDIHDR *system = makeShadow(header);
        const MMRESULT r = ::midiInPrepareHeader(in(handle), system, sizeof *system);
        if (r == MMSYSERR_NOERROR)
            header->dwFlags |= MHDR_PREPARED;
        else
            dropShadow(header);
        return result(r);
    }
    MidiResult midiInUnprepareHeader(MidiInHandle handle, MidiHeader *header) override
    {
        const MMRESULT r = ::midiInUnprepareHeader(in(handle), shadowOf(header), sizeof(MIDIHDR));
        if (r == MMSYSERR_NOERROR) {
            header->dwFlags &= ~MHDR_PREPARED;
            dropShadow(header);
        }
        return result(r);
    }
    MidiResult midiInAddBuffer(MidiInHandle handle, MidiHeader *header) override
    {
        MIDIHDR *system = shadowOf(header);
        system->dwBytesRecorded = 0;
        return result(::midiInAddBuffer(in(handle), system, sizeof *system));
    }
    MidiResult midiInStart(MidiInHandle handle) override { return result(::midiInStart(in(handle))); }
    MidiResult midiInStop(MidiInHandle handle) override { return result(::midiInStop(in(handle))); }
    MidiResult midiInReset(MidiInHandle handle) override { return result(::midiInReset(in(handle))); }
    MidiResult midiInClose(MidiInHandle handle) override
    {
        const MMRESULT r = ::midiInClose(in(handle));
        if (r == MMSYSERR_NOERROR)
            delete reinterpret_cast<InPort *>(handle);
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
    MidiResult midiOutOpen(MidiOutHandle *handle, unsigned index, MidiOutCallback callback,
                           std::uintptr_t instance, unsigned flags) override
    {
        auto port = std::make_unique<OutPort>(OutPort{callback, instance});
        HMIDIOUT system = nullptr;
        const MMRESULT r = ::midiOutOpen(&system, index,
                                         reinterpret_cast<DWORD_PTR>(&systemCallback<MidiOutHandle, MidiOutCallback>),
                                         reinterpret_cast<DWORD_PTR>(port.get()), flags);
        if (r != MMSYSERR_NOERROR)
            return result(r);
        port->handle = system;
        *handle = reinterpret_cast<MidiOutHandle>(port.release());
        return result(MMSYSERR_NOERROR);
    }
    MidiResult midiOutPrepareHeader(MidiOutHandle handle, MidiHeader *header) override
    {
        MIDIHDR *system = makeShadow(header);
        const MMRESULT r = ::midiOutPrepareHeader(out(handle), system, sizeof *system);
        if (r == MMSYSERR_NOERROR)
            header->dwFlags |= MHDR_PREPARED;
        else
            dropShadow(header);
        return result(r);
    }
    MidiResult midiOutUnprepareHeader(MidiOutHandle handle, MidiHeader *header) override
    {
        const MMRESULT r = ::midiOutUnprepareHeader(out(handle), shadowOf(header), sizeof(MIDIHDR));
        if (r == MMSYSERR_NOERROR) {
            header->dwFlags &= ~MHDR_PREPARED;
            dropShadow(header);
        }
        return result(r);
    }
    MidiResult midiOutLongMsg(MidiOutHandle handle, MidiHeader *header) override
    {
        return result(::midiOutLongMsg(out(handle), shadowOf(header), sizeof(MIDIHDR)));
    }
    MidiResult midiOutClose(MidiOutHandle handle) override
    {
        const MMRESULT r = ::midiOutClose(out(handle));
        if (r == MMSYSERR_NOERROR)
            delete reinterpret_cast<OutPort *>(handle);
        return result(r);
    }

private:
    static HMIDIIN in(MidiInHandle handle)
    {
        return handle ? HMIDIIN(reinterpret_cast<InPort *>(handle)->handle) : nullptr;
    }
    static HMIDIOUT out(MidiOutHandle handle)
    {
        return handle ? HMIDIOUT(reinterpret_cast<OutPort *>(handle)->handle) : nullptr;
    }
};

} // namespace

std::unique_ptr<MidiApi> createRealMidi()
{
    return std::make_unique<WinMidi>();
}

} // namespace Platform
