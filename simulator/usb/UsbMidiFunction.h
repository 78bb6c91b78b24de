#pragma once

#include "simulator/usb/MidiFirmware.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace Sim {

// The controller's USB-MIDI function: OUT packets become byte streams per
// cable (cable 0 feeds the firmware, cable 1 is the MIDI OUT socket); the
// firmware's answers leave as packets on cable 0 of the IN endpoint once due.
class UsbMidiFunction
{
public:
    using Clock = std::chrono::steady_clock;

    explicit UsbMidiFunction(std::shared_ptr<MidiFirmware> firmware);

    void receivePackets(const std::uint8_t *data, std::size_t size);
    // Moves up to `capacity` bytes of whole packets that are due into `data`; 0 when idle.
    std::size_t takePackets(std::uint8_t *data, std::size_t capacity);
    bool hasPackets() const;
    // When the next queued answer falls due; nothing when none is queued.
    std::optional<Clock::time_point> nextDue() const;
    // Bytes that left through the MIDI OUT socket.
    const std::vector<std::uint8_t> &socketBytes() const { return m_socket; }
    // Queues bytes as if the controller itself sent them (keys, knobs).
    void send(const std::vector<std::uint8_t> &bytes, std::chrono::milliseconds delay = {});

    static std::vector<std::uint8_t> toPackets(const std::vector<std::uint8_t> &bytes, std::uint8_t cable);

private:
    std::shared_ptr<MidiFirmware> m_firmware;
    struct Queued {
        Clock::time_point due;
        std::vector<std::uint8_t> packets;
        std::size_t taken = 0;
    };
    std::deque<Queued> m_in; // in sending order; a later answer never overtakes
    std::vector<std::uint8_t> m_socket;
};

} // namespace Sim
