#include "editor/app/StartupDevice.h"

#include "editor/app/AppSettings.h"
#include "editor/app/DeviceSession.h"
#include "editor/core/DeviceList.h"

namespace StartupDevice {

int choose(const Brisel::DeviceList &devices, bool simulated)
{
    constexpr int NoDevice = 0;
    if (simulated)
        return devices.count() > 1 ? 1 : NoDevice;
    if (AppSettings::startupDevice() == AppSettings::DefaultDevice)
        return devices.count() < 2 ? NoDevice : 1;
    if (AppSettings::lastDeviceId() == AppSettings::NoLastDeviceId)
        return NoDevice;
    const std::string last = AppSettings::lastDevice().toStdString();
    for (int i = 0; i < devices.count(); ++i) {
        if (devices.record(i).name == last)
            return i;
    }
    return NoDevice;
}

int connect(bool simulated)
{
    Brisel::DeviceList &devices = Brisel::DeviceList::instance();
    const int chosen = choose(devices, simulated);
    const Brisel::DeviceRecord record = devices.record(chosen);
    DeviceSession::select(record);
    return chosen;
}

} // namespace StartupDevice
