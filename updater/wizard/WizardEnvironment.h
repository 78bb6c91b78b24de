#pragma once

namespace Oxa {

class ProcessList;
class UpdateLog;
class UpdatePrompts;

// What the wizard's pages reach outside the package: the message boxes, the
// running programs, the update log, and whether this system has the
// driver's control interface at all.
struct WizardEnvironment {
    UpdatePrompts *prompts = nullptr;
    ProcessList *processes = nullptr;
    const UpdateLog *updateLog = nullptr;
    bool hasDeviceControl = true;
};

} // namespace Oxa
