#pragma once

#include "driver/MidiByteParser.h"
#include "driver/MidiFifo.h"
#include "driver/ZelPlatform.h"

#include <cstdint>

namespace Zel {

class MidiCable;

enum class StreamState : std::uint32_t { Stop = 0, Acquire = 1, Pause = 2, Run = 3 };

using StreamNotify = void (*)(void *context, std::uint32_t bytesAvailable);

// Per open pin stream. The parser, the idle flag and the last write time
// change only under the cable's list lock; the FIFO under the context lock.
struct MidiStreamContext {
    MidiCable *cable = nullptr;
    bool capture = false;
    std::uint8_t cableNumber = 0;
    SpinLock lock;
    MidiFifo fifo;
    std::uint64_t lastWrite = 0;
    std::uint32_t sysExTimeoutMs = 1000;
    bool idle = true; // not inside a System Exclusive message
    bool running = false;
    bool notifyPending = false;
    StreamState state = StreamState::Stop;
    StreamNotify notify = nullptr;
    void *notifyContext = nullptr;
    MidiByteParser parser;
    MidiStreamContext *previous = nullptr;
    MidiStreamContext *next = nullptr;
};

} // namespace Zel
