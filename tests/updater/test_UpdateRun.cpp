#include "UpdaterTestSupport.h"

#include "updater/core/Log.h"
#include "updater/engine/UpdateRun.h"

#include "platform/sim/SimDeviceControl.h"
#include "platform/sim/SimMachine.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace UpdaterTest;

namespace {

// Records what the loop reports; asks to stop once `stopAfterStart` devices started.
class Observer : public Oxa::UpdateObserver
{
public:
    void deviceStarted(const QString &name) override { started << name; }
    void partStarted(int steps) override { this->steps = steps; }
    void stepStarting(int step) override { lastStep = step; }
    void partFinished(int) override { ++partsFinished; }
    bool stopRequested() override { return stopAfterStart >= 0 && started.size() >= stopAfterStart; }
    void updateFailed() override { ++errors; }

    QStringList started;
    int steps = 0;
    int lastStep = -1;
    int partsFinished = 0;
    int errors = 0;
    int stopAfterStart = -1;
};

class UpdateRunTest : public testing::Test
{
protected:
    SimulatedController attach(int keys, int serial, const Sim::UsbFaults &faults = {})
    {
        SimulatedController c = simulatedController(keys, serial, {}, faults);
        machine.attach(c.usb);
        return c;
    }
    std::unique_ptr<Oxa::UpdaterServices> database()
    {
        auto db =
            services(&control, dir.file("image.bin", Sim::FirmwareUpdate::makeImage(PackageDate, PackageVersion, 700)));
        db->rescan();
        return db;
    }
    QStringList logLines() const
    {
        QFile file(updateLog.path());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    ScratchDirectory dir;
    QTemporaryDir logDir;
    Oxa::UpdateLog updateLog{logDir.filePath(QStringLiteral("vorpad/updates.log"))};
    Platform::SimMachine machine;
    Platform::SimDeviceControl control{machine};
    Observer observer;
    QuietLog m_quiet;
};

TEST_F(UpdateRunTest, updatesEverySelectedDeviceAndLogsEach)
{
    SimulatedController a = attach(49, 1);
    SimulatedController b = attach(61, 2);
    auto db = database();
    ASSERT_EQ(db->selectedCount(), 2);
    const Oxa::UpdateOutcome outcome = runUpdates(*db, observer, &updateLog);
    EXPECT_EQ(outcome.kind, Oxa::UpdateOutcome::Complete);
    EXPECT_EQ(outcome.updated, 2);
    EXPECT_EQ(observer.started, (QStringList{QStringLiteral("Vorpad 49"), QStringLiteral("Vorpad 61")}));
    EXPECT_EQ(observer.steps, 11); // 700 bytes in blocks of 64
    EXPECT_EQ(observer.partsFinished, 2);
    EXPECT_EQ(a.usb->firmwareVersion(), PackageVersion);
    EXPECT_EQ(b.usb->firmwareVersion(), PackageVersion);
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains(
        QStringLiteral(" device=\"Vorpad 49\" serial=\"VP49-000001\" from=\"1.07\" to=\"1.10\" result=updated")))
        << lines[0].toStdString();
}

TEST_F(UpdateRunTest, stopBetweenDevicesLetsTheRunningOneFinish)
{
    SimulatedController a = attach(49, 1);
    SimulatedController b = attach(61, 2);
    auto db = database();
    observer.stopAfterStart = 1; // Stop pressed while the first device is written
    const Oxa::UpdateOutcome outcome = runUpdates(*db, observer, &updateLog);
    EXPECT_EQ(outcome.kind, Oxa::UpdateOutcome::Stopped);
    EXPECT_EQ(outcome.updated, 1);
    EXPECT_EQ(outcome.selected, 2);
    EXPECT_EQ(a.usb->firmwareVersion(), PackageVersion);
    EXPECT_EQ(b.usb->firmwareVersion(), Sim::ShippedRevision.version);
    EXPECT_EQ(logLines().size(), 1);
}

TEST_F(UpdateRunTest, theFirstFailureEndsTheRunAndIsLoggedWithItsStep)
{
    attach(49, 1, {{.failBlock = 2}});
    SimulatedController b = attach(61, 2);
    auto db = database();
    const Oxa::UpdateOutcome outcome = runUpdates(*db, observer, &updateLog);
    EXPECT_EQ(outcome.kind, Oxa::UpdateOutcome::Failed);
    EXPECT_EQ(outcome.failedDevice, QStringLiteral("Vorpad 49"));
    EXPECT_EQ(observer.errors, 1);
    EXPECT_EQ(b.usb->firmwareVersion(), Sim::ShippedRevision.version); // never started
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("result=failed step=\"block 2 of 11\""))) << lines[0].toStdString();
}

TEST_F(UpdateRunTest, anUpdaterThatCannotBePreparedIsAFailureNamingWhy)
{
    attach(49, 1, {{.refuseStart = true}});
    auto db = database();
    const Oxa::UpdateOutcome outcome = runUpdates(*db, observer, &updateLog);
    EXPECT_EQ(outcome.kind, Oxa::UpdateOutcome::Failed);
    EXPECT_TRUE(observer.started.isEmpty());
    ASSERT_EQ(logLines().size(), 1);
    EXPECT_TRUE(logLines()[0].endsWith(QStringLiteral("step=\"prepare: Win32USBClassicUpdater::StartFailure\"")));
}

TEST_F(UpdateRunTest, unselectedDevicesAreSkipped)
{
    attach(49, 1);
    SimulatedController b = attach(61, 2);
    auto db = database();
    db->setSelected(0, false);
    const Oxa::UpdateOutcome outcome = runUpdates(*db, observer, nullptr);
    EXPECT_EQ(outcome.kind, Oxa::UpdateOutcome::Complete);
    EXPECT_EQ(observer.started, QStringList{QStringLiteral("Vorpad 61")});
    EXPECT_EQ(b.usb->firmwareVersion(), PackageVersion);
}

} // namespace
