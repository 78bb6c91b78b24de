#pragma once

#include "editor/core/model/PatchTypes.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace Midi {

// Assembles complete SysEx messages from input that arrives in pieces of any
// size. Bytes before an F0 are dropped, so a stray fragment cannot block later
// messages; an F0 inside a message starts over, because it means the end of
// the previous one was lost; a message longer than MaxMessageLength is dropped
// so that a missing F7 cannot make the accumulation grow without bound.
class SysExAccumulator
{
public:
    static constexpr std::size_t MaxMessageLength = 64 * 1024;
    using Deliver = std::function<void(const std::vector<Byte> &message)>;

    void append(const Byte *data, std::size_t length, const Deliver &deliver);
    std::size_t pendingBytes() const { return m_bytes.size(); }

private:
    std::vector<Byte> m_bytes;
};

} // namespace Midi
