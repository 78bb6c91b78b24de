#pragma once

#include "platform/MidiApi.h"

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

// A multimedia MIDI layer for the transport's own tests: records every call
// with its arguments, answers with scripted results, and lets the test play
// the system's part (fill queued input buffers, return output buffers).
class RecordingMidi : public Platform::MidiApi
{
public:
    struct Call {
        std::string name;
        unsigned index = 0;
        Platform::MidiHeader *header = nullptr;
        std::vector<std::uint8_t> bytes; // long messages: the bytes sent
    };

    std::vector<std::string> inputNames;
    std::vector<std::string> outputNames;
    std::vector<Call> calls;
    std::deque<Platform::MidiHeader *> queued;       // input buffers, in queue order
    std::vector<Platform::MidiHeader *> outstanding; // output buffers not yet done
    bool autoDone = true;                            // return output buffers from inside midiOutLongMsg

    // Scripts the result of the nth call (0 = next) of a function by name.
    void failCall(const std::string &name, int nth = 0, Platform::MidiResult result = Platform::MMSYSERR_ERROR)
    {
        m_failures[name].push_back(countOf(name) + nth);
        m_failureResult = result;
    }
    int countOf(const std::string &name) const;
    std::vector<std::string> names() const;
    std::vector<std::vector<std::uint8_t>> sentMessages() const;

    // Fills the first queued buffer with the bytes and returns it (MIM_LONGDATA).
    bool deliver(const std::vector<std::uint8_t> &bytes);
    void sendShortMessage(std::uint32_t packed);
    void returnOutputBuffers();

    unsigned midiInGetNumDevs() override;
    Platform::MidiResult midiInGetDevCaps(unsigned index, std::string &name) override;
    Platform::MidiResult midiInOpen(Platform::MidiInHandle *handle, unsigned index, Platform::MidiInCallback callback,
                                    std::uintptr_t instance, unsigned flags) override;
    Platform::MidiResult midiInPrepareHeader(Platform::MidiInHandle handle, Platform::MidiHeader *header) override;
    Platform::MidiResult midiInUnprepareHeader(Platform::MidiInHandle handle, Platform::MidiHeader *header) override;
    Platform::MidiResult midiInAddBuffer(Platform::MidiInHandle handle, Platform::MidiHeader *header) override;
    Platform::MidiResult midiInStart(Platform::MidiInHandle handle) override;
    Platform::MidiResult midiInStop(Platform::MidiInHandle handle) override;
    Platform::MidiResult midiInReset(Platform::MidiInHandle handle) override;
    Platform::MidiResult midiInClose(Platform::MidiInHandle handle) override;
    unsigned midiOutGetNumDevs() override;
    Platform::MidiResult midiOutGetDevCaps(unsigned index, std::string &name) override;
    Platform::MidiResult midiOutOpen(Platform::MidiOutHandle *handle, unsigned index,
                                     Platform::MidiOutCallback callback, std::uintptr_t instance,
                                     unsigned flags) override;
    Platform::MidiResult midiOutPrepareHeader(Platform::MidiOutHandle handle, Platform::MidiHeader *header) override;
    Platform::MidiResult midiOutUnprepareHeader(Platform::MidiOutHandle handle, Platform::MidiHeader *header) override;
    Platform::MidiResult midiOutLongMsg(Platform::MidiOutHandle handle, Platform::MidiHeader *header) override;
    // Returns the outstanding output buffers, as the system returns queued ones.
    Platform::MidiResult midiOutReset(Platform::MidiOutHandle handle) override;
    Platform::MidiResult midiOutClose(Platform::MidiOutHandle handle) override;

private:
    Platform::MidiResult record(const std::string &name, unsigned index = 0, Platform::MidiHeader *header = nullptr);

    std::map<std::string, std::vector<int>> m_failures;
    Platform::MidiResult m_failureResult = Platform::MMSYSERR_ERROR;
    Platform::MidiInCallback m_inCallback = nullptr;
    std::uintptr_t m_inInstance = 0;
    Platform::MidiOutCallback m_outCallback = nullptr;
    std::uintptr_t m_outInstance = 0;
    // What the fake hands out as handles: addresses nothing refers to.
    int m_inPort = 0;
    int m_outPort = 0;
    Platform::MidiInHandle inHandle() { return reinterpret_cast<Platform::MidiInHandle>(&m_inPort); }
    Platform::MidiOutHandle outHandle() { return reinterpret_cast<Platform::MidiOutHandle>(&m_outPort); }
};
