#include "editor/core/MidiInPort.h"

#include "editor/core/LockAnnotations.h"
#include "platform/MidiSelection.h"

#include <algorithm>

using namespace Platform;

namespace Midi {

MidiInPort::MidiInPort(unsigned index) : m_index(index) { setSink(&MidiInPort::dispatch, this); }

MidiInPort::~MidiInPort() { close(); }

bool MidiInPort::isValidIndex(int index) { return index >= 0 && unsigned(index) < midi().midiInGetNumDevs(); }

bool MidiInPort::open()
{
    if (isOpen())
        return true;
    if (!isValidIndex(int(m_index)))
        return false;
    MidiInHandle handle = nullptr;
    if (midi().midiInOpen(&handle, m_index, &MidiInPort::callback, reinterpret_cast<std::uintptr_t>(this),
                          CALLBACK_FUNCTION) != MMSYSERR_NOERROR ||
        !handle)
        return false;
    m_handle = handle;
    if (!queueBuffers())
        return false;
    midi().midiInStart(m_handle);
    return true;
}

// Prepares and queues all buffers. A prepare failure frees the buffers and
// closes; a queue failure also stops and resets the port first.
bool MidiInPort::queueBuffers()
{
    for (int i = 0; i < BufferCount; ++i) {
        auto buffer = std::make_unique<Buffer>();
        buffer->header.lpData = buffer->data.data();
        buffer->header.dwBufferLength = BufferSize;
        if (midi().midiInPrepareHeader(m_handle, &buffer->header) != MMSYSERR_NOERROR) {
            releaseBuffers();
            midi().midiInClose(m_handle);
            m_handle = nullptr;
            return false;
        }
        m_buffers.push_back(std::move(buffer));
    }
    for (const auto &buffer : m_buffers) {
        if (midi().midiInAddBuffer(m_handle, &buffer->header) != MMSYSERR_NOERROR) {
            midi().midiInStop(m_handle);
            midi().midiInReset(m_handle);
            releaseBuffers();
            midi().midiInClose(m_handle);
            m_handle = nullptr;
            return false;
        }
    }
    return true;
}

void MidiInPort::releaseBuffers()
{
    for (const auto &buffer : m_buffers)
        midi().midiInUnprepareHeader(m_handle, &buffer->header);
    m_buffers.clear();
}

void MidiInPort::close()
{
    if (!isOpen())
        return;
    midi().midiInStop(m_handle);
    midi().midiInReset(m_handle);
    releaseBuffers();
    midi().midiInClose(m_handle);
    m_handle = nullptr;
}

std::string MidiInPort::name() const
{
    std::string name;
    if (!isValidIndex(int(m_index)) || midi().midiInGetDevCaps(m_index, name) != MMSYSERR_NOERROR)
        return {};
    return name;
}

void MidiInPort::attach(MidiInObserver *observer)
{
    Utils::WriteLocker lock(m_observersLock);
    m_observers.push_back(observer);
}

void MidiInPort::detach(MidiInObserver *observer)
{
    Utils::WriteLocker lock(m_observersLock);
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer), m_observers.end());
}

bool MidiInPort::setSink(Sink sink, void *user)
{
    std::lock_guard lock(m_sinkMutex);
    if (m_sink)
        return false;
    m_sink = sink;
    m_sinkUser = user;
    return true;
}

bool MidiInPort::clearSink(Sink sink)
{
    std::lock_guard lock(m_sinkMutex);
    if (m_sink != sink)
        return false;
    m_sink = nullptr;
    m_sinkUser = nullptr;
    return true;
}

void MidiInPort::callback(MidiInHandle, unsigned message, std::uintptr_t instance, std::uintptr_t param1,
                          std::uintptr_t)
{
    if (message == MIM_LONGDATA)
        reinterpret_cast<MidiInPort *>(instance)->longData(reinterpret_cast<MidiHeader *>(param1));
}

void MidiInPort::longData(MidiHeader *header)
{
    // Buffers returned by a reset come back empty and are not queued again.
    if (!header || header->dwBytesRecorded == 0)
        return;
    std::vector<LongMessage> complete;
    m_accumulation.append(reinterpret_cast<const Byte *>(header->lpData), header->dwBytesRecorded,
                          [&complete](const std::vector<Byte> &bytes) { complete.emplace_back(bytes); });
    std::fill_n(header->lpData, header->dwBufferLength, char(0));
    header->dwBytesRecorded = 0;
    midi().midiInAddBuffer(m_handle, header);

    Sink sink;
    void *user;
    {
        std::lock_guard lock(m_sinkMutex);
        sink = m_sink;
        user = m_sinkUser;
    }
    if (!sink)
        return;
    for (const LongMessage &message : complete)
        sink(message, user);
}

void MidiInPort::dispatch(const LongMessage &message, void *user)
{
    auto *port = static_cast<MidiInPort *>(user);
    Utils::ReadLocker lock(port->m_observersLock);
    for (MidiInObserver *observer : port->m_observers)
        observer->received(message);
}

} // namespace Midi
