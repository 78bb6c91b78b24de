#include "platform/sim/SimMidi.h"

#include "platform/MidiInputQueue.h"

namespace Platform {

struct SimMidi::Input {
    Input(unsigned i, SimMidiEndpoint &e, MidiCallback callback, std::uintptr_t instance)
        : index(i)
        , endpoint(e)
        , queue(this, callback, instance)
    {
    }
    unsigned index;
    SimMidiEndpoint &endpoint;
    MidiInputQueue queue;
};

struct SimMidi::Output {
    SimMidiEndpoint &endpoint;
    MidiCallback callback;
    std::uintptr_t instance;
};

namespace {

MidiResult prepare(MidiHandle handle, MidiHeader *header)
{
    if (!handle)
        return MMSYSERR_INVALHANDLE;
    if (!header || !header->lpData)
        return MMSYSERR_INVALPARAM;
    header->dwFlags |= MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MidiResult unprepare(MidiHandle handle, MidiHeader *header)
{
    if (!handle)
        return MMSYSERR_INVALHANDLE;
    if (!header)
        return MMSYSERR_INVALPARAM;
    if (header->dwFlags & MHDR_INQUEUE)
        return MIDIERR_STILLPLAYING;
    header->dwFlags &= ~MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

} // namespace

SimMidi::SimMidi(std::vector<std::shared_ptr<SimMidiEndpoint>> endpoints)
    : m_endpoints(std::move(endpoints))
    , m_inputOpen(m_endpoints.size(), false)
{
}

SimMidi::~SimMidi() = default;

MidiResult SimMidi::name(unsigned index, std::string &name) const
{
    if (index >= m_endpoints.size())
        return MMSYSERR_BADDEVICEID;
    name = m_endpoints[index]->portName();
    return MMSYSERR_NOERROR;
}

unsigned SimMidi::midiInGetNumDevs()
{
    return unsigned(m_endpoints.size());
}

MidiResult SimMidi::midiInGetDevCaps(unsigned index, std::string &name)
{
    return this->name(index, name);
}

MidiResult SimMidi::midiInOpen(MidiHandle *handle, unsigned index, MidiCallback callback, std::uintptr_t instance,
                               unsigned flags)
{
    if (flags != CALLBACK_FUNCTION || !callback || !handle)
        return MMSYSERR_INVALFLAG;
    if (index >= m_endpoints.size())
        return MMSYSERR_BADDEVICEID;
    {
        std::lock_guard lock(m_mutex);
        if (m_inputOpen[index])
            return MMSYSERR_ALLOCATED;
        m_inputOpen[index] = true;
    }
    auto *input = new Input(index, *m_endpoints[index], callback, instance);
    const MidiResult opened = input->endpoint.openInput(
        [input](const std::uint8_t *data, std::size_t length) { input->queue.feedLongData(data, length); });
    if (opened != MMSYSERR_NOERROR) {
        delete input;
        std::lock_guard lock(m_mutex);
        m_inputOpen[index] = false;
        return opened;
    }
    *handle = input;
    return MMSYSERR_NOERROR;
}

MidiResult SimMidi::midiInPrepareHeader(MidiHandle handle, MidiHeader *header)
{
    return prepare(handle, header);
}

MidiResult SimMidi::midiInUnprepareHeader(MidiHandle handle, MidiHeader *header)
{
    return unprepare(handle, header);
}

MidiResult SimMidi::midiInAddBuffer(MidiHandle handle, MidiHeader *header)
{
    return handle ? static_cast<Input *>(handle)->queue.add(header) : MMSYSERR_INVALHANDLE;
}

MidiResult SimMidi::midiInStart(MidiHandle handle)
{
    if (!handle)
        return MMSYSERR_INVALHANDLE;
    static_cast<Input *>(handle)->queue.start();
    return MMSYSERR_NOERROR;
}

MidiResult SimMidi::midiInStop(MidiHandle handle)
{
    if (!handle)
        return MMSYSERR_INVALHANDLE;
    static_cast<Input *>(handle)->queue.stop();
    return MMSYSERR_NOERROR;
}

MidiResult SimMidi::midiInReset(MidiHandle handle)
{
    if (!handle)
        return MMSYSERR_INVALHANDLE;
    static_cast<Input *>(handle)->queue.reset();
    return MMSYSERR_NOERROR;
}

MidiResult SimMidi::midiInClose(MidiHandle handle)
{
    auto *input = static_cast<Input *>(handle);
    if (!input)
        return MMSYSERR_INVALHANDLE;
    if (!input->queue.isEmpty())
        return MIDIERR_STILLPLAYING;
    input->endpoint.closeInput();
    {
        std::lock_guard lock(m_mutex);
        m_inputOpen[input->index] = false;
    }
    delete input;
    return MMSYSERR_NOERROR;
}

unsigned SimMidi::midiOutGetNumDevs()
{
    return unsigned(m_endpoints.size());
}

MidiResult SimMidi::midiOutGetDevCaps(unsigned index, std::string &name)
{
    return this->name(index, name);
}

MidiResult SimMidi::midiOutOpen(MidiHandle *handle, unsigned index, MidiCallback callback,
                                std::uintptr_t instance, unsigned flags)
{
    if (flags != CALLBACK_FUNCTION || !callback || !handle)
        return MMSYSERR_INVALFLAG;
    if (index >= m_endpoints.size())
        return MMSYSERR_BADDEVICEID;
    const MidiResult opened = m_endpoints[index]->openOutput();
    if (opened == MMSYSERR_NOERROR)
        *handle = new Output{*m_endpoints[index], callback, instance};
    return opened;
}

MidiResult SimMidi::midiOutPrepareHeader(MidiHandle handle, MidiHeader *header)
{
    return prepare(handle, header);
}

MidiResult SimMidi::midiOutUnprepareHeader(MidiHandle handle, MidiHeader *header)
{
    return unprepare(handle, header);
}

MidiResult SimMidi::midiOutLongMsg(MidiHandle handle, MidiHeader *header)
{
    auto *output = static_cast<Output *>(handle);
    if (!output)
        return MMSYSERR_INVALHANDLE;
    if (!header || !(header->dwFlags & MHDR_PREPARED))
        return MIDIERR_UNPREPARED;
    if (!output->endpoint.bytesOut(reinterpret_cast<const std::uint8_t *>(header->lpData), header->dwBufferLength))
        return MMSYSERR_ERROR;
    header->dwFlags |= MHDR_DONE;
    output->callback(output, MOM_DONE, output->instance, reinterpret_cast<std::uintptr_t>(header), 0);
    return MMSYSERR_NOERROR;
}

MidiResult SimMidi::midiOutClose(MidiHandle handle)
{
    auto *output = static_cast<Output *>(handle);
    if (!output)
        return MMSYSERR_INVALHANDLE;
    output->endpoint.closeOutput();
    delete output;
    return MMSYSERR_NOERROR;
}

} // namespace Platform
