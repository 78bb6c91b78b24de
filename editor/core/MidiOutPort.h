#pragma once

#include "editor/core/MidiMessage.h"
#include "platform/MidiApi.h"

#include <cstddef>
#include <string>

namespace Midi {

// One MIDI output of the system; sends SysEx in chunks of a settable size.
class MidiOutPort
{
public:
    explicit MidiOutPort(unsigned index);
    ~MidiOutPort();

    bool open();
    void close();
    bool isOpen() const { return m_handle != nullptr; }
    std::string name() const;
    unsigned index() const { return m_index; }

    bool send(const LongMessage &message);
    void setMaxChunkSize(int bytes) { m_maxChunkSize = bytes > 0 ? bytes : 1; }

    static bool isValidIndex(int index);

    MidiOutPort(const MidiOutPort &) = delete;
    MidiOutPort &operator=(const MidiOutPort &) = delete;

private:
    static void callback(Platform::MidiOutHandle handle, unsigned message, std::uintptr_t instance,
                         std::uintptr_t param1, std::uintptr_t param2);
    bool sendChunk(const Byte *bytes, std::size_t length);

    unsigned m_index;
    Platform::MidiOutHandle m_handle = nullptr;
    int m_maxChunkSize;
};

} // namespace Midi
