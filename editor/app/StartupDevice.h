#pragma once

#include <optional>

namespace Brisel {
class DeviceList;
}

// Which device-list entry the editor connects at start. Entry 0 is always the
// empty "no device" entry.
namespace StartupDevice {

// "Last": the first entry named like the last device, unless the last
// device ID is -1; "Default": the first real device. A simulated session
// always takes its controller (entry 1) when there is one.
int choose(const Brisel::DeviceList &devices, bool simulated);

// Chooses and connects (with a backup when connected); the chosen entry.
int connect(bool simulated);

} // namespace StartupDevice
