#include "SimTestSupport.h"

#include "SimDeviceControl.h"
#include "usb/FirmwareUpdate.h"

#include <gtest/gtest.h>

#include <map>

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
        const auto start = property(control, handle, 7, Zel::PropertyGet,
                                    vendorInstance(4, static_cast<std::uint16_t>(image.size() >> 16),
                                                   static_cast<std::uint16_t>(image.size())),
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

TEST_F(SimulatedControl, presentInterfacesAnswerTheProbeAndTheirDescriptor)
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
    EXPECT_EQ(control.open(L"\\\\?\\nothing"), DeviceControl::InvalidHandle);
}

TEST_F(SimulatedControl, stringRequestAsTheUpdaterSendsIt)
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

TEST_F(SimulatedControl, firmwareUpdateThroughTheDriverInstallsTheNewVersion)
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

class UpdateFaults : public SimulatedControl, public testing::WithParamInterface<FaultCase> {};

TEST_P(UpdateFaults, stopTheUpdateAtTheirStep)
{
    auto device = controller(3, 1, GetParam().faults);
    machine.attach(device);
    const auto handle = openFirst();
    EXPECT_EQ(update(handle, Sim::FirmwareUpdate::makeImage(0x3A6F, 0x0205, 1000)), GetParam().failedStep);
    EXPECT_EQ(device->firmwareVersion(), 0x0100);
    control.close(handle);
}

Sim::UsbFaults faults(int failBlock, bool refuse, int stall, int disconnect)
{
    Sim::UsbFaults f;
    f.failBlock = failBlock;
    f.refuseStart = refuse;
    f.stallRequest = stall;
    f.disconnectAtBlock = disconnect;
    return f;
}

INSTANTIATE_TEST_SUITE_P(SimulatedControl, UpdateFaults,
                         testing::Values(FaultCase{"failBlock", faults(3, false, -1, -1), 3},
                                         FaultCase{"refuseStart", faults(-1, true, -1, -1), -2},
                                         FaultCase{"stallWrite", faults(-1, false, 5, -1), 0},
                                         FaultCase{"disconnect", faults(-1, false, -1, 4), 4}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(SimulatedControl, noDriverFileInASimulatedMachine)
{
    machine.attach(controller(3, 1));
    EXPECT_EQ(Platform::findDriverPath(control, 0x3F01), L"");
    const auto version = Platform::fileVersionOf(control, L"");
    EXPECT_EQ(version.part[0] + version.part[1] + version.part[2] + version.part[3], 0);
}

namespace {

// A control interface with scripted devices, to check the lookup's choices.
class ScriptedControl : public DeviceControl
{
public:
    struct Device {
        std::wstring instance;
        bool probe;
        int product;
        std::wstring service;
    };
    std::vector<Device> devices;
    std::map<std::wstring, std::wstring> binaries;
    int openHandles = 0;

    std::vector<Interface> presentInterfaces() override
    {
        std::vector<Interface> out;
        for (const Device &d : devices)
            out.push_back(Interface{d.instance, L"path:" + d.instance});
        return out;
    }
    Handle open(const std::wstring &path) override
    {
        for (std::size_t i = 0; i < devices.size(); ++i) {
            if (L"path:" + devices[i].instance == path) {
                ++openHandles;
                return static_cast<Handle>(i);
            }
        }
        return InvalidHandle;
    }
    Result propertyRequest(Handle handle, const std::uint8_t *input, std::uint32_t, std::uint8_t *output,
                           std::uint32_t outputSize) override
    {
        const Device &d = devices[static_cast<std::size_t>(handle)];
        Result result;
        const std::uint32_t flags = Zel::readU32(input + 20);
        if (flags == Zel::PropertySetSupport) {
            result.ok = d.probe;
            return result;
        }
        if (outputSize >= 18) {
            output[8] = 0x1E;
            output[9] = 0x04;
            output[10] = static_cast<std::uint8_t>(d.product);
            output[11] = static_cast<std::uint8_t>(d.product >> 8);
            result.ok = true;
            result.returned = 18;
        }
        return result;
    }
    void close(Handle) override { --openHandles; }
    std::wstring serviceName(const std::wstring &instance) override
    {
        for (const Device &d : devices) {
            if (d.instance == instance)
                return d.service;
        }
        return L"";
    }
    std::wstring serviceBinaryPath(const std::wstring &service) override { return binaries[service]; }
    FileVersion fileVersion(const std::wstring &) override
    {
        FileVersion v;
        v.part[0] = 5;
        return v;
    }
};

} // namespace

TEST(DriverLookup, firstProbedDeviceWithTheProductGivesTheServicePath)
{
    ScriptedControl control;
    control.devices = {{L"a", false, 0x3F01, L"other"},
                       {L"b", true, 0x3F00, L"other"},
                       {L"c", true, 0x3F01, L"zelumidi"},
                       {L"d", true, 0x3F01, L"second"}};
    control.binaries[L"zelumidi"] = L"\\SystemRoot\\system32\\drivers\\zelumidi.sys";
    EXPECT_EQ(Platform::findDriverPath(control, 0x3F01), L"\\SystemRoot\\system32\\drivers\\zelumidi.sys");
    EXPECT_EQ(Platform::findDriverPath(control, 0x3F06), L"");
    EXPECT_EQ(Platform::findDriverPath(control, 0), L"");
    EXPECT_EQ(control.openHandles, 0);
    EXPECT_EQ(Platform::fileVersionOf(control, L"x").part[0], 5);
}

TEST(DriverLookup, stopsAtTheFirstMatchEvenWithoutAPath)
{
    ScriptedControl control;
    control.devices = {{L"c", true, 0x3F01, L"unknown"}, {L"d", true, 0x3F01, L"zelumidi"}};
    control.binaries[L"zelumidi"] = L"driver.sys";
    EXPECT_EQ(Platform::findDriverPath(control, 0x3F01), L"");
}
