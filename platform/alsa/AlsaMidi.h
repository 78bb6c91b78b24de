#pragma once

#include "platform/MidiPortBackend.h"

#include <alsa/asoundlib.h>

#include <mutex>
#include <string>
#include <vector>

// The multimedia MIDI calls over the ALSA sequencer. Readable ports are the
// inputs and writable ports the outputs, each listed by its port name, so a
// duplex port shows up as an input and an output of the same name. Without a
// sequencer (no /dev/snd/seq) there are simply no devices.
namespace Platform {

class AlsaMidi : public MidiPortBackend
{
public:
    AlsaMidi();
    ~AlsaMidi() override;

    unsigned midiInGetNumDevs() override;
    MidiResult midiInGetDevCaps(unsigned index, std::string &name) override;
    MidiResult midiInOpen(MidiInHandle *handle, unsigned index, MidiInCallback callback, std::uintptr_t instance,
                          unsigned flags) override;

    unsigned midiOutGetNumDevs() override;
    MidiResult midiOutGetDevCaps(unsigned index, std::string &name) override;
    MidiResult midiOutOpen(MidiOutHandle *handle, unsigned index, MidiOutCallback callback, std::uintptr_t instance,
                           unsigned flags) override;

    struct PortAddress {
        int client;
        int port;
        std::string name;
    };

    AlsaMidi(const AlsaMidi &) = delete;
    AlsaMidi &operator=(const AlsaMidi &) = delete;

private:
    std::vector<PortAddress> listPorts(unsigned capabilities);
    bool portAt(unsigned capabilities, unsigned index, PortAddress &address);

    std::mutex m_mutex;
    snd_seq_t *m_query = nullptr; // for listing ports; null without a sequencer
};

// Opens a sequencer client for one of our ports; null (reported) when there is none.
snd_seq_t *openSequencer(const char *operation);
void reportAlsaError(const char *operation, int error);

} // namespace Platform
