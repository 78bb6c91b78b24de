// Arbitrary bytes from the host into the simulated controller's firmware:
// it never crashes and answers only with complete SysEx messages.
#include "simulator/Controller.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 8192)
        return 0;
    Sim::Controller controller(49);
    for (const Sim::Reply &reply : controller.receive(data, size)) {
        const auto &b = reply.bytes;
        if (b.size() < 2 || b.front() != 0xF0 || b.back() != 0xF7)
            std::abort();
    }
    controller.restore(std::vector<Byte>(data, data + size));
    return 0;
}
