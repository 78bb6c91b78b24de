#include "editor/core/DriverLookup.h"

#include "driver/UsbDescriptors.h"
#include "driver/contract/DeviceControlProperties.h"
#include "editor/core/model/DeviceModel.h"
#include "platform/sim/SimDeviceControl.h"
#include "platform/sim/SimMachine.h"
#include "simulator/usb/UsbController.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

using Platform::DeviceControl;

TEST(DriverLookup, ASimulatedMachineHasNoDriverFile)
{
    Platform::SimMachine machine;
    Platform::SimDeviceControl control(machine);
    ASSERT_GE(machine.attach(std::make_shared<Sim::UsbController>(Brisel::Model49, nullptr)), 0);
    EXPECT_EQ(Brisel::findDriverPath(control, Brisel::usbProductId(Brisel::Model49)), L"");
    const auto version = Brisel::fileVersionOf(control, L"");
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

TEST(DriverLookup, FirstProbedDeviceWithTheProductGivesTheServicePath)
{
    ScriptedControl control;
    control.devices = {{L"a", false, 0x3F01, L"other"},
                       {L"b", true, 0x3F00, L"other"},
                       {L"c", true, 0x3F01, L"zelumidi"},
                       {L"d", true, 0x3F01, L"second"}};
    control.binaries[L"zelumidi"] = L"\\SystemRoot\\system32\\drivers\\zelumidi.sys";
    EXPECT_EQ(Brisel::findDriverPath(control, 0x3F01), L"\\SystemRoot\\system32\\drivers\\zelumidi.sys");
    EXPECT_EQ(Brisel::findDriverPath(control, 0x3F06), L"");
    EXPECT_EQ(Brisel::findDriverPath(control, 0), L"");
    EXPECT_EQ(control.openHandles, 0);
    EXPECT_EQ(Brisel::fileVersionOf(control, L"x").part[0], 5);
}

TEST(DriverLookup, StopsAtTheFirstMatchEvenWithoutAPath)
{
    ScriptedControl control;
    control.devices = {{L"c", true, 0x3F01, L"unknown"}, {L"d", true, 0x3F01, L"zelumidi"}};
    control.binaries[L"zelumidi"] = L"driver.sys";
    EXPECT_EQ(Brisel::findDriverPath(control, 0x3F01), L"");
}
