#pragma once

#include "updater/core/Device.h"
#include "updater/core/DeviceClass.h"

#include <memory>
#include <string>
#include <vector>

namespace Oxa {

class ProcessList;

// The package's database: the updatable device classes, the programs that
// must not run during an update, and the devices found by the last rescan.
class UpdaterServices
{
public:
    UpdaterServices() = default;
    UpdaterServices(const UpdaterServices &) = delete;
    UpdaterServices &operator=(const UpdaterServices &) = delete;
    ~UpdaterServices();

    bool allowDowngrade() const { return m_allowDowngrade; }
    void setAllowDowngrade(bool allow) { m_allowDowngrade = allow; }
    // A package made for the simulated controllers only, never for real ones.
    bool simulatedOnly() const { return m_simulatedOnly; }
    void setSimulatedOnly(bool simulatedOnly) { m_simulatedOnly = simulatedOnly; }

    const std::vector<std::unique_ptr<DeviceClass>> &deviceClasses() const { return m_classes; }
    DeviceClass &addDeviceClass(std::unique_ptr<DeviceClass> deviceClass);
    const std::vector<std::string> &processFilter() const { return m_processFilter; }
    void addProcessFilter(std::string name) { m_processFilter.push_back(std::move(name)); }

    // Finds the devices of every class, in configuration order, each device
    // path once; each starts selected exactly when it is upgradable.
    void rescan();
    int deviceCount() const { return int(m_devices.size()); }
    Device &device(int index) const { return *m_devices.at(std::size_t(index)); }
    bool selected(int index) const { return device(index).selected(); }
    void setSelected(int index, bool selected) { device(index).setSelected(selected); }
    int selectedCount() const;
    bool anyUpgradable() const;
    // A device may be chosen when it is upgradable or downgrades are allowed.
    bool selectable(int index) const { return m_allowDowngrade || device(index).upgradable(); }
    // Null when the update cannot be prepared (logged).
    std::unique_ptr<Updater> createUpdater(int index) { return device(index).createUpdater(); }

    std::vector<std::string> runningForbiddenPrograms(ProcessList &processes) const;

private:
    bool listed(const std::wstring &path) const;

    bool m_allowDowngrade = true;
    bool m_simulatedOnly = false;
    std::vector<std::unique_ptr<DeviceClass>> m_classes;
    std::vector<std::string> m_processFilter;
    // After the classes: devices refer to their class.
    std::vector<std::unique_ptr<Device>> m_devices;
};

} // namespace Oxa
