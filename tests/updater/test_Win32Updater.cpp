#include "UpdaterTestSupport.h"

#include "updater/core/Log.h"
#include "updater/win32/Win32DeviceRequests.h"
#include "updater/win32/Win32USBClassicUpdater.h"

#include "driver/contract/DeviceControlProperties.h"
#include "platform/sim/SimDeviceControl.h"
#include "platform/sim/SimMachine.h"
#include "tests/support/RecordingDeviceControl.h"

#include <gtest/gtest.h>

using namespace UpdaterTest;
using Bytes = std::vector<std::uint8_t>;
using Request = TestSupport::RecordingDeviceControl::Request;

namespace {

// The expected input buffers, written out here rather than taken from the code under test.
Bytes header(std::uint32_t id, std::uint32_t flags, std::size_t size)
{
    Bytes b(size, 0);
    Zel::writePropertyHeader(b.data(), id, flags);
    return b;
}

Bytes vendorGet(std::uint8_t request, std::uint16_t value = 0, std::uint16_t index = 0)
{
    Bytes b = header(7, 1, 48);
    b[24] = 0x20;
    b[25] = request;
    b[26] = std::uint8_t(value);
    b[27] = std::uint8_t(value >> 8);
    b[28] = std::uint8_t(index);
    b[29] = std::uint8_t(index >> 8);
    return b;
}

Bytes vendorSet(const Bytes &image, std::size_t at, std::size_t n)
{
    Bytes b = header(7, 2, 47 + n);
    b[24] = 0x20;
    b[25] = 5;
    b[36] = std::uint8_t(n);
    b[37] = std::uint8_t(n >> 8);
    std::copy(image.begin() + std::ptrdiff_t(at), image.begin() + std::ptrdiff_t(at + n), b.begin() + 40);
    return b;
}

Bytes stringRequest(std::uint8_t index)
{
    Bytes b = header(4, 1, 32);
    b[24] = index;
    b[26] = 0x09;
    b[27] = 0x04;
    return b;
}

class UpdaterProtocol : public testing::Test
{
protected:
    SimulatedController attach(int keys, int serial, const Sim::UsbFaults &faults = {})
    {
        SimulatedController c =
            simulatedController(keys, serial, (dir.path() / ("state-" + std::to_string(serial))).string(), faults);
        machine.attach(c.usb);
        return c;
    }
    std::string packageImage(std::size_t size, std::uint16_t version = PackageVersion)
    {
        return dir.file("image.bin", Sim::FirmwareUpdate::makeImage(PackageDate, version, size));
    }
    // Runs the first device's update through every step to its finish: ""
    // when it succeeded, else what failed.
    static std::string update(Oxa::UpdaterServices &db)
    {
        const std::unique_ptr<Oxa::Updater> updater = db.createUpdater(0);
        if (!updater)
            return "no updater";
        for (int i = 0; i < updater->part(0).stepCount(); ++i)
            if (!updater->part(0).performStep(i))
                return "step " + std::to_string(i);
        std::string failure;
        return updater->finish(failure) ? "" : failure.empty() ? "finish" : failure;
    }
    std::vector<Request> requestsWithId(std::uint32_t id) const
    {
        std::vector<Request> out;
        for (const Request &r : control.requests())
            if (r.id() == id)
                out.push_back(r);
        return out;
    }

