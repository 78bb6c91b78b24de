#include "updater/core/USBClassicDevice.h"

#include "updater/core/DeviceClass.h"
#include "updater/core/Revision.h"

namespace Oxa {

std::string USBClassicDevice::newVersion() const
{
    const FirmwareDescription *firmware = deviceClass().firmware();
    return firmware ? firmware->revision : std::string();
}

bool USBClassicDevice::upgradable() const { return isUpgrade(currentVersion(), newVersion()); }

} // namespace Oxa
