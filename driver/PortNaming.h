#pragma once

#include "driver/UsbMidiDevice.h"

#include <cstdint>
#include <string>

namespace Zel {

// A MIDI port's name: the product string, then the name of the cable's jack
// when the descriptors give one. Empty when the product string is missing.
std::string portName(UsbMidiDevice &device, std::uint8_t endpointAddress, std::uint8_t cableIndex,
                     std::uint16_t language);

// The string index naming the cable's jack, 0 when there is none.
std::uint8_t jackStringIndex(const std::uint8_t *configuration, std::uint32_t length, std::uint8_t endpointAddress,
                             std::uint8_t cableIndex);

} // namespace Zel
