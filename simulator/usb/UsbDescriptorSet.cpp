#include "simulator/usb/UsbDescriptorSet.h"

#include "editor/core/model/DeviceModel.h"

#include <cstdio>

namespace Sim {

namespace {

void put16(std::vector<std::uint8_t> &out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

enum JackId : std::uint8_t {
    EmbeddedInCable0 = 1,
    ExternalOutCable0 = 2,
    EmbeddedOutCable0 = 3,
    ExternalInCable0 = 4,
    EmbeddedInCable1 = 5,
    ExternalOutCable1 = 6,
};

} // namespace

UsbDescriptorSet::UsbDescriptorSet(int model, int serial)
{
    const std::uint16_t product = static_cast<std::uint16_t>(Brisel::usbProductId(model));
    m_device = {18, 0x01, 0x10, 0x01, 0x00, 0x00, 0x00, 8};
    put16(m_device, static_cast<std::uint16_t>(Brisel::VendorId));
    put16(m_device, product);
    put16(m_device, 0x0100); // bcdDevice
    m_device.insert(m_device.end(), {Manufacturer, Product, SerialNumber, 1});
    buildConfiguration();

    const int keys = Brisel::keyboardRange(model).keyCount;
    const std::string name = keys > 0 ? "Vorpad " + std::to_string(keys) : "Vorpad";
    char number[32];
    std::snprintf(number, sizeof number, "VP%02d-%06d", keys, serial);
    for (std::uint16_t language : {English, German}) {
        m_strings[{Manufacturer, language}] = "Morvane";
        m_strings[{Product, language}] = name;
        m_strings[{SerialNumber, language}] = number;
    }
    m_strings[{MidiOutJackName, English}] = "MIDI Out";
    m_strings[{MidiOutJackName, German}] = "MIDI-Ausgang";
}

void UsbDescriptorSet::buildConfiguration()
{
    std::vector<std::uint8_t> c = {9, 0x02, 0, 0, 2, 1, 0, 0x80, 50};
    // Audio control interface with an empty class-specific header.
    c.insert(c.end(), {9, 0x04, 0, 0, 0, 1, 1, 0, 0});
    c.insert(c.end(), {9, 0x24, 0x01, 0x00, 0x01, 9, 0, 1, 1});
    m_msInterface = static_cast<std::uint32_t>(c.size());
    c.insert(c.end(), {9, 0x04, 1, 0, 2, 1, 3, 0, 0});
    const std::size_t header = c.size();
    c.insert(c.end(), {7, 0x24, 0x01, 0x00, 0x01, 0, 0});
    c.insert(c.end(), {6, 0x24, 0x02, 0x01, EmbeddedInCable0, 0});
    c.insert(c.end(), {9, 0x24, 0x03, 0x02, ExternalOutCable0, 1, EmbeddedInCable0, 1, 0});
    c.insert(c.end(), {6, 0x24, 0x02, 0x02, ExternalInCable0, 0});
    c.insert(c.end(), {9, 0x24, 0x03, 0x01, EmbeddedOutCable0, 1, ExternalInCable0, 1, 0});
    c.insert(c.end(), {6, 0x24, 0x02, 0x01, EmbeddedInCable1, 0});
    c.insert(c.end(), {9, 0x24, 0x03, 0x02, ExternalOutCable1, 1, EmbeddedInCable1, 1, MidiOutJackName});
    c.insert(c.end(), {9, 0x05, 0x01, 0x02, 64, 0, 0, 0, 0});
    c.insert(c.end(), {6, 0x25, 0x01, 2, EmbeddedInCable0, EmbeddedInCable1});
    c.insert(c.end(), {9, 0x05, 0x81, 0x02, 64, 0, 0, 0, 0});
    c.insert(c.end(), {5, 0x25, 0x01, 1, EmbeddedOutCable0});
    const std::size_t classTotal = c.size() - header;
    c[header + 5] = static_cast<std::uint8_t>(classTotal);
    c[header + 6] = static_cast<std::uint8_t>(classTotal >> 8);
    c[2] = static_cast<std::uint8_t>(c.size());
    c[3] = static_cast<std::uint8_t>(c.size() >> 8);
    m_configuration = std::move(c);
}

void UsbDescriptorSet::corruptMidiStreamingInterface() { m_configuration[m_msInterface] = 0; }

std::vector<std::uint8_t> UsbDescriptorSet::string(std::uint8_t index, std::uint16_t language) const
{
    std::vector<std::uint8_t> out = {0, 0x03};
    if (index == 0) {
        put16(out, English);
        put16(out, German);
    } else {
        const auto it = m_strings.find({index, language});
        if (it == m_strings.end())
            return {};
        for (char ch : it->second)
            put16(out, static_cast<std::uint8_t>(ch));
    }
    out[0] = static_cast<std::uint8_t>(out.size());
    return out;
}

std::string UsbDescriptorSet::productName() const { return m_strings.at({Product, English}); }

std::string UsbDescriptorSet::serialNumber() const { return m_strings.at({SerialNumber, English}); }

} // namespace Sim
