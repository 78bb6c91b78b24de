#pragma once

#include "platform/MidiApi.h"

#include <alsa/asoundlib.h>

#include <mutex>
#include <string>
#include <vector>

// The multimedia MIDI calls over the ALSA sequencer. Readable ports are the
// inputs and writable ports the outputs, each listed by its port name, so a
// duplex port shows up as an input and an output of the same name. Without a
// sequencer (no /dev/snd/seq) there are simply no devices.
namespace Platform {

class AlsaMidi : public MidiApi
{
public:
    AlsaMidi();
    ~AlsaMidi() override;

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
