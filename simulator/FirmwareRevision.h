#pragma once

#include <cstdint>

namespace Sim {

// The installed firmware as the update requests report it: the date word
// (bits 15..9 year, 8..5 month, 4..0 day) and the version word (high byte
// major, low byte minor).
struct FirmwareRevision {
    std::uint16_t date = 0;
    std::uint16_t version = 0;

    bool operator==(const FirmwareRevision &) const = default;
};

// What the controller ships with: 1.07 of 2024-03-15.
inline constexpr FirmwareRevision ShippedRevision{(24 << 9) | (3 << 5) | 15, 0x0107};

} // namespace Sim
