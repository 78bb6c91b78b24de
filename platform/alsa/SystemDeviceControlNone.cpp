#include "platform/devicecontrol/DeviceControl.h"

namespace Platform {

// This platform has no driver control interface of its own.
std::unique_ptr<DeviceControl> createSystemDeviceControl() { return nullptr; }

} // namespace Platform
