#pragma once

#include <memory>
#include <vector>

namespace Oxa {

class Device;
class DeviceClass;

// Finds the devices of one class and appends them to a list.
class DeviceEnumerator
{
public:
    explicit DeviceEnumerator(DeviceClass &deviceClass) : m_class(deviceClass) {}
    virtual ~DeviceEnumerator() = default;

    DeviceClass &deviceClass() const { return m_class; }
    virtual void enumerate(std::vector<std::unique_ptr<Device>> &devices) = 0;

private:
    DeviceClass &m_class;
};

} // namespace Oxa
