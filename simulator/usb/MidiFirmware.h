#pragma once

#include <cstdint>
#include <vector>

namespace Sim {

// The controller's MIDI firmware as the USB function sees it: the byte
// stream the host sent on cable 0 (split anywhere), and the bytes it answers.
class MidiFirmware
{
public:
    virtual ~MidiFirmware() = default;
    virtual std::vector<std::uint8_t> receive(const std::vector<std::uint8_t> &bytes) = 0;
};

} // namespace Sim
