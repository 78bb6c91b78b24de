#pragma once

#include "updater/core/Updater.h"

#include <memory>
#include <string>

namespace Oxa {

class DeviceClass;

// A device found by a class's enumerator.
class Device
{
public:
    explicit Device(DeviceClass &deviceClass) : m_class(deviceClass) {}
    virtual ~Device() = default;

    DeviceClass &deviceClass() const { return m_class; }
    bool selected() const { return m_selected; }
    void setSelected(bool selected) { m_selected = selected; }

    // A device starts selected exactly when it is upgradable.
    virtual void initSelection() { m_selected = upgradable(); }
    virtual std::string name() const = 0;
    virtual std::string serialNumber() const = 0;
    virtual std::string hardwareId() const = 0;
    // Where the system has the device: one path per connected device.
    virtual std::wstring path() const = 0;
    virtual std::string currentVersion() const = 0;
    virtual std::string newVersion() const = 0;
    // Null when the update cannot be prepared.
    virtual std::unique_ptr<Updater> createUpdater() = 0;
    virtual bool upgradable() const = 0;
    // Why the last createUpdater gave null.
    const std::string &lastError() const { return m_lastError; }

protected:
    std::string m_lastError;

private:
    DeviceClass &m_class;
    bool m_selected = false;
};

} // namespace Oxa
