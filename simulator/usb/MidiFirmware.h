#pragma once

#include "simulator/FirmwareRevision.h"

#include <chrono>
#include <cstdint>
#include <vector>

namespace Sim {

// One message the firmware sends, due `delay` after the bytes that caused it.
struct FirmwareReply {
    std::vector<std::uint8_t> bytes;
    std::chrono::milliseconds delay{0};
};

// The controller's MIDI firmware as the USB function sees it: the byte
// stream the host sent on cable 0 (split anywhere), and what it answers.
class MidiFirmware
{
public:
    virtual ~MidiFirmware() = default;
    virtual std::vector<FirmwareReply> receive(const std::vector<std::uint8_t> &bytes) = 0;
    // The firmware installed now, and the one an update has just installed.
    virtual FirmwareRevision revision() const { return ShippedRevision; }
    virtual void installed(const FirmwareRevision &) {}
};

} // namespace Sim