    ScratchDirectory dir;
    Platform::SimMachine machine;
    Platform::SimDeviceControl simulated{machine};
    TestSupport::RecordingDeviceControl control{simulated};
    QuietLog m_quiet;
};

TEST_F(UpdaterProtocol, enumeratesTheControllersOfTheClassInSystemOrder)
{
    attach(61, 2);
    attach(25, 3); // not one of the class's hardware ids
    attach(49, 1);
    auto db = services(&control, packageImage(100));
    db->rescan();
    ASSERT_EQ(db->deviceCount(), 2);
    const Oxa::Device &first = db->device(0);
    EXPECT_EQ(first.name(), "Vorpad 61");
    EXPECT_EQ(first.serialNumber(), "VP61-000002");
    EXPECT_EQ(first.hardwareId(), "USB\\VID_041E&PID_3F06");
    EXPECT_EQ(first.currentVersion(), "1.07");
    EXPECT_EQ(first.newVersion(), "1.10");
    EXPECT_TRUE(first.upgradable());
    EXPECT_TRUE(first.selected());
    EXPECT_EQ(db->device(1).name(), "Vorpad 49");
    EXPECT_EQ(control.opened(), control.closed()); // no handle stays open between operations
}

TEST_F(UpdaterProtocol, aDeviceThatDoesNotReportItsVersionIsListedButNotOffered)
{
    attach(49, 1, {{.stallRequest = 1}});
    auto db = services(&control, packageImage(100));
    db->rescan();
    ASSERT_EQ(db->deviceCount(), 1);
    EXPECT_EQ(db->device(0).currentVersion(), "");
    EXPECT_FALSE(db->device(0).upgradable());
    EXPECT_FALSE(db->device(0).selected());
}

TEST_F(UpdaterProtocol, aBuildInThePackageAddsTheFirmwareDateToTheDeviceVersion)
{
    attach(49, 1);
    auto db = services(&control, packageImage(100), "1.07.260115");
    db->rescan();
    ASSERT_EQ(db->deviceCount(), 1);
    EXPECT_EQ(db->device(0).currentVersion(), "1.07.240315");
    EXPECT_TRUE(db->device(0).upgradable());
}

TEST_F(UpdaterProtocol, enumerationSendsTheProbeDescriptorStringsAndVersionRequests)
{
    attach(49, 1);
    auto db = services(&control, packageImage(100));
    db->rescan();
    std::vector<Bytes> inputs;
    std::vector<std::uint32_t> outputs;
    for (const Request &r : control.requests()) {
        inputs.push_back(r.input);
        outputs.push_back(r.outputSize);
    }
    const std::vector<Bytes> expected = {header(0, 0x100, 24), header(0, 1, 24), stringRequest(2), stringRequest(3),
                                         vendorGet(1)};
    EXPECT_EQ(inputs, expected);
    EXPECT_EQ(outputs, (std::vector<std::uint32_t>{0, 18, 130, 130, 32}));
}

TEST_F(UpdaterProtocol, anUpdateSendsStartLockBlocksEndVersionAndUnlockByteForByte)
{
    SimulatedController device = attach(49, 1);
    const std::size_t size = 65536 + 5; // the size's high half goes in wValue
    const Bytes image = Sim::FirmwareUpdate::makeImage(PackageDate, PackageVersion, size);
    auto db = services(&control, dir.file("image.bin", image));
    db->rescan();
    control.clear();
    {
        std::unique_ptr<Oxa::Updater> updater = db->createUpdater(0);
        ASSERT_TRUE(updater);
        Oxa::PartUpdater &part = updater->part(0);
        ASSERT_EQ(part.stepCount(), 1025);
        for (int i = 0; i < part.stepCount(); ++i)
            ASSERT_TRUE(part.performStep(i)) << i;
        std::string failure;
        EXPECT_TRUE(updater->finish(failure)) << failure;
    }
    const std::vector<Request> sent = control.requests();
    ASSERT_EQ(sent.size(), 2 + 2 * 1025 + 3u);
    EXPECT_EQ(sent[0].input, vendorGet(4, 1, 5));
    EXPECT_EQ(sent[0].outputSize, 8u);
    EXPECT_EQ(sent[1].input, header(0x20, 2, 24));
    EXPECT_EQ(sent[2].input, vendorSet(image, 0, 64));
    EXPECT_EQ(sent[2].outputSize, 0u);
    EXPECT_EQ(sent[3].input, vendorGet(0));
    EXPECT_EQ(sent[3].outputSize, 4u);
    EXPECT_EQ(sent[2 + 2 * 1024].input, vendorSet(image, 65536, 5));
    EXPECT_EQ(sent[2 + 2 * 1025].input, vendorGet(6));
    EXPECT_EQ(sent[3 + 2 * 1025].input, vendorGet(1));
    EXPECT_EQ(sent[4 + 2 * 1025].input, header(0x21, 2, 24));
    for (const Request &r : sent)
        EXPECT_TRUE(r.result.ok);
    EXPECT_EQ(device.usb->firmwareVersion(), PackageVersion);
    EXPECT_EQ(control.opened(), control.closed());
}

TEST_F(UpdaterProtocol, theUpdatedControllerReportsItsNewVersionAlsoAfterARestart)
{
    const std::string state = (dir.path() / "state-1").string();
    SimulatedController device = attach(49, 1);
    auto db = services(&control, packageImage(3000));
    db->rescan();
    ASSERT_EQ(update(*db), "");
    EXPECT_EQ(device.controller->firmware(), "0110"); // the identity reply's characters
    db->rescan();
    ASSERT_EQ(db->deviceCount(), 1);
    EXPECT_EQ(db->device(0).currentVersion(), "1.10");
    EXPECT_FALSE(db->device(0).upgradable());

    // A new machine whose controller reads the same state file.
    Platform::SimMachine restarted;
    Platform::SimDeviceControl restartedControl(restarted);
    SimulatedController again = simulatedController(49, 1, state);
    restarted.attach(again.usb);
    EXPECT_EQ(again.usb->firmwareVersion(), PackageVersion);
    EXPECT_EQ(again.controller->firmware(), "0110");
    auto db2 = services(&restartedControl, packageImage(3000));
    db2->rescan();
    ASSERT_EQ(db2->deviceCount(), 1);
    EXPECT_EQ(db2->device(0).currentVersion(), "1.10");
    EXPECT_FALSE(db2->device(0).upgradable());
}

TEST_F(UpdaterProtocol, theVersionReadAfterTheUpdateMustBeThePackages)
{
    attach(49, 1);
    // The image installs 1.08 while the package says 1.10.
    auto db = services(&control, packageImage(500, 0x0108));
    db->rescan();
    EXPECT_EQ(update(*db), "device reports 1.08");
}

TEST_F(UpdaterProtocol, anImageTheDeviceRejectsAtTheEndFails)
{
    attach(49, 1);
    auto db = services(&control, dir.file("image.bin", Bytes(500, 0x55))); // no firmware header
    db->rescan();
    EXPECT_EQ(update(*db), "end of update refused");
}

TEST_F(UpdaterProtocol, askingForAPartOtherThanZeroIsOutOfRange)
{
    attach(49, 1);
    auto db = services(&control, packageImage(100));
    db->rescan();
    auto updater = db->createUpdater(0);
    ASSERT_TRUE(updater);
    EXPECT_EQ(updater->partCount(), 1);
    EXPECT_THROW(updater->part(1), std::out_of_range);
}

struct FaultCase {
    const char *name;
    Sim::UsbFaults faults;
    bool holdPort;     // another program has the MIDI port open
    int failedStep;    // -1: the updater is not created
    const char *error; // why not
    bool gone;         // the controller left the bus
};

std::ostream &operator<<(std::ostream &out, const FaultCase &c) { return out << c.name; }

class UpdaterFaults : public UpdaterProtocol, public testing::WithParamInterface<FaultCase>
{
};

TEST_P(UpdaterFaults, endTheUpdateAndReleaseTheDevice)
{
    const FaultCase &c = GetParam();
    SimulatedController device = attach(49, 1, c.faults);
    auto db = services(&control, packageImage(1000));
    db->rescan();
    ASSERT_EQ(db->deviceCount(), 1);
    const std::vector<Platform::SimMachine::Port> ports = machine.ports();
    ASSERT_FALSE(ports.empty());
    std::unique_ptr<Platform::SimDriverStream> held;
    if (c.holdPort) {
        ASSERT_EQ(machine.openPort(ports[0], nullptr, held), Zel::STATUS_SUCCESS);
    }
    control.clear();
    int failedAt = -2;
    {
        std::unique_ptr<Oxa::Updater> updater = db->createUpdater(0);
        if (!updater) {
            failedAt = -1;
            EXPECT_EQ(db->device(0).lastError(), c.error);
        } else {
            for (int i = 0; i < updater->part(0).stepCount() && failedAt == -2; ++i)
                if (!updater->part(0).performStep(i))
                    failedAt = i;
        }
    }
    held.reset();
    EXPECT_EQ(failedAt, c.failedStep);
    EXPECT_EQ(device.usb->firmwareVersion(), Sim::ShippedRevision.version);
    // The end request goes out in every case; the unlock only after a lock that held.
    const std::vector<Request> sent = control.requests();
    const auto ends = std::count_if(sent.begin(), sent.end(), [](const Request &r) {
        return r.id() == Zel::PropertyControlRequest && r.instance(1) == Oxa::Win32Requests::RequestEnd;
    });
    EXPECT_EQ(ends, 1);
    const bool locked = !requestsWithId(Zel::PropertyLock).empty() && requestsWithId(Zel::PropertyLock)[0].result.ok;
    EXPECT_EQ(requestsWithId(Zel::PropertyUnlock).size(), locked ? 1u : 0u);
    EXPECT_EQ(control.opened(), control.closed());
    // The lock is gone: the controller's MIDI port opens again.
    std::unique_ptr<Platform::SimDriverStream> stream;
    if (!c.gone) {
        EXPECT_EQ(machine.openPort(machine.ports()[0], nullptr, stream), Zel::STATUS_SUCCESS);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Updater, UpdaterFaults,
    testing::Values(
        FaultCase{"refusedStart", {{.refuseStart = true}}, false, -1, "Win32USBClassicUpdater::StartFailure", false},
        FaultCase{"stalledStart", {{.stallRequest = 4}}, false, -1, "Win32USBClassicUpdater::StartFailure", false},
        FaultCase{"portHeldByAnotherProgram", {}, true, -1, "Win32USBClassicUpdater::LockFailure", false},
        FaultCase{"failedBlock", {{.failBlock = 3}}, false, 3, "", false},
        FaultCase{"stalledWrite", {{.stallRequest = 5}}, false, 0, "", false},
        FaultCase{"stalledStatus", {{.stallRequest = 0}}, false, 0, "", false},
        FaultCase{"disconnectMidUpdate", {{.disconnectAtBlock = 4}}, false, 4, "", true}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
