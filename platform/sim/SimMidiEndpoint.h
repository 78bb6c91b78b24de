#pragma once

#include "platform/MidiApi.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// What one simulated MIDI port pair is connected to. The ports know only
// this: opening and closing each side, bytes out to the device, and the
// device's bytes back through the receiver, on a thread that belongs to the
// endpoint.
namespace Platform {

class SimMidiEndpoint
{
public:
    using BytesIn = std::function<void(const std::uint8_t *data, std::size_t length)>;

    virtual ~SimMidiEndpoint() = default;

    virtual std::string portName() const = 0;

    // Opening may be refused by the device (for example while it is locked);
    // an endpoint with nothing behind it to ask accepts every open.
    virtual MidiResult openOutput() { return MMSYSERR_NOERROR; }
    virtual void closeOutput() {}
    // False when the bytes could not be sent.
    virtual bool bytesOut(const std::uint8_t *data, std::size_t length) = 0;

    virtual MidiResult openInput(BytesIn receiver) = 0;
    // Returns once no call of the receiver is running.
    virtual void closeInput() = 0;
};

} // namespace Platform
