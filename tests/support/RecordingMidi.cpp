#include "tests/support/RecordingMidi.h"

#include <algorithm>
#include <cstring>

using namespace Platform;

int RecordingMidi::countOf(const std::string &name) const
{
    return int(std::count_if(calls.begin(), calls.end(), [&](const Call &c) { return c.name == name; }));
}

std::vector<std::string> RecordingMidi::names() const
{
    std::vector<std::string> result;
    for (const Call &c : calls)
        result.push_back(c.name);
    return result;
}

std::vector<std::vector<std::uint8_t>> RecordingMidi::sentMessages() const
{
    std::vector<std::vector<std::uint8_t>> result;
    for (const Call &c : calls) {
        if (c.name == "midiOutLongMsg")
            result.push_back(c.bytes);
    }
    return result;
}

MidiResult RecordingMidi::record(const std::string &name, unsigned index, MidiHeader *header)
{
    const int position = countOf(name);
    calls.push_back({name, index, header, {}});
    auto &failures = m_failures[name];
    const auto found = std::find(failures.begin(), failures.end(), position);
    if (found == failures.end())
        return MMSYSERR_NOERROR;
    failures.erase(found);
    return m_failureResult;
}

bool RecordingMidi::deliver(const std::vector<std::uint8_t> &bytes)
{
    if (queued.empty())
        return false;
    MidiHeader *header = queued.front();
    queued.pop_front();
    const std::size_t n = std::min<std::size_t>(bytes.size(), header->dwBufferLength);
    std::memcpy(header->lpData, bytes.data(), n);
    header->dwBytesRecorded = std::uint32_t(n);
    m_inCallback(inHandle(), MIM_LONGDATA, m_inInstance, reinterpret_cast<std::uintptr_t>(header), 0);
    return true;
}

void RecordingMidi::sendShortMessage(std::uint32_t packed)
{
    m_inCallback(inHandle(), MIM_DATA, m_inInstance, packed, 0);
}

void RecordingMidi::returnOutputBuffers()
{
    std::vector<MidiHeader *> done;
    done.swap(outstanding);
    for (MidiHeader *header : done)
        m_outCallback(outHandle(), MOM_DONE, m_outInstance, reinterpret_cast<std::uintptr_t>(header), 0);
}

unsigned RecordingMidi::midiInGetNumDevs()
{
    record("midiInGetNumDevs");
    return unsigned(inputNames.size());
}

MidiResult RecordingMidi::midiInGetDevCaps(unsigned index, std::string &name)
{
    const MidiResult result = record("midiInGetDevCaps", index);
    if (result == MMSYSERR_NOERROR && index < inputNames.size())
        name = inputNames[index];
    return result;
}

MidiResult RecordingMidi::midiInOpen(MidiInHandle *handle, unsigned index, MidiInCallback callback,
                                     std::uintptr_t instance, unsigned)
{
    const MidiResult result = record("midiInOpen", index);
    if (result != MMSYSERR_NOERROR)
        return result;
    *handle = inHandle();
    m_inCallback = callback;
    m_inInstance = instance;
    return result;
}

MidiResult RecordingMidi::midiInPrepareHeader(MidiInHandle, MidiHeader *header)
{
    return record("midiInPrepareHeader", 0, header);
}

MidiResult RecordingMidi::midiInUnprepareHeader(MidiInHandle, MidiHeader *header)
{
    return record("midiInUnprepareHeader", 0, header);
}

MidiResult RecordingMidi::midiInAddBuffer(MidiInHandle, MidiHeader *header)
{
    const MidiResult result = record("midiInAddBuffer", 0, header);
    if (result == MMSYSERR_NOERROR)
        queued.push_back(header);
    return result;
}

MidiResult RecordingMidi::midiInStart(MidiInHandle) { return record("midiInStart"); }

MidiResult RecordingMidi::midiInStop(MidiInHandle) { return record("midiInStop"); }

MidiResult RecordingMidi::midiInReset(MidiInHandle)
{
    const MidiResult result = record("midiInReset");
    std::deque<MidiHeader *> returned;
    returned.swap(queued);
    for (MidiHeader *header : returned) {
        header->dwBytesRecorded = 0;
        m_inCallback(inHandle(), MIM_LONGDATA, m_inInstance, reinterpret_cast<std::uintptr_t>(header), 0);
    }
    return result;
}

MidiResult RecordingMidi::midiInClose(MidiInHandle) { return record("midiInClose"); }

unsigned RecordingMidi::midiOutGetNumDevs()
{
    record("midiOutGetNumDevs");
    return unsigned(outputNames.size());
}

MidiResult RecordingMidi::midiOutGetDevCaps(unsigned index, std::string &name)
{
    const MidiResult result = record("midiOutGetDevCaps", index);
    if (result == MMSYSERR_NOERROR && index < outputNames.size())
        name = outputNames[index];
    return result;
}

MidiResult RecordingMidi::midiOutOpen(MidiOutHandle *handle, unsigned index, MidiOutCallback callback,
                                      std::uintptr_t instance, unsigned)
{
    const MidiResult result = record("midiOutOpen", index);
    if (result != MMSYSERR_NOERROR)
        return result;
    *handle = outHandle();
    m_outCallback = callback;
    m_outInstance = instance;
    return result;
}

MidiResult RecordingMidi::midiOutPrepareHeader(MidiOutHandle, MidiHeader *header)
{
    return record("midiOutPrepareHeader", 0, header);
}

MidiResult RecordingMidi::midiOutUnprepareHeader(MidiOutHandle, MidiHeader *header)
{
    return record("midiOutUnprepareHeader", 0, header);
}

MidiResult RecordingMidi::midiOutLongMsg(MidiOutHandle, MidiHeader *header)
{
    const MidiResult result = record("midiOutLongMsg", 0, header);
    calls.back().bytes.assign(header->lpData, header->lpData + header->dwBufferLength);
    if (result != MMSYSERR_NOERROR)
        return result;
    outstanding.push_back(header);
    if (autoDone)
        returnOutputBuffers();
    return result;
}

MidiResult RecordingMidi::midiOutReset(MidiOutHandle)
{
    const MidiResult result = record("midiOutReset");
    returnOutputBuffers();
    return result;
}

MidiResult RecordingMidi::midiOutClose(MidiOutHandle) { return record("midiOutClose"); }
