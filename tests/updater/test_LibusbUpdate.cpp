#include "UpdaterTestSupport.h"

#include "tests/support/EmulatedUsbBus.h"
#include "tests/support/SimTestSupport.h"

#include "platform/linux/LibusbDeviceControl.h"
#include "updater/engine/UpdateRun.h"
#include "updater/engine/UpdaterConfiguration.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <optional>

using namespace UpdaterTest;

namespace {

class NoObserver : public Oxa::UpdateObserver
{
public:
    void deviceStarted(const QString &) override {}
    void partStarted(int) override {}
    void stepStarting(int) override {}
    void partFinished(int) override {}
    bool stopRequested() override { return false; }
    void updateFailed() override {}
};

// A package of its own: an image and its config.xml in a scratch folder.
void writePackage(const ScratchDirectory &dir)
{
    dir.file("fw.bin", Sim::FirmwareUpdate::makeImage(PackageDate, PackageVersion, 700));
    const std::string config =
        "<?xml version=\"1.0\"?>\n<updaterApp><packager><title>Vorpad Firmware</title></packager>"
        "<database><deviceClass name=\"Vorpad\"><enumerator class=\"USBClassicEnumerator\"/>"
        "<pid>USB\\VID_041E&amp;PID_3F01</pid><firmware><image>fw.bin</image><revision>1.10</revision>"
        "</firmware></deviceClass></database></updaterApp>";
    dir.file("config.xml", std::vector<std::uint8_t>(config.begin(), config.end()));
}

// A controller at 1-1 and a package of the test's own, read through
// libusb by the updater's engine.
class LibusbUpdate : public testing::Test
{
protected:
    LibusbUpdate()
    {
        writePackage(dir);
        bus.plug(target.usb, 1);
    }
    // libusb lists the devices plugged in before it starts.
    Oxa::UpdaterServices &scan()
    {
        control.emplace(Platform::ControllerLock(bus.root(), (dir.path() / "run").string()), bus.root());
        configuration.emplace(QDir(QString::fromStdString(dir.path().string())), &*control);
        EXPECT_TRUE(configuration->load(QString::fromStdString((dir.path() / "config.xml").string())));
        configuration->services()->rescan();
        return *configuration->services();
    }

    QuietLog quiet;
    ScratchDirectory dir;
    UsbEmulation::EmulatedUsbBus bus;
    SimulatedController target = simulatedController(49, 1);
    std::optional<Platform::LibusbDeviceControl> control;
    std::optional<Oxa::UpdaterConfiguration> configuration;
};

// The whole update through the engine, libusb and usbfs to the emulated
// controller; the version is then read back the way vorpadctl reads it.
TEST_F(LibusbUpdate, TheEngineUpdatesAControllerThroughLibusb)
{
    Oxa::UpdaterServices &services = scan();
    ASSERT_EQ(services.selectedCount(), 1);

    NoObserver observer;
    const Oxa::UpdateOutcome outcome = Oxa::runUpdates(services, observer, nullptr);
    EXPECT_EQ(outcome.kind, Oxa::UpdateOutcome::Complete);
    EXPECT_EQ(outcome.updated, 1);
    const Platform::DeviceControl::Handle handle = control->open(L"1-1");
    const PlatformTest::Reply version =
        PlatformTest::property(*control, handle, 7, Zel::PropertyGet, PlatformTest::vendorInstance(1), 8);
    ASSERT_TRUE(version.result.ok);
    EXPECT_EQ(version.value[6] | version.value[7] << 8, PackageVersion);
    EXPECT_EQ(target.usb->firmwareVersion(), PackageVersion);
}

// Without the udev rule the controller is found but does not open: nothing is
// offered, and the advice the devices page shows names the rule.
TEST_F(LibusbUpdate, AControllerThisUserMayNotOpenIsExplained)
{
    const auto denied = bus.denyAccess(1);
    EXPECT_EQ(scan().deviceCount(), 0);
    EXPECT_NE(control->accessAdvice().find(L"70-vorpad.rules"), std::wstring::npos);
}

} // namespace
