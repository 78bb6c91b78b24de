#pragma once

#include "platform/MidiApi.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

// The input side every non-native implementation shares: the queue of
// buffers the application added, filled from incoming bytes on the
// implementation's reader thread and handed back with MIM_LONGDATA.
namespace Platform {

class MidiInputQueue
{
public:
    MidiInputQueue(MidiInHandle handle, MidiInCallback callback, std::uintptr_t instance);

    MidiResult add(MidiHeader *header);
    void start();
    // Stops delivery and returns once no callback of this queue runs any more.
    void stop();
    // Stops, then returns every queued buffer with no bytes recorded.
    void reset();
    bool isEmpty() const;

    // Bytes of long (SysEx) data. A buffer goes back when it is full, when it
    // holds an F7, and at the end of each call, so every chunk that arrives is
    // seen as it arrives. Bytes with no buffer queued are lost.
    void feedLongData(const std::uint8_t *data, std::size_t length);
    // A short message, packed as the multimedia API packs it.
    void feedShortMessage(std::uint32_t packed);

private:
    void finishDelivery();

    MidiInHandle m_handle;
    MidiInCallback m_callback;
    std::uintptr_t m_instance;
    mutable std::mutex m_mutex;
    std::condition_variable m_idle;
    std::deque<MidiHeader *> m_queue;
    bool m_started = false;
    int m_delivering = 0;
};

} // namespace Platform
