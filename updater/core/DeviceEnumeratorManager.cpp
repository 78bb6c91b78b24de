#include "updater/core/DeviceEnumeratorManager.h"

namespace Oxa {

void DeviceEnumeratorManager::add(std::unique_ptr<DeviceEnumeratorFactory> factory)
{
    std::string name = factory->className();
    m_factories[std::move(name)] = std::move(factory);
}

std::unique_ptr<DeviceEnumerator> DeviceEnumeratorManager::create(const std::string &className,
                                                                  const std::string &custom, DeviceClass &deviceClass)
{
    const auto it = m_factories.find(className);
    if (it == m_factories.end())
        throw InvalidEnumerator();
    return it->second->create(custom, deviceClass);
}

} // namespace Oxa
