#pragma once

#include <QString>

#include <functional>

namespace Oxa {

class ProcessList;
class UpdateLog;
class UpdatePrompts;

// What the wizard's pages reach outside the package: the message boxes, the
// running programs, the update log, and whether this system has the
// driver's control interface at all, and whether its controllers are simulated.
struct WizardEnvironment {
    UpdatePrompts *prompts = nullptr;
    ProcessList *processes = nullptr;
    const UpdateLog *updateLog = nullptr;
    bool hasDeviceControl = true;
    bool simulated = false;
    // Why the controllers present could not be opened (a missing udev rule); empty when nothing stood in the way.
    std::function<QString()> accessAdvice;
};

} // namespace Oxa
