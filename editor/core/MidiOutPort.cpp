#include "editor/core/MidiOutPort.h"

#include "platform/MidiSelection.h"

#include <algorithm>
#include <climits>
#include <cstring>

using namespace Platform;

namespace Midi {

MidiOutPort::MidiOutPort(unsigned index) : m_index(index), m_maxChunkSize(INT_MAX) {}

MidiOutPort::~MidiOutPort() { close(); }

bool MidiOutPort::isValidIndex(int index) { return index >= 0 && unsigned(index) < midi().midiOutGetNumDevs(); }

bool MidiOutPort::open()
{
    if (isOpen())
        return true;
    MidiOutHandle handle = nullptr;
    if (midi().midiOutOpen(&handle, m_index, &MidiOutPort::callback, reinterpret_cast<std::uintptr_t>(this),
                           CALLBACK_FUNCTION) == MMSYSERR_NOERROR)
        m_handle = handle;
    return isOpen();
}

void MidiOutPort::close()
{
    if (!isOpen())
        return;
    // Long messages still queued come back done first: the system refuses to
    // close a port that has any.
    midi().midiOutReset(m_handle);
    midi().midiOutClose(m_handle);
    m_handle = nullptr;
}

std::string MidiOutPort::name() const
{
    std::string name;
    if (!isValidIndex(int(m_index)) || midi().midiOutGetDevCaps(m_index, name) != MMSYSERR_NOERROR)
        return {};
    return name;
}

bool MidiOutPort::send(const LongMessage &message)
{
    if (message.isEmpty())
        return false;
    const std::size_t chunk = std::size_t(m_maxChunkSize);
    bool sent = false;
    for (std::size_t offset = 0; offset < message.size(); offset += chunk) {
        sent = sendChunk(message.data() + offset, std::min(chunk, message.size() - offset));
        if (!sent)
            break;
    }
    return sent;
}

// Header and block stay alive until the done callback returns them.
bool MidiOutPort::sendChunk(const Byte *bytes, std::size_t length)
{
    auto *block = new char[length];
    std::memcpy(block, bytes, length);
    auto *header = new MidiHeader{};
    header->lpData = block;
    header->dwBufferLength = std::uint32_t(length);
    if (midi().midiOutPrepareHeader(m_handle, header) == MMSYSERR_NOERROR) {
        if (midi().midiOutLongMsg(m_handle, header) == MMSYSERR_NOERROR)
            return true;
        midi().midiOutUnprepareHeader(m_handle, header);
    }
    delete[] block;
    delete header;
    return false;
}

void MidiOutPort::callback(MidiOutHandle handle, unsigned message, std::uintptr_t, std::uintptr_t param1,
                           std::uintptr_t)
{
    if (message != MOM_DONE)
        return;
    auto *header = reinterpret_cast<MidiHeader *>(param1);
    if (!header)
        return;
    midi().midiOutUnprepareHeader(handle, header);
    delete[] header->lpData;
    delete header;
}

} // namespace Midi
