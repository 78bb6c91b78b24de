#pragma once

#include "updater/core/Device.h"

namespace Oxa {

// A device that answers the classic firmware requests: its product name,
// serial number, hardware id and firmware version, read when it was found.
class USBClassicDevice : public Device
{
public:
    using Device::Device;

    std::string name() const override { return m_name; }
    std::string serialNumber() const override { return m_serialNumber; }
    std::string hardwareId() const override { return m_hardwareId; }
    std::string currentVersion() const override { return m_currentVersion; }
    // The revision of the class's first firmware description.
    std::string newVersion() const override;
    bool upgradable() const override;

protected:
    std::string m_name;
    std::string m_serialNumber;
    std::string m_hardwareId;
    std::string m_currentVersion;
};

} // namespace Oxa
