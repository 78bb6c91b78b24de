#pragma once

#include "platform/MidiPortBackend.h"

#include <alsa/asoundlib.h>

#include <memory>
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

    // Which of a port pair a call is about: inputs we read from, outputs we write to.
    enum class Direction { Input, Output };
    struct PortAddress {
        int client;
        int port;
        std::string name;
        int card = -1; // the sound card behind the client, -1 for none
    };

    AlsaMidi(const AlsaMidi &) = delete;
    AlsaMidi &operator=(const AlsaMidi &) = delete;

private:
    // The sequencer's ports of the direction; the caller holds m_mutex.
    std::vector<PortAddress> listPorts(Direction direction);
    unsigned portCount(Direction direction);
    MidiResult portName(Direction direction, unsigned index, std::string &name);
    // Port `index` of the direction, as the sequencer lists it now; false when there is none.
    bool findPort(Direction direction, unsigned index, PortAddress &address);
    template <typename Port, typename Base, typename Handle, typename Callback>
    MidiResult openPort(Direction direction, unsigned index, std::unique_ptr<Base> &port, Handle fresh,
                        Callback callback, std::uintptr_t instance);

    std::mutex m_mutex;
    snd_seq_t *m_query = nullptr; // for listing ports; null without a sequencer
};

// Opens a sequencer client for one of our ports; null (reported) when there is none.
snd_seq_t *openSequencer(const char *operation);
void reportAlsaError(const char *operation, int error);

} // namespace Platform
