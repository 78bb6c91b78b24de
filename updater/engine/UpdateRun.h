#pragma once

#include "updater/engine/UpdateLog.h"

#include <QString>

#include <vector>

namespace Oxa {

class UpdaterServices;

// What the update loop tells its user interface, and asks it.
class UpdateObserver
{
public:
    virtual ~UpdateObserver() = default;
    virtual void deviceStarted(const QString &name) = 0;
    virtual void partStarted(int steps) = 0;
    // Before step i is written; the place to let pending events run.
    virtual void stepStarting(int step) = 0;
    virtual void partFinished(int steps) = 0;
    // Looked at between devices only: a running device update is never interrupted.
    virtual bool stopRequested() = 0;
    virtual void updateFailed() = 0;
};

struct UpdateOutcome {
    enum Kind { Complete, Failed, Stopped };
    Kind kind = Complete;
    int updated = 0;
    int selected = 0;
    QString failedDevice;
    bool failureLogged = false; // the failed device's line is in the log
    // Each device the run reached, in list order, and its index in the device list.
    std::vector<std::pair<int, UpdateRecord>> records;
};

// Updates the selected devices in list order, stopping at the first that
// fails or when a stop was asked for between two devices. Each device's
// update is appended to `log` when one is given.
UpdateOutcome runUpdates(UpdaterServices &services, UpdateObserver &observer, const UpdateLog *log);

} // namespace Oxa
