// Arbitrary bytes, in arbitrary chunk sizes, through the input port's buffer
// callback: whatever arrives, only complete SysEx messages come out, never
// longer than the bound.
#include "editor/core/MidiInPort.h"
#include "platform/MidiSelection.h"
#include "tests/support/RecordingMidi.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

class Checker : public Midi::MidiInObserver
{
public:
    void received(const Midi::LongMessage &message) override
    {
        const std::vector<Byte> &m = message.bytes();
        if (m.size() < 2 || m.size() > Midi::SysExAccumulator::MaxMessageLength || m.front() != 0xF0 ||
            m.back() != 0xF7)
            std::abort();
        for (std::size_t i = 1; i + 1 < m.size(); ++i) {
            if (m[i] == 0xF0 || m[i] == 0xF7)
                std::abort();
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    RecordingMidi fake;
    fake.inputNames = {"Fuzz"};
    Platform::ScopedMidi scope(fake);
    Midi::MidiInPort port(0);
    Checker checker;
    port.attach(&checker);
    if (!port.open())
        std::abort();
    // The first byte picks the rhythm of chunk sizes, 1..256 bytes each.
    const unsigned seed = data[0];
    std::size_t offset = 1;
    for (unsigned i = 0; offset < size; ++i) {
        const std::size_t chunk = std::min<std::size_t>(1 + (seed * (i + 1) + i * i) % 256, size - offset);
        if (!fake.deliver(std::vector<std::uint8_t>(data + offset, data + offset + chunk)))
            std::abort(); // every buffer must have been queued again
        offset += chunk;
    }
    port.close();
    port.detach(&checker);
    return 0;
}
