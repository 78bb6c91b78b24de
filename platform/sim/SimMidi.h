#pragma once

#include "platform/MidiPortBackend.h"
#include "platform/sim/SimMidiEndpoint.h"

#include <memory>
#include <mutex>
#include <vector>

// The multimedia MIDI calls over simulated devices: endpoint i appears as
// input i and output i, both named after the endpoint. Input arrives on the
// endpoint's thread, as it would on the system's callback thread.
namespace Platform {

class SimMidi : public MidiPortBackend
{
public:
    explicit SimMidi(std::vector<std::shared_ptr<SimMidiEndpoint>> endpoints);
    ~SimMidi() override;

    unsigned midiInGetNumDevs() override;
    MidiResult midiInGetDevCaps(unsigned index, std::string &name) override;
    MidiResult midiInOpen(MidiInHandle *handle, unsigned index, MidiInCallback callback, std::uintptr_t instance,
                          unsigned flags) override;

    unsigned midiOutGetNumDevs() override;
    MidiResult midiOutGetDevCaps(unsigned index, std::string &name) override;
    MidiResult midiOutOpen(MidiOutHandle *handle, unsigned index, MidiOutCallback callback, std::uintptr_t instance,
                           unsigned flags) override;

    SimMidi(const SimMidi &) = delete;
    SimMidi &operator=(const SimMidi &) = delete;

private:
    class Input;
    class Output;

    MidiResult name(unsigned index, std::string &name) const;
    void inputClosed(unsigned index);

    std::vector<std::shared_ptr<SimMidiEndpoint>> m_endpoints;
    std::mutex m_mutex;
    std::vector<bool> m_inputOpen;
};

} // namespace Platform
