#pragma once

#include <cstdint>
#include <vector>

// The input buffers of the property requests the updater sends on a
// device's control interface, byte for byte. Each starts with the 24-byte
// property header of the control property set.
namespace Oxa::Win32Requests {

using Buffer = std::vector<std::uint8_t>;

inline constexpr std::uint8_t VendorOther = 0x20; // function code: vendor request, recipient "other"
inline constexpr std::uint16_t EnglishUs = 0x0409;
inline constexpr std::uint32_t StringValueSize = 130;

// The firmware requests.
enum FirmwareRequest : std::uint8_t {
    RequestStatus = 0,
    RequestVersion = 1,
    RequestStart = 4,
    RequestWriteBlock = 5,
    RequestEnd = 6,
};

// Data-stage sizes of the IN requests.
inline constexpr std::uint32_t StatusReplySize = 4;
inline constexpr std::uint32_t VersionReplySize = 32;
inline constexpr std::uint32_t StartReplySize = 8;

Buffer probe();                              // SETSUPPORT on id 0: 24 bytes
Buffer deviceDescriptor();                   // GET id 0: 24 bytes
Buffer stringDescriptor(std::uint8_t index); // GET id 4: 32 bytes
Buffer vendorGet(std::uint8_t request, std::uint16_t value = 0, std::uint16_t index = 0); // 48 bytes
Buffer vendorSet(const std::uint8_t *data, std::uint32_t size);                           // 47 + size bytes
Buffer lock();                                                                            // SET id 0x20: 24 bytes
Buffer unlock();                                                                          // SET id 0x21: 24 bytes

std::uint16_t readU16(const std::uint8_t *bytes);
std::uint32_t readU32(const std::uint8_t *bytes);

} // namespace Oxa::Win32Requests
