#include "platform/MidiPortBackend.h"

namespace Platform {

MidiResult prepareHeader(MidiHeader *header)
{
    if (!header || !header->lpData)
        return MMSYSERR_INVALPARAM;
    header->dwFlags |= MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MidiResult unprepareHeader(MidiHeader *header)
{
    if (!header)
        return MMSYSERR_INVALPARAM;
    if (header->dwFlags & MHDR_INQUEUE)
        return MIDIERR_STILLPLAYING;
    header->dwFlags &= ~MHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MidiResult BackendOutput::longMessage(MidiHeader &header)
{
    if (!(header.dwFlags & MHDR_PREPARED))
        return MIDIERR_UNPREPARED;
    if (!send(reinterpret_cast<const std::uint8_t *>(header.lpData), header.dwBufferLength))
        return MMSYSERR_ERROR;
    header.dwFlags |= MHDR_DONE;
    m_callback(m_handle, MOM_DONE, m_instance, reinterpret_cast<std::uintptr_t>(&header), 0);
    return MMSYSERR_NOERROR;
}

MidiResult MidiPortBackend::midiInPrepareHeader(MidiInHandle handle, MidiHeader *header)
{
    return m_inputs.find(handle) ? prepareHeader(header) : MMSYSERR_INVALHANDLE;
}

MidiResult MidiPortBackend::midiInUnprepareHeader(MidiInHandle handle, MidiHeader *header)
{
    return m_inputs.find(handle) ? unprepareHeader(header) : MMSYSERR_INVALHANDLE;
}

MidiResult MidiPortBackend::midiInAddBuffer(MidiInHandle handle, MidiHeader *header)
{
    BackendInput *input = m_inputs.find(handle);
    return input ? input->queue.add(header) : MMSYSERR_INVALHANDLE;
}

MidiResult MidiPortBackend::midiInStart(MidiInHandle handle)
{
    BackendInput *input = m_inputs.find(handle);
    if (!input)
        return MMSYSERR_INVALHANDLE;
    input->queue.start();
    return MMSYSERR_NOERROR;
}

MidiResult MidiPortBackend::midiInStop(MidiInHandle handle)
{
    BackendInput *input = m_inputs.find(handle);
    if (!input)
        return MMSYSERR_INVALHANDLE;
    input->queue.stop();
    return MMSYSERR_NOERROR;
}

MidiResult MidiPortBackend::midiInReset(MidiInHandle handle)
{
    BackendInput *input = m_inputs.find(handle);
    if (!input)
        return MMSYSERR_INVALHANDLE;
    input->queue.reset();
    return MMSYSERR_NOERROR;
}

MidiResult MidiPortBackend::midiInClose(MidiInHandle handle)
{
    BackendInput *input = m_inputs.find(handle);
    if (!input)
        return MMSYSERR_INVALHANDLE;
    if (!input->queue.isEmpty())
        return MIDIERR_STILLPLAYING;
    m_inputs.release(handle); // the port closes as it goes
    return MMSYSERR_NOERROR;
}

MidiResult MidiPortBackend::midiOutPrepareHeader(MidiOutHandle handle, MidiHeader *header)
{
    return m_outputs.find(handle) ? prepareHeader(header) : MMSYSERR_INVALHANDLE;
}

MidiResult MidiPortBackend::midiOutUnprepareHeader(MidiOutHandle handle, MidiHeader *header)
{
    return m_outputs.find(handle) ? unprepareHeader(header) : MMSYSERR_INVALHANDLE;
}

MidiResult MidiPortBackend::midiOutLongMsg(MidiOutHandle handle, MidiHeader *header)
{
    BackendOutput *output = m_outputs.find(handle);
    if (!output)
        return MMSYSERR_INVALHANDLE;
    return header ? output->longMessage(*header) : MIDIERR_UNPREPARED;
}

MidiResult MidiPortBackend::midiOutClose(MidiOutHandle handle)
{
    return m_outputs.release(handle) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

void MidiPortBackend::closeAll()
{
    m_inputs.releaseAll();
    m_outputs.releaseAll();
}

} // namespace Platform
