#pragma once

#include "editor/core/MidiMessage.h"
#include "editor/core/model/SysExAccumulator.h"
#include "platform/MidiApi.h"

#include <QReadWriteLock>

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Midi {

// One MIDI input of the system. Turns the buffers the multimedia layer fills
// into complete SysEx messages and hands each to the attached observers, in
// attach order, on the input callback thread.
class MidiInPort
{
public:
    using Sink = void (*)(const LongMessage &message, void *user);

    static constexpr int BufferCount = 8;
    static constexpr int BufferSize = 256;

    explicit MidiInPort(unsigned index);
    ~MidiInPort();

    bool open();
    void close();
    bool isOpen() const { return m_handle != nullptr; }
    std::string name() const;
    unsigned index() const { return m_index; }

    void attach(MidiInObserver *observer);
    void detach(MidiInObserver *observer);

    // The sink is taken only while empty and cleared only by its own function.
    bool setSink(Sink sink, void *user);
    bool clearSink(Sink sink);

    static bool isValidIndex(int index);

    MidiInPort(const MidiInPort &) = delete;
    MidiInPort &operator=(const MidiInPort &) = delete;

private:
    struct Buffer {
        Platform::MidiHeader header;
        std::array<char, BufferSize> data{};
    };

    static void callback(Platform::MidiInHandle handle, unsigned message, std::uintptr_t instance,
                         std::uintptr_t param1, std::uintptr_t param2);
    static void dispatch(const LongMessage &message, void *user);
    void longData(Platform::MidiHeader *header);
    bool queueBuffers();
    void releaseBuffers();

    unsigned m_index;
    Platform::MidiInHandle m_handle = nullptr;
    std::vector<std::unique_ptr<Buffer>> m_buffers;
    SysExAccumulator m_accumulation; // input callback thread only
    std::mutex m_sinkMutex;
    Sink m_sink = nullptr;
    void *m_sinkUser = nullptr;
    std::vector<MidiInObserver *> m_observers;
    QReadWriteLock m_observersLock;
};

} // namespace Midi
