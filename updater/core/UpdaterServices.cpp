#include "updater/core/UpdaterServices.h"

#include "updater/core/ProcessList.h"

#include <algorithm>

namespace Oxa {

UpdaterServices::~UpdaterServices() { m_devices.clear(); }

DeviceClass &UpdaterServices::addDeviceClass(std::unique_ptr<DeviceClass> deviceClass)
{
    m_classes.push_back(std::move(deviceClass));
    return *m_classes.back();
}

void UpdaterServices::rescan()
{
    m_devices.clear();
    for (const std::unique_ptr<DeviceClass> &deviceClass : m_classes) {
        DeviceEnumerator *enumerator = deviceClass->enumerator();
        if (!enumerator)
            continue;
        std::vector<std::unique_ptr<Device>> found;
        enumerator->enumerate(found);
        // A device that two classes match is listed, and so written, once:
        // by the first class in configuration order.
        for (std::unique_ptr<Device> &device : found) {
            if (!listed(device->path()))
                m_devices.push_back(std::move(device));
        }
    }
    for (const std::unique_ptr<Device> &device : m_devices)
        device->initSelection();
}

bool UpdaterServices::listed(const std::wstring &path) const
{
    return std::any_of(m_devices.begin(), m_devices.end(), [&path](const auto &d) { return d->path() == path; });
}

int UpdaterServices::selectedCount() const
{
    return int(std::count_if(m_devices.begin(), m_devices.end(), [](const auto &d) { return d->selected(); }));
}

bool UpdaterServices::anyUpgradable() const
{
    return std::any_of(m_devices.begin(), m_devices.end(), [](const auto &d) { return d->upgradable(); });
}

std::vector<std::string> UpdaterServices::runningForbiddenPrograms(ProcessList &processes) const
{
    return filterProcesses(processes, m_processFilter);
}

} // namespace Oxa
