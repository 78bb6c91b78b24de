#pragma once

#include "updater/core/DeviceEnumerator.h"
#include "updater/core/DeviceEnumeratorManager.h"

#include "platform/devicecontrol/DeviceControl.h"

namespace Oxa {

// Finds the devices of a class among the present control interfaces: each
// that answers the probe is read, and kept when its hardware id is one of
// the class's. Without a device-control layer it finds nothing.
class USBClassicEnumerator : public DeviceEnumerator
{
public:
    USBClassicEnumerator(DeviceClass &deviceClass, Platform::DeviceControl *control)
        : DeviceEnumerator(deviceClass), m_control(control)
    {
    }

    void enumerate(std::vector<std::unique_ptr<Device>> &devices) override;

private:
    Platform::DeviceControl *m_control;
};

class USBClassicEnumeratorFactory : public DeviceEnumeratorFactory
{
public:
    explicit USBClassicEnumeratorFactory(Platform::DeviceControl *control) : m_control(control) {}

    std::string className() const override { return "USBClassicEnumerator"; }
    // `custom` is not used.
    std::unique_ptr<DeviceEnumerator> create(const std::string &custom, DeviceClass &deviceClass) override;

private:
    Platform::DeviceControl *m_control;
};

} // namespace Oxa
