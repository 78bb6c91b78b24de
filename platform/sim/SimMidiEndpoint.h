#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// What one simulated MIDI port pair is connected to. The ports know only
// this: bytes go out to the device, the device's bytes come back through the
// receiver, on a thread that belongs to the endpoint.
namespace Platform {

class SimMidiEndpoint
{
public:
    using BytesIn = std::function<void(const std::uint8_t *data, std::size_t length)>;

    virtual ~SimMidiEndpoint() = default;

    virtual std::string portName() const = 0;
    virtual void bytesOut(const std::uint8_t *data, std::size_t length) = 0;
    // Installs the receiver (an empty one disconnects). Returns once no call
    // of the previous receiver is running.
    virtual void setBytesIn(BytesIn receiver) = 0;
};

} // namespace Platform
