#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace Sim {

// The controller's descriptors: the device, one configuration with an
// audio-control and a MIDIStreaming interface, and strings in US English and
// German. The bulk OUT endpoint carries two cables (cable 0: the controller
// itself, cable 1: its MIDI OUT socket); the bulk IN endpoint one.
class UsbDescriptorSet
{
public:
    static constexpr std::uint16_t English = 0x0409;
    static constexpr std::uint16_t German = 0x0407;

    enum StringIndex : std::uint8_t { Manufacturer = 1, Product = 2, SerialNumber = 3, MidiOutJackName = 4 };

    // model: the identity model code (2, 3, 4); serial: the number in the serial string.
    UsbDescriptorSet(int model, int serial);

    const std::vector<std::uint8_t> &device() const { return m_device; }
    const std::vector<std::uint8_t> &configuration() const { return m_configuration; }
    // String descriptor (index 0: the language list); empty when there is none.
    std::vector<std::uint8_t> string(std::uint8_t index, std::uint16_t language) const;
    std::string productName() const;
    std::string serialNumber() const;

    // Fault: the MIDIStreaming interface descriptor gets a zero length.
    void corruptMidiStreamingInterface();
    std::uint32_t midiStreamingInterfaceOffset() const { return m_msInterface; }

private:
    void buildConfiguration();

    std::vector<std::uint8_t> m_device;
    std::vector<std::uint8_t> m_configuration;
    std::uint32_t m_msInterface = 0;
    std::map<std::pair<std::uint8_t, std::uint16_t>, std::string> m_strings;
};

} // namespace Sim
