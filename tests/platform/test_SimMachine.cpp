#include "tests/support/SimTestSupport.h"

#include "platform/sim/SimDeviceControl.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

using namespace PlatformTest;
using Platform::SimMachine;

namespace {

std::vector<std::string> portNames(const SimMachine &machine)
{
    std::vector<std::string> names;
    for (const SimMachine::Port &port : machine.ports())
        names.push_back(port.subdevice + "=" + port.name + (port.capture ? " (in)" : ""));
    return names;
}

const SimMachine::Port *findPort(const std::vector<SimMachine::Port> &ports, const std::string &subdevice, int device)
{
    for (const SimMachine::Port &port : ports) {
        if (port.subdevice == subdevice && port.device == device)
            return &port;
    }
    return nullptr;
}

class Machine : public testing::Test
{
protected:
    // Opens OUT00 and IN00 of a device and runs both streams.
    void openStreams(int device)
    {
        const auto ports = machine.ports();
        ASSERT_EQ(machine.openPort(*findPort(ports, "IN00", device), collector.notify(), capture), Zel::STATUS_SUCCESS);
        collector.attach(capture.get());
        ASSERT_EQ(machine.openPort(*findPort(ports, "OUT00", device), nullptr, render), Zel::STATUS_SUCCESS);
        for (auto *stream : {render.get(), capture.get()}) {
            ASSERT_EQ(stream->setState(Zel::StreamState::Acquire), Zel::STATUS_SUCCESS);
            ASSERT_EQ(stream->setState(Zel::StreamState::Pause), Zel::STATUS_SUCCESS);
            ASSERT_EQ(stream->setState(Zel::StreamState::Run), Zel::STATUS_SUCCESS);
        }
    }
    void closeStreams()
    {
        render.reset();
        capture.reset();
    }

    SimMachine machine;
    Collector collector;
    std::unique_ptr<Platform::SimDriverStream> render;
    std::unique_ptr<Platform::SimDriverStream> capture;
};

} // namespace

TEST_F(Machine, PublishesPortsNamedByTheDriverAndTheControlInterface)
{
    const int id = machine.attach(controller(3, 12));
    ASSERT_GT(id, 0);
    EXPECT_EQ(portNames(machine),
              (std::vector<std::string>{"OUT00=Vorpad 49", "OUT01=Vorpad 49 MIDI Out", "IN00=Vorpad 49 (in)"}));
    const auto controls = machine.controlInterfaces();
    ASSERT_EQ(controls.size(), 1u);
    EXPECT_EQ(controls[0].instanceId, L"USB\\VID_041E&PID_3F01\\VP49-000012");
    EXPECT_EQ(controls[0].path,
              L"\\\\?\\USB#VID_041E&PID_3F01#VP49-000012#{50894fa4-9206-4a91-8728-cf6f268f271d}\\DeviceControl");
}

TEST_F(Machine, IdentityRequestAndReplyCrossTheBusAsPackets)
{
    const int id = machine.attach(controller());
    openStreams(id);
    ASSERT_TRUE(writeAll(*render, ScriptedFirmware::identityRequest()));
    EXPECT_EQ(collector.await(15), ScriptedFirmware::identityReply());
    closeStreams();
}

TEST_F(Machine, DelayedAnswerArrivesWhenDue)
{
    const int id = machine.attach(controller(3, 1, Sim::UsbFaults(), std::chrono::milliseconds(30)));
    openStreams(id);
    const auto sent = std::chrono::steady_clock::now();
    ASSERT_TRUE(writeAll(*render, ScriptedFirmware::identityRequest()));
    EXPECT_EQ(collector.await(15), ScriptedFirmware::identityReply());
    EXPECT_GE(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(30));
    closeStreams();
}

TEST_F(Machine, LongSysExRoundTripsIntact)
{
    const int id = machine.attach(controller());
    openStreams(id);
    Bytes message = {0xF0, 0x18, 0x42, 0x10, 0x02, 0x11};
    for (int i = 0; i < 2000; ++i)
        message.push_back(static_cast<std::uint8_t>(i % 128));
    message.push_back(0xF7);
    ASSERT_TRUE(writeAll(*render, message));
    EXPECT_EQ(collector.await(message.size()), message);
    closeStreams();
}

TEST_F(Machine, SecondControllerGetsItsOwnPortsAndInterface)
{
    const int first = machine.attach(controller(3, 1));
    const int second = machine.attach(controller(4, 2));
    ASSERT_GT(second, first);
    EXPECT_EQ(machine.ports().size(), 6u);
    EXPECT_EQ(machine.controlInterfaces().size(), 2u);
    EXPECT_NE(findPort(machine.ports(), "OUT00", second), nullptr);
    EXPECT_EQ(findPort(machine.ports(), "OUT00", second)->name, "Vorpad 61");
}

