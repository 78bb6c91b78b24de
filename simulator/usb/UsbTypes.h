#pragma once

#include <cstdint>

// The controller's side of the USB wire.
namespace Sim {

struct UsbSetup {
    std::uint8_t requestType = 0; // bmRequestType
    std::uint8_t request = 0;
    std::uint16_t value = 0;
    std::uint16_t index = 0;
    std::uint16_t length = 0;

    bool deviceToHost() const { return (requestType & 0x80) != 0; }
    std::uint8_t type() const { return requestType & 0x60; }
    std::uint8_t recipient() const { return requestType & 0x1F; }
};

enum RequestType : std::uint8_t { StandardRequest = 0x00, ClassRequest = 0x20, VendorRequest = 0x40 };
enum Recipient : std::uint8_t {
    RecipientDevice = 0,
    RecipientInterface = 1,
    RecipientEndpoint = 2,
    RecipientOther = 3
};

enum class UsbResult { Ok, Stall, Disconnected };

inline constexpr std::uint8_t MidiOutEndpoint = 0x01;
inline constexpr std::uint8_t MidiInEndpoint = 0x81;

} // namespace Sim
