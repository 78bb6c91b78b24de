#pragma once

#include "driver/MidiEndpoint.h"
#include "driver/UsbMidiDevice.h"

#include <cstdint>

namespace Zel {

// The MIDIStreaming interface (class 1, subclass 3) and its bulk endpoints
// that carry a class-specific endpoint descriptor, in descriptor order.
class MidiInterface
{
public:
    static constexpr std::uint32_t MaxEndpoints = 32;

    MidiInterface() = default;
    ~MidiInterface();
    MidiInterface(const MidiInterface &) = delete;
    MidiInterface &operator=(const MidiInterface &) = delete;

    NTSTATUS create(UsbMidiDevice &device);

    std::uint8_t interfaceNumber() const { return m_interfaceNumber; }
    std::uint32_t endpointCount() const { return m_count; }
    MidiEndpoint &endpoint(std::uint32_t i) { return *m_endpoints[i]; }
    MidiEndpoint *find(std::uint8_t interfaceNumber, std::uint8_t address);

    // IN endpoints read only in power state D0.
    void startReading();
    void stopReading();

private:
    std::uint8_t m_interfaceNumber = 0;
    MidiEndpoint *m_endpoints[MaxEndpoints] = {};
    std::uint32_t m_count = 0;
};

} // namespace Zel
