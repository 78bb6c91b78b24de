#pragma once

#include "updater/core/DeviceEnumerator.h"
#include "updater/core/OXAException.h"

#include <map>
#include <memory>
#include <string>

namespace Oxa {

// Makes the enumerator of a device class. `custom` is the text of the
// enumerator element's optional `custom` child.
class DeviceEnumeratorFactory
{
public:
    virtual ~DeviceEnumeratorFactory() = default;
    virtual std::string className() const = 0;
    virtual std::unique_ptr<DeviceEnumerator> create(const std::string &custom, DeviceClass &deviceClass) = 0;
};

// The enumerator factories by class name.
class DeviceEnumeratorManager
{
public:
    class InvalidEnumerator : public OXAException
    {
    public:
        InvalidEnumerator() : OXAException("DeviceEnumeratorManager::InvalidEnumerator") {}
    };

    void add(std::unique_ptr<DeviceEnumeratorFactory> factory);
    // Throws InvalidEnumerator for a name no factory answers to.
    std::unique_ptr<DeviceEnumerator> create(const std::string &className, const std::string &custom,
                                             DeviceClass &deviceClass);

private:
    std::map<std::string, std::unique_ptr<DeviceEnumeratorFactory>> m_factories;
};

} // namespace Oxa
