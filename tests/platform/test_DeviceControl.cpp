#include "tests/support/SimTestSupport.h"

#include "platform/sim/SimDeviceControl.h"
#include "simulator/usb/FirmwareUpdate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace PlatformTest;
using Platform::DeviceControl;

namespace {

std::uint32_t u32(const Bytes &b, std::size_t at = 0)
{
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

class SimulatedControl : public testing::Test
{
protected:
    DeviceControl::Handle openFirst()
    {
        const auto interfaces = control.presentInterfaces();
        return interfaces.empty() ? DeviceControl::InvalidHandle : control.open(interfaces[0].path);
    }
    // The updater's sequence: start, blocks with a status read after each, end.
    // The index of the failed step, -1 for success, -2 for a refused start.
    int update(DeviceControl::Handle handle, const Bytes &image)
    {
        const auto start = property(
            control, handle, 7, Zel::PropertyGet,
            vendorInstance(4, static_cast<std::uint16_t>(image.size() >> 16), static_cast<std::uint16_t>(image.size())),
            8);
        if (!start.result.ok || start.result.returned != 8 || u32(start.value) != 0)
            return -2;
        const std::uint32_t block = u32(start.value, 4);
        int failed = -1;
        for (std::size_t at = 0, i = 0; at < image.size() && failed < 0; at += block, ++i) {
            const Bytes data(image.begin() + at, image.begin() + std::min<std::size_t>(image.size(), at + block));
            const auto written = property(control, handle, 7, Zel::PropertySet, vendorInstance(5, 0, 0, data));
            const auto status = property(control, handle, 7, Zel::PropertyGet, vendorInstance(0), 4);
            if (!written.result.ok || !status.result.ok || u32(status.value) != 0)
                failed = static_cast<int>(i);
        }
        property(control, handle, 7, Zel::PropertyGet, vendorInstance(6), 4);
        return failed;
    }

    Platform::SimMachine machine;
    Platform::SimDeviceControl control{machine};
};

} // namespace

TEST_F(SimulatedControl, PresentInterfacesAnswerTheProbeAndTheirDescriptor)
{
    machine.attach(controller(3, 1));
    machine.attach(controller(2, 2));
    const auto interfaces = control.presentInterfaces();
    ASSERT_EQ(interfaces.size(), 2u);
    const DeviceControl::Handle handle = control.open(interfaces[1].path);
    ASSERT_NE(handle, DeviceControl::InvalidHandle);
    EXPECT_TRUE(property(control, handle, 0, Zel::PropertySetSupport).result.ok);
    const auto descriptor = property(control, handle, 0, Zel::PropertyGet, {}, 18);
    ASSERT_TRUE(descriptor.result.ok);
    EXPECT_EQ(descriptor.result.returned, 18u);
    EXPECT_EQ(descriptor.value[10] | descriptor.value[11] << 8, 0x3F00);
    const auto small = property(control, handle, 0, Zel::PropertyGet, {}, 17);
    EXPECT_EQ(small.result.status, Zel::STATUS_BUFFER_TOO_SMALL);
    EXPECT_EQ(small.result.returned, 18u);
    control.close(handle);
    EXPECT_FALSE(property(control, handle, 0, Zel::PropertySetSupport).result.ok);
    EXPECT_EQ(property(control, handle, 0, Zel::PropertyGet, {}, 18).result.status, Zel::STATUS_INVALID_PARAMETER);
    EXPECT_EQ(control.open(L"\\\\?\\nothing"), DeviceControl::InvalidHandle);
}

// A handle closed on one thread while another still sends requests on it:
// the requests in flight finish, the later ones fail cleanly.
TEST_F(SimulatedControl, ClosingAHandleWhileRequestsRunIsSafe)
{
    machine.attach(controller());
    for (int round = 0; round < 50; ++round) {
        const DeviceControl::Handle handle = openFirst();
        ASSERT_NE(handle, DeviceControl::InvalidHandle);
        std::atomic<bool> answered{false};
        std::thread sender([&] {
            while (property(control, handle, 0, Zel::PropertyGet, {}, 18).result.ok)
                answered = true;
        });
        while (!answered)
            std::this_thread::yield();
        control.close(handle);
        sender.join();
    }
}

TEST_F(SimulatedControl, StringRequestAsTheUpdaterSendsIt)
{
    machine.attach(controller(3, 77));
    const auto handle = openFirst();
    Bytes value(130, 0);
    const auto reply = property(control, handle, 4, Zel::PropertyGet, {3, 0, 0x09, 0x04, 0, 0, 0, 0}, 130);
    ASSERT_TRUE(reply.result.ok);
    EXPECT_EQ(reply.result.returned, 2u + 2 * 11);
    EXPECT_EQ(reply.value[2], 'V');
    control.close(handle);
}

TEST_F(SimulatedControl, FirmwareUpdateThroughTheDriverInstallsTheNewVersion)
{
    auto device = controller();
    machine.attach(device);
    const auto handle = openFirst();
    EXPECT_TRUE(property(control, handle, Zel::PropertyLock, Zel::PropertySet).result.ok);
    const Bytes image = Sim::FirmwareUpdate::makeImage(0x3A6F, 0x0205, 1000);
    EXPECT_EQ(update(handle, image), -1);
    EXPECT_TRUE(property(control, handle, Zel::PropertyUnlock, Zel::PropertySet).result.ok);
    const auto version = property(control, handle, 7, Zel::PropertyGet, vendorInstance(1), 32);
    ASSERT_TRUE(version.result.ok);
    EXPECT_EQ(version.result.returned, 32u);
    EXPECT_EQ(version.value[6] | version.value[7] << 8, 0x0205);
    EXPECT_EQ(device->firmwareVersion(), 0x0205);
    control.close(handle);
}

struct FaultCase {
    const char *name;
    Sim::UsbFaults faults;
    int failedStep;
};

std::ostream &operator<<(std::ostream &out, const FaultCase &c) { return out << c.name; }

class UpdateFaults : public SimulatedControl, public testing::WithParamInterface<FaultCase>
{
};

TEST_P(UpdateFaults, StopTheUpdateAtTheirStep)
{
    auto device = controller(3, 1, GetParam().faults);
    machine.attach(device);
    const auto handle = openFirst();
    EXPECT_EQ(update(handle, Sim::FirmwareUpdate::makeImage(0x3A6F, 0x0205, 1000)), GetParam().failedStep);
    EXPECT_EQ(device->firmwareVersion(), Sim::ShippedRevision.version);
    control.close(handle);
}

INSTANTIATE_TEST_SUITE_P(SimulatedControl, UpdateFaults,
                         testing::Values(FaultCase{"failBlock", {{.failBlock = 3}}, 3},
                                         FaultCase{"refuseStart", {{.refuseStart = true}}, -2},
                                         FaultCase{"stallWrite", {{.stallRequest = 5}}, 0},
                                         FaultCase{"disconnect", {{.disconnectAtBlock = 4}}, 4}),
                         [](const auto &info) { return std::string(info.param.name); });