TEST_F(Machine, CorruptDescriptorFailsTheStart)
{
    Sim::UsbFaults faults;
    faults.corruptDescriptor = true;
    Zel::NTSTATUS status = 0;
    EXPECT_EQ(machine.attach(controller(3, 1, faults), &status), -1);
    EXPECT_EQ(status, Zel::STATUS_DEVICE_CONFIGURATION_ERROR);
    EXPECT_TRUE(machine.ports().empty());
    EXPECT_TRUE(machine.controlInterfaces().empty());
}

TEST_F(Machine, LockRefusedWhileAPortIsOpenThenOpeningFailsUntilUnlock)
{
    const int id = machine.attach(controller());
    Platform::SimDeviceControl control(machine);
    const auto handle = control.open(machine.controlInterfaces()[0].path);
    ASSERT_NE(handle, Platform::DeviceControl::InvalidHandle);
    openStreams(id);
    EXPECT_EQ(property(control, handle, Zel::PropertyLock, Zel::PropertySet).result.status, Zel::STATUS_ACCESS_DENIED);
    closeStreams();
    EXPECT_TRUE(property(control, handle, Zel::PropertyLock, Zel::PropertySet).result.ok);
    std::unique_ptr<Platform::SimDriverStream> stream;
    EXPECT_EQ(machine.openPort(*findPort(machine.ports(), "OUT00", id), nullptr, stream),
              Zel::STATUS_INVALID_DEVICE_REQUEST);
    EXPECT_EQ(control.open(machine.controlInterfaces()[0].path), Platform::DeviceControl::InvalidHandle);
    // The locking handle keeps working.
    EXPECT_TRUE(property(control, handle, Zel::PropertyDeviceDescriptor, Zel::PropertyGet, {}, 18).result.ok);
    EXPECT_TRUE(property(control, handle, Zel::PropertyUnlock, Zel::PropertySet).result.ok);
    EXPECT_EQ(machine.openPort(*findPort(machine.ports(), "OUT00", id), nullptr, stream), Zel::STATUS_SUCCESS);
    control.close(handle);
}

TEST_F(Machine, DetachIsASurpriseRemoval)
{
    const int id = machine.attach(controller());
    Platform::SimDeviceControl control(machine);
    const auto handle = control.open(machine.controlInterfaces()[0].path);
    openStreams(id);
    machine.detach(id);
    EXPECT_TRUE(machine.ports().empty());
    EXPECT_TRUE(machine.controlInterfaces().empty());
    // Open streams keep working against a device that is gone.
    EXPECT_TRUE(writeAll(*render, ScriptedFirmware::identityRequest()));
    EXPECT_FALSE(
        property(control, handle, Zel::PropertyControlRequest, Zel::PropertyGet, vendorInstance(0), 4).result.ok);
    closeStreams();
    EXPECT_EQ(property(control, handle, Zel::PropertyDeviceDescriptor, Zel::PropertyGet, {}, 18).result.status,
              Zel::STATUS_DEVICE_NOT_CONNECTED);
    control.close(handle);
}

TEST_F(Machine, LanguageFileFromTheRegistryNamesThePorts)
{
    const std::string path = testing::TempDir() + "vorpad_lang.ini";
    {
        std::ofstream file(path, std::ios::binary);
        file << "[USB\\VID_041E&PID_3F01.LANGID]\r\n1=0407\r\n"
                "[USB\\VID_041E&PID_3F01.0407]\r\n2=\"\\4B\\00\\6C\\00\\61\\00\\76\\00\"\r\n";
    }
    machine.registry().setString("Language", "LANGFILE", path);
    machine.registry().setString("Language", "LANGID", "0407");
    machine.attach(controller());
    EXPECT_EQ(portNames(machine)[0], "OUT00=Klav");
    std::remove(path.c_str());
}

TEST(MachineLifetime, StreamLeftOpenOutlivesTheMachine)
{
    std::unique_ptr<Platform::SimDriverStream> stream;
    {
        SimMachine machine;
        const int id = machine.attach(controller());
        ASSERT_EQ(machine.openPort(*findPort(machine.ports(), "OUT00", id), nullptr, stream), Zel::STATUS_SUCCESS);
        ASSERT_EQ(stream->setState(Zel::StreamState::Run), Zel::STATUS_SUCCESS);
    }
    EXPECT_TRUE(writeAll(*stream, ScriptedFirmware::identityRequest()));
    stream.reset();
}
