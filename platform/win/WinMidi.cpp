#include "platform/win/WinMidi.h"

#include "platform/MidiHandleTable.h"

#include <cstdint>
#include <iterator>
#include <string>

// Our values of the multimedia constants, taken while the names are still
// ours: the system headers below turn the same names into macros.
// One constant list, laid out by hand (the formatter staircases an X-macro).
// clang-format off
#define VORPAD_MIDI_CONSTANTS(X)                                                                                       \
    X(MIM_OPEN) X(MIM_CLOSE) X(MIM_DATA) X(MIM_LONGDATA) X(MIM_ERROR) X(MIM_LONGERROR) X(MOM_OPEN) X(MOM_CLOSE)        \
    X(MOM_DONE) X(MIM_MOREDATA) X(MMSYSERR_NOERROR) X(MMSYSERR_ERROR) X(MMSYSERR_BADDEVICEID) X(MMSYSERR_ALLOCATED)    \
    X(MMSYSERR_INVALHANDLE) X(MMSYSERR_NODRIVER) X(MMSYSERR_NOMEM) X(MMSYSERR_INVALFLAG) X(MMSYSERR_INVALPARAM)        \
    X(MIDIERR_UNPREPARED) X(MIDIERR_STILLPLAYING) X(MIDIERR_NOTREADY) X(CALLBACK_FUNCTION) X(MHDR_DONE)               \
    X(MHDR_PREPARED) X(MHDR_INQUEUE)
// clang-format on
#define VORPAD_OURS(name) unsigned(Platform::name),
static constexpr unsigned ourConstants[] = {VORPAD_MIDI_CONSTANTS(VORPAD_OURS)};
#undef VORPAD_OURS

#include "platform/win/WinMidiSystem.h"

#define VORPAD_SYSTEMS(name) unsigned(name),
static constexpr unsigned systemConstants[] = {VORPAD_MIDI_CONSTANTS(VORPAD_SYSTEMS)};
#undef VORPAD_SYSTEMS
#undef VORPAD_MIDI_CONSTANTS

namespace Platform {

namespace {

constexpr bool sameConstants()
{
    for (std::size_t i = 0; i < std::size(ourConstants); ++i) {
        if (ourConstants[i] != systemConstants[i])
            return false;
    }
    return true;
}
static_assert(std::size(ourConstants) == std::size(systemConstants) && sameConstants(),
              "the MIDI API's message codes, results and flags are the system's");
static_assert(sizeof(std::uintptr_t) == sizeof(DWORD_PTR), "callback instances and parameters travel as DWORD_PTR");

MidiResult result(MMRESULT r) { return MidiResult(r); }

// What differs between the two directions.
struct InputSide {
    using Handle = MidiInHandle;
    using Callback = MidiInCallback;
    using System = HMIDIIN;
    using Calls = WinMidiInCalls;
    using Caps = MIDIINCAPSA;
    static const Calls &calls(const WinMidiSystem &system) { return system.in; }
};

struct OutputSide {
    using Handle = MidiOutHandle;
    using Callback = MidiOutCallback;
    using System = HMIDIOUT;
    using Calls = WinMidiOutCalls;
    using Caps = MIDIOUTCAPSA;
    static const Calls &calls(const WinMidiSystem &system) { return system.out; }
};

bool forwarded(UINT message)
{
    return message != MIM_OPEN && message != MIM_CLOSE && message != MOM_OPEN && message != MOM_CLOSE;
}

// While prepared, each of our headers has a system header beside it (in
// `reserved`) that points back to ours (in its dwUser).
MIDIHDR *shadowOf(MidiHeader *header) { return static_cast<MIDIHDR *>(header->reserved); }

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

// A header the system returns, as ours: what it recorded and whether it is done.
DWORD_PTR ownHeader(DWORD_PTR param)
{
    auto *system = reinterpret_cast<MIDIHDR *>(param);
    auto *header = reinterpret_cast<MidiHeader *>(system->dwUser);
    header->dwBytesRecorded = system->dwBytesRecorded;
    header->dwFlags = (header->dwFlags & MHDR_PREPARED) | (system->dwFlags & (MHDR_DONE | MHDR_INQUEUE));
    return reinterpret_cast<DWORD_PTR>(header);
}

// The open ports of one direction and the calls both directions share.
template <typename Side>
class Half
{
public:
    using Handle = typename Side::Handle;
    using Callback = typename Side::Callback;
    using System = typename Side::System;

