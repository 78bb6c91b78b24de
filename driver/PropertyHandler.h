#pragma once

#include "driver/ZelPlatform.h"
#include "driver/contract/DeviceControlProperties.h"

#include <cstdint>

namespace Zel {

class UsbMidiAdapter;

struct PropertyRequest {
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    const std::uint8_t *instance = nullptr;
    std::uint32_t instanceSize = 0;
    std::uint8_t *value = nullptr;
    std::uint32_t valueSize = 0;
    bool atDispatchLevel = false;
};

// The control object's one property handler: every id and verb of the set.
NTSTATUS handleProperty(UsbMidiAdapter &adapter, const PropertyRequest &request, std::uint32_t &reported);

// A whole kernel-streaming property request (24-byte header + instance) as it
// arrives on the control handle: the device-control gate, the set-support
// probe the port answers itself, then the handler.
NTSTATUS handleKsProperty(UsbMidiAdapter &adapter, const std::uint8_t *input, std::uint32_t inputSize,
                          std::uint8_t *output, std::uint32_t outputSize, std::uint32_t &returned);

} // namespace Zel
