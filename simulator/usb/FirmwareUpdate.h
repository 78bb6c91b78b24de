#pragma once

#include "simulator/usb/UsbTypes.h"

#include <cstdint>
#include <vector>

namespace Sim {

// Switchable faults of the firmware-update requests.
struct UpdateFaults {
    int failBlock = -1;         // this block's status reads 1
    bool refuseStart = false;   // request 4 answers status 1
    int stallRequest = -1;      // this bRequest stalls
    int disconnectAtBlock = -1; // the controller leaves the bus on this block
};

// The firmware-update vendor requests (recipient "other").
//
// Image format: an update installs only an image that starts with the four
// bytes "VPFW" followed by the firmware date (u16, little-endian, bits 15..9
// year, 8..5 month, 4..0 day) and version (u16, high byte major, low byte
// minor), the same words request 1 reports at offsets 4 and 6. Any other image
// ends with status 2 and the old firmware stays.
class FirmwareUpdate
{
public:
    enum Request : std::uint8_t { Status = 0, Version = 1, Start = 4, WriteBlock = 5, End = 6 };
    static constexpr std::uint32_t BlockSize = 64;
    static constexpr std::uint32_t MaxImageSize = 1 << 20;

    FirmwareUpdate(std::uint16_t date, std::uint16_t version) : m_date(date), m_version(version) {}

    void setFaults(const UpdateFaults &faults) { m_faults = faults; }
    // Handles a vendor request; `data` holds the OUT data or receives the IN data.
    UsbResult handle(const UsbSetup &setup, std::uint8_t *data, std::uint32_t &transferred, bool &disconnect);

    std::uint16_t version() const { return m_version; }
    std::uint16_t date() const { return m_date; }
    // Counts completed installs, so the owner sees when one happened.
    int installCount() const { return m_installs; }

    static std::vector<std::uint8_t> makeImage(std::uint16_t date, std::uint16_t version, std::size_t size);

private:
    void reply(std::uint8_t *data, std::uint32_t &transferred, std::uint16_t length,
               const std::vector<std::uint8_t> &bytes) const;
    std::uint32_t finish();

    std::uint16_t m_date;
    std::uint16_t m_version;
    UpdateFaults m_faults;
    bool m_updating = false;
    std::uint32_t m_expected = 0;
    std::vector<std::uint8_t> m_image;
    std::uint32_t m_lastStatus = 0;
    int m_blocks = 0;
    int m_installs = 0;
};

} // namespace Sim
