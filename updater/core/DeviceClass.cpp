#include "updater/core/DeviceClass.h"

#include <algorithm>

namespace Oxa {

bool DeviceClass::matches(const std::string &hardwareId) const
{
    return !hardwareId.empty() &&
           std::find(m_hardwareIds.begin(), m_hardwareIds.end(), hardwareId) != m_hardwareIds.end();
}

} // namespace Oxa
