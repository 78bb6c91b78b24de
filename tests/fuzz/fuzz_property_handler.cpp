// Arbitrary descriptors, then property requests with arbitrary ids, verbs,
// instances and value sizes.
#include "driver/PropertyHandler.h"
#include "driver/UsbMidiAdapter.h"
#include "tests/support/FuzzDriverPlatform.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 4 || size > 8192)
        return 0;
    // Layout: device length, configuration length, string length, then the
    // three blobs, then requests.
    std::size_t at = 3;
    auto take = [&](std::size_t n) {
        n = std::min(n, size - at);
        std::vector<std::uint8_t> out(data + at, data + at + n);
        at += n;
        return out;
    };
    FuzzDriverPlatform platform;
    platform.device = take(data[0] % 32);
    platform.configuration = take(data[1] * 2u);
    platform.strings = take(data[2]);
    Zel::UsbMidiAdapter adapter(platform);
    adapter.start();

    // Each request: id, flags selector, instance length, value size, instance bytes.
    static constexpr std::uint32_t flags[] = {Zel::PropertyGet, Zel::PropertySet, Zel::PropertySetSupport, 3};
    while (at + 4 <= size) {
        Zel::PropertyRequest request;
        request.id = data[at] & 0x27;
        request.flags = flags[data[at + 1] & 3];
        const std::size_t instanceSize = std::min<std::size_t>(data[at + 2] % 64, size - at - 4);
        const std::uint32_t valueSize = data[at + 3];
        at += 4;
        // Exactly sized copies so any read or write past them is caught.
        std::vector<std::uint8_t> instance(data + at, data + at + instanceSize);
        at += instanceSize;
        std::vector<std::uint8_t> value(valueSize);
        request.instance = instance.empty() ? nullptr : instance.data();
        request.instanceSize = static_cast<std::uint32_t>(instance.size());
        request.value = value.empty() ? nullptr : value.data();
        request.valueSize = valueSize;
        std::uint32_t reported = 0;
        Zel::handleProperty(adapter, request, reported);
        if (request.id == Zel::PropertyLock)
            adapter.setExclusiveLock(false);
    }
    return 0;
}