    explicit Half(const typename Side::Calls &calls) : m_calls(calls) {}
    ~Half()
    {
        for (const auto &port : m_ports.releaseAll()) {
            m_calls.reset(port->system);
            m_calls.close(port->system);
        }
    }
    Half(const Half &) = delete;
    Half &operator=(const Half &) = delete;

    unsigned count() { return m_calls.getNumDevs(); }

    MidiResult name(unsigned index, std::string &name)
    {
        typename Side::Caps caps{};
        const MMRESULT r = m_calls.getDevCaps(index, &caps, sizeof caps);
        if (r == MMSYSERR_NOERROR)
            name = caps.szPname;
        return result(r);
    }

    MidiResult open(Handle *handle, unsigned index, Callback callback, std::uintptr_t instance, unsigned flags)
    {
        if (flags != CALLBACK_FUNCTION || !callback || !handle)
            return result(MMSYSERR_INVALFLAG);
        System system = nullptr;
        const MMRESULT r = m_calls.open(&system, index, reinterpret_cast<DWORD_PTR>(&Half::systemCallback),
                                        reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
        if (r != MMSYSERR_NOERROR)
            return result(r);
        const Handle fresh = m_ports.reserve();
        m_ports.adopt(fresh, std::make_unique<Port>(Port{callback, instance, system}));
        *handle = fresh;
        return result(MMSYSERR_NOERROR);
    }

    MidiResult prepare(Handle handle, MidiHeader *header)
    {
        const Port *port = m_ports.find(handle);
        if (!port)
            return result(MMSYSERR_INVALHANDLE);
        if (!header || !header->lpData)
            return result(MMSYSERR_INVALPARAM);
        MIDIHDR *system = makeShadow(header);
        const MMRESULT r = m_calls.prepare(port->system, system, sizeof *system);
        if (r == MMSYSERR_NOERROR)
            header->dwFlags |= MHDR_PREPARED;
        else
            dropShadow(header);
        return result(r);
    }

    MidiResult unprepare(Handle handle, MidiHeader *header)
    {
        const Port *port = m_ports.find(handle);
        if (!port)
            return result(MMSYSERR_INVALHANDLE);
        if (!header || !shadowOf(header))
            return result(MMSYSERR_INVALPARAM);
        const MMRESULT r = m_calls.unprepare(port->system, shadowOf(header), sizeof(MIDIHDR));
        if (r == MMSYSERR_NOERROR) {
            header->dwFlags &= ~MHDR_PREPARED;
            dropShadow(header);
        }
        return result(r);
    }

    // A call that takes a prepared header: its shadow goes to the system.
    template <typename Call>
    MidiResult withHeader(Handle handle, MidiHeader *header, Call call)
    {
        const Port *port = m_ports.find(handle);
        if (!port)
            return result(MMSYSERR_INVALHANDLE);
        if (!header || !shadowOf(header))
            return result(MIDIERR_UNPREPARED);
        return result(call(port->system, shadowOf(header), UINT(sizeof(MIDIHDR))));
    }

    template <typename Call>
    MidiResult onPort(Handle handle, Call call)
    {
        const Port *port = m_ports.find(handle);
        return port ? result(call(port->system)) : result(MMSYSERR_INVALHANDLE);
    }

    // A close that finds buffers still queued returns them and tries again;
    // whatever the system answers, the port is released here.
    MidiResult close(Handle handle)
    {
        const Port *port = m_ports.find(handle);
        if (!port)
            return result(MMSYSERR_INVALHANDLE);
        MMRESULT r = m_calls.close(port->system);
        if (r == MIDIERR_STILLPLAYING) {
            m_calls.reset(port->system);
            r = m_calls.close(port->system);
        }
        m_ports.release(handle);
        return result(r);
    }

    const typename Side::Calls &calls() const { return m_calls; }

private:
    struct Port {
        Callback callback;
        std::uintptr_t instance;
        System system;
    };

    static void CALLBACK systemCallback(HANDLE system, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                                        DWORD_PTR param2)
    {
        if (!forwarded(message))
            return;
        auto *half = reinterpret_cast<Half *>(instance);
        Handle handle = nullptr;
        Port port{};
        const bool open = half->m_ports.any([&](Handle candidate, const Port &p) {
            if (p.system != static_cast<System>(system))
                return false;
            handle = candidate;
            port = p;
            return true;
        });
        if (!open)
            return; // a port released after its close failed
        if ((message == MIM_LONGDATA || message == MIM_LONGERROR || message == MOM_DONE) && param1)
            param1 = ownHeader(param1);
        port.callback(handle, message, port.instance, param1, param2);
    }

    typename Side::Calls m_calls;
    MidiHandleTable<Port, Handle> m_ports;
};

} // namespace

struct WinMidi::Halves {
    explicit Halves(const WinMidiSystem &system) : in(system.in), out(system.out) {}
    Half<InputSide> in;
    Half<OutputSide> out;
};

WinMidi::WinMidi() : WinMidi(WinMidiSystem::real()) {}

WinMidi::WinMidi(const WinMidiSystem &system) : d(std::make_unique<Halves>(system)) {}

WinMidi::~WinMidi() = default;

unsigned WinMidi::midiInGetNumDevs() { return d->in.count(); }

MidiResult WinMidi::midiInGetDevCaps(unsigned index, std::string &name) { return d->in.name(index, name); }

MidiResult WinMidi::midiInOpen(MidiInHandle *handle, unsigned index, MidiInCallback callback, std::uintptr_t instance,
                               unsigned flags)
{
    return d->in.open(handle, index, callback, instance, flags);
}

MidiResult WinMidi::midiInPrepareHeader(MidiInHandle handle, MidiHeader *header)
{
    return d->in.prepare(handle, header);
}

MidiResult WinMidi::midiInUnprepareHeader(MidiInHandle handle, MidiHeader *header)
{
    return d->in.unprepare(handle, header);
}

MidiResult WinMidi::midiInAddBuffer(MidiInHandle handle, MidiHeader *header)
{
    return d->in.withHeader(handle, header, [this](HMIDIIN system, MIDIHDR *shadow, UINT size) {
        shadow->dwBytesRecorded = 0;
        return d->in.calls().addBuffer(system, shadow, size);
    });
}

MidiResult WinMidi::midiInStart(MidiInHandle handle) { return d->in.onPort(handle, d->in.calls().start); }

MidiResult WinMidi::midiInStop(MidiInHandle handle) { return d->in.onPort(handle, d->in.calls().stop); }

MidiResult WinMidi::midiInReset(MidiInHandle handle) { return d->in.onPort(handle, d->in.calls().reset); }

MidiResult WinMidi::midiInClose(MidiInHandle handle) { return d->in.close(handle); }

unsigned WinMidi::midiOutGetNumDevs() { return d->out.count(); }

MidiResult WinMidi::midiOutGetDevCaps(unsigned index, std::string &name) { return d->out.name(index, name); }

MidiResult WinMidi::midiOutOpen(MidiOutHandle *handle, unsigned index, MidiOutCallback callback,
                                std::uintptr_t instance, unsigned flags)
{
    return d->out.open(handle, index, callback, instance, flags);
}

MidiResult WinMidi::midiOutPrepareHeader(MidiOutHandle handle, MidiHeader *header)
{
    return d->out.prepare(handle, header);
}

MidiResult WinMidi::midiOutUnprepareHeader(MidiOutHandle handle, MidiHeader *header)
{
    return d->out.unprepare(handle, header);
}

MidiResult WinMidi::midiOutLongMsg(MidiOutHandle handle, MidiHeader *header)
{
    return d->out.withHeader(handle, header, d->out.calls().longMsg);
}

MidiResult WinMidi::midiOutReset(MidiOutHandle handle) { return d->out.onPort(handle, d->out.calls().reset); }

MidiResult WinMidi::midiOutClose(MidiOutHandle handle) { return d->out.close(handle); }

std::unique_ptr<MidiApi> createRealMidi() { return std::make_unique<WinMidi>(); }

} // namespace Platform
