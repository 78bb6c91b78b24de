#include "editor/core/model/SysExAccumulator.h"

namespace Midi {

void SysExAccumulator::append(const Byte *data, std::size_t length, const Deliver &deliver)
{
    for (std::size_t i = 0; i < length; ++i) {
        const Byte b = data[i];
        if (b == SysExStart) {
            m_bytes.assign(1, SysExStart);
            continue;
        }
        if (m_bytes.empty())
            continue; // outside a message: resynchronise on the next F0
        m_bytes.push_back(b);
        if (b == SysExEnd) {
            deliver(m_bytes);
            m_bytes.clear();
        } else if (m_bytes.size() >= MaxMessageLength) { // no room left for the F7
            m_bytes.clear();
            m_bytes.shrink_to_fit();
        }
    }
}

} // namespace Midi
