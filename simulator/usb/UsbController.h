#pragma once

#include "simulator/usb/FirmwareUpdate.h"
#include "simulator/usb/MidiFirmware.h"
#include "simulator/usb/UsbDescriptorSet.h"
#include "simulator/usb/UsbMidiFunction.h"
#include "simulator/usb/UsbTypes.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace Sim {

struct UsbFaults : UpdateFaults {
    bool corruptDescriptor = false; // the MIDIStreaming interface descriptor is broken
};

// The controller as a USB device: standard requests, the firmware-update
// vendor requests and the bulk MIDI endpoints. Thread-safe: control requests
// and bulk traffic may come from different threads.
class UsbController
{
public:
    UsbController(int model, std::shared_ptr<MidiFirmware> firmware, int serial = 1,
                  const UsbFaults &faults = UsbFaults());

    int model() const { return m_model; }
    UsbResult control(const UsbSetup &setup, std::uint8_t *data, std::uint32_t &transferred);
    UsbResult bulkOut(std::uint8_t endpoint, const std::uint8_t *data, std::size_t size);
    // Whole packets for the IN endpoint; 0 bytes means NAK (nothing to send).
    UsbResult bulkIn(std::uint8_t endpoint, std::uint8_t *data, std::size_t capacity, std::size_t &size);
    bool hasInData() const;
    // When queued IN data falls due; nothing when none is queued.
    std::optional<UsbMidiFunction::Clock::time_point> nextInDue() const;

    bool connected() const;
    void disconnect();

    const UsbDescriptorSet &descriptors() const { return m_descriptors; }
    std::vector<std::uint8_t> socketBytes() const;
    std::uint16_t firmwareVersion() const;
    std::uint16_t firmwareDate() const;
    FirmwareRevision firmwareRevision() const;
    void setFaults(const UsbFaults &faults);
    // Queues MIDI bytes the controller sends on its own.
    void sendFromController(const std::vector<std::uint8_t> &bytes);

private:
    UsbResult standardRequest(const UsbSetup &setup, std::uint8_t *data, std::uint32_t &transferred);

    const int m_model;
    mutable std::mutex m_lock;
    UsbDescriptorSet m_descriptors;
    std::shared_ptr<MidiFirmware> m_firmware;
    UsbMidiFunction m_function;
    FirmwareUpdate m_update;
    std::uint8_t m_configuration = 0;
    bool m_connected = true;
};

} // namespace Sim
