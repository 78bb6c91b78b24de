#pragma once

#include "updater/core/DeviceEnumerator.h"
#include "updater/core/FirmwareDescription.h"
#include "updater/core/OXAException.h"

#include <memory>
#include <string>
#include <vector>

namespace Oxa {

// One kind of device the package can update: the hardware ids that belong to
// it, the enumerator that finds its devices, and its firmware descriptions
// (only the first is used).
class DeviceClass
{
public:
    class InvalidDeviceClass : public OXAException
    {
    public:
        using OXAException::OXAException;
    };

    explicit DeviceClass(std::string name = std::string()) : m_name(std::move(name)) {}

    const std::string &name() const { return m_name; }
    void setName(std::string name) { m_name = std::move(name); }

    DeviceEnumerator *enumerator() const { return m_enumerator.get(); }
    void setEnumerator(std::unique_ptr<DeviceEnumerator> enumerator) { m_enumerator = std::move(enumerator); }

    const std::vector<std::string> &hardwareIds() const { return m_hardwareIds; }
    void addHardwareId(std::string id) { m_hardwareIds.push_back(std::move(id)); }
    // Character for character: a lower-case hexadecimal id never matches.
    bool matches(const std::string &hardwareId) const;

    const std::vector<FirmwareDescription> &firmwares() const { return m_firmwares; }
    void addFirmware(FirmwareDescription description) { m_firmwares.push_back(std::move(description)); }
    // The description that counts; null when the class has none.
    const FirmwareDescription *firmware() const { return m_firmwares.empty() ? nullptr : &m_firmwares.front(); }

private:
    std::string m_name;
    std::unique_ptr<DeviceEnumerator> m_enumerator;
    std::vector<std::string> m_hardwareIds;
    std::vector<FirmwareDescription> m_firmwares;
};

} // namespace Oxa
