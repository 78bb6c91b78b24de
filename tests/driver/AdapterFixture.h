#pragma once

#include "driver/UsbMidiAdapter.h"
#include "simulator/usb/UsbDescriptorSet.h"
#include "tests/driver/ConversionHelpers.h"
#include "tests/support/FakeDriverPlatform.h"

#include <memory>

namespace ZelTest {

// Loads a simulated controller's descriptors into the fake platform.
inline void loadDescriptors(FakeDriverPlatform &fake, const Sim::UsbDescriptorSet &set)
{
    fake.descriptors[{0x0100, 0}] = set.device();
    fake.descriptors[{0x0200, 0}] = set.configuration();
    fake.descriptors[{0x0300, 0}] = set.string(0, 0);
    for (std::uint8_t index = 1; index <= 4; ++index) {
        for (std::uint16_t language : {Sim::UsbDescriptorSet::English, Sim::UsbDescriptorSet::German}) {
            const auto text = set.string(index, language);
            if (!text.empty())
                fake.descriptors[{static_cast<std::uint16_t>(0x0300 | index), language}] = text;
        }
    }
}

inline std::vector<std::uint8_t> stringDescriptor(const std::string &text)
{
    std::vector<std::uint8_t> out = {static_cast<std::uint8_t>(2 + 2 * text.size()), 3};
    for (char c : text)
        out.insert(out.end(), {static_cast<std::uint8_t>(c), 0});
    return out;
}

// The driver core over the fake platform, with the descriptors of a Vorpad 49.
class AdapterFixture
{
public:
    AdapterFixture() : descriptors(3, 7) { loadDescriptors(fake, descriptors); }
    ~AdapterFixture()
    {
        fake.stopCompleter();
        adapter.reset();
    }

    Zel::NTSTATUS start()
    {
        adapter = std::make_unique<Zel::UsbMidiAdapter>(fake);
        return adapter->start();
    }
    Zel::MidiMiniport *subdevice(const std::string &name)
    {
        for (std::uint32_t i = 0; i < adapter->subdeviceCount(); ++i) {
            if (name == adapter->subdevice(i).name())
                return &adapter->subdevice(i);
        }
        return nullptr;
    }

    Sim::UsbDescriptorSet descriptors;
    FakeDriverPlatform fake;
    std::unique_ptr<Zel::UsbMidiAdapter> adapter;
};

} // namespace ZelTest
