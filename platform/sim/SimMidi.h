#pragma once

#include "platform/MidiApi.h"
#include "platform/sim/SimMidiEndpoint.h"

#include <memory>
#include <mutex>
#include <vector>

// The multimedia MIDI calls over simulated devices: endpoint i appears as
// input i and output i, both named after the endpoint. Input arrives on the
// endpoint's thread, as it would on the system's callback thread.
namespace Platform {

class SimMidi : public MidiApi
{
public:
    explicit SimMidi(std::vector<std::shared_ptr<SimMidiEndpoint>> endpoints);
    ~SimMidi() override;

    unsigned midiInGetNumDevs() override;
    MidiResult midiInGetDevCaps(unsigned index, std::string &name) override;
    MidiResult midiInOpen(MidiHandle *handle, unsigned index, MidiCallback callback, std::uintptr_t instance,
                          unsigned flags) override;
    MidiResult midiInPrepareHeader(MidiHandle handle, MidiHeader *header) override;
    MidiResult midiInUnprepareHeader(MidiHandle handle, MidiHeader *header) override;
    MidiResult midiInAddBuffer(MidiHandle handle, MidiHeader *header) override;
    MidiResult midiInStart(MidiHandle handle) override;
    MidiResult midiInStop(MidiHandle handle) override;
    MidiResult midiInReset(MidiHandle handle) override;
    MidiResult midiInClose(MidiHandle handle) override;

    unsigned midiOutGetNumDevs() override;
    MidiResult midiOutGetDevCaps(unsigned index, std::string &name) override;
    MidiResult midiOutOpen(MidiHandle *handle, unsigned index, MidiCallback callback, std::uintptr_t instance,
                           unsigned flags) override;
    MidiResult midiOutPrepareHeader(MidiHandle handle, MidiHeader *header) override;
    MidiResult midiOutUnprepareHeader(MidiHandle handle, MidiHeader *header) override;
    MidiResult midiOutLongMsg(MidiHandle handle, MidiHeader *header) override;
    MidiResult midiOutClose(MidiHandle handle) override;

    SimMidi(const SimMidi &) = delete;
    SimMidi &operator=(const SimMidi &) = delete;

private:
    struct Input;
    struct Output;

    MidiResult name(unsigned index, std::string &name) const;

    std::vector<std::shared_ptr<SimMidiEndpoint>> m_endpoints;
    std::mutex m_mutex;
    std::vector<bool> m_inputOpen;
};

} // namespace Platform
