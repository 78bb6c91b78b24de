#include "updater/engine/UpdateRun.h"

#include "updater/core/Log.h"
#include "updater/core/UpdaterServices.h"

namespace Oxa {

namespace {

// One device; the failing step's description when it fails.
bool updateDevice(Device &device, UpdateObserver &observer, QString &failedStep)
{
    std::unique_ptr<Updater> updater = device.createUpdater();
    if (!updater) {
        const std::string reason = device.lastError();
        failedStep = QStringLiteral("prepare") +
                     (reason.empty() ? QString() : QStringLiteral(": ") + QString::fromStdString(reason));
        return false;
    }
    observer.deviceStarted(QString::fromStdString(device.name()));
    for (int p = 0; p < updater->partCount(); ++p) {
        PartUpdater &part = updater->part(p);
        const int steps = part.stepCount();
        observer.partStarted(steps);
        for (int i = 0; i < steps; ++i) {
            observer.stepStarting(i);
            if (!part.performStep(i)) {
                log("updatePart failed at step %d", i);
                failedStep = QStringLiteral("block %1 of %2").arg(i).arg(steps);
                return false;
            }
        }
        observer.partFinished(steps);
    }
    std::string failure;
    if (!updater->finish(failure)) {
        log("update check failed: %s", failure.c_str());
        failedStep = QStringLiteral("check: ") + QString::fromStdString(failure);
        return false;
    }
    return true;
}

} // namespace

UpdateOutcome runUpdates(UpdaterServices &services, UpdateObserver &observer, const UpdateLog *updateLog)
{
    UpdateOutcome outcome;
    outcome.selected = services.selectedCount();
    for (int i = 0; i < services.deviceCount(); ++i) {
        Device &device = services.device(i);
        if (!device.selected())
            continue;
        if (observer.stopRequested()) {
            outcome.kind = UpdateOutcome::Stopped;
            break;
        }
        UpdateRecord record;
        record.time = QDateTime::currentDateTime();
        record.device = QString::fromStdString(device.name());
        record.serialNumber = QString::fromStdString(device.serialNumber());
        record.oldVersion = QString::fromStdString(device.currentVersion());
        record.newVersion = QString::fromStdString(device.newVersion());
        // The updater is gone (update ended, device unlocked) before anything is reported.
        record.succeeded = updateDevice(device, observer, record.failedStep);
        const bool logged = updateLog && updateLog->append(record);
        outcome.records.emplace_back(i, record);
        if (!record.succeeded) {
            observer.updateFailed();
            outcome.kind = UpdateOutcome::Failed;
            outcome.failedDevice = record.device;
            outcome.failureLogged = logged;
            break;
        }
        ++outcome.updated;
    }
    return outcome;
}

} // namespace Oxa
