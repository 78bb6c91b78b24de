#include "tests/support/SimTestSupport.h"

#include "platform/sim/SimDeviceControl.h"
#include "platform/sim/SimDriverPorts.h"

#include <gtest/gtest.h>

using namespace PlatformTest;

namespace {

// Collects what the receiver gets on the host thread.
struct Received {
    std::mutex lock;
    std::condition_variable changed;
    Bytes bytes;

    Platform::SimDriverPorts::BytesIn receiver()
    {
        return [this](const std::uint8_t *data, std::size_t length) {
            std::lock_guard<std::mutex> guard(lock);
            bytes.insert(bytes.end(), data, data + length);
            changed.notify_all();
        };
    }
    Bytes await(std::size_t count)
    {
        std::unique_lock<std::mutex> guard(lock);
        changed.wait_for(guard, std::chrono::seconds(5), [&] { return bytes.size() >= count; });
        return bytes;
    }
};

} // namespace

TEST(SimDriverPorts, IdentityExchangeThroughTheDriver)
{
    Platform::SimMachine machine;
    const int id = machine.attach(controller(3, 5));
    Platform::SimDriverPorts ports(machine, id);
    EXPECT_EQ(ports.portName(), "Vorpad 49");
    Received received;
    ASSERT_EQ(ports.openInput(received.receiver()), Platform::MMSYSERR_NOERROR);
    ASSERT_EQ(ports.openOutput(), Platform::MMSYSERR_NOERROR);
    const Bytes request = ScriptedFirmware::identityRequest();
    ASSERT_TRUE(ports.bytesOut(request.data(), request.size()));
    EXPECT_EQ(received.await(15), ScriptedFirmware::identityReply());
    ports.closeInput();
    ports.closeOutput();
    EXPECT_FALSE(ports.bytesOut(request.data(), request.size()));
}

TEST(SimDriverPorts, LockedDeviceRefusesToOpenUntilUnlocked)
{
    Platform::SimMachine machine;
    const int id = machine.attach(controller());
    Platform::SimDeviceControl control(machine);
    const auto handle = control.open(machine.controlInterfaces()[0].path);
    Platform::SimDriverPorts ports(machine, id);
    ASSERT_EQ(ports.openOutput(), Platform::MMSYSERR_NOERROR);
    EXPECT_EQ(property(control, handle, Zel::PropertyLock, Zel::PropertySet).result.status, Zel::STATUS_ACCESS_DENIED);
    ports.closeOutput();
    EXPECT_TRUE(property(control, handle, Zel::PropertyLock, Zel::PropertySet).result.ok);
    EXPECT_EQ(ports.openOutput(), Platform::MMSYSERR_ALLOCATED);
    EXPECT_EQ(ports.openInput(nullptr), Platform::MMSYSERR_ALLOCATED);
    EXPECT_TRUE(property(control, handle, Zel::PropertyUnlock, Zel::PropertySet).result.ok);
    EXPECT_EQ(ports.openOutput(), Platform::MMSYSERR_NOERROR);
    control.close(handle);
}

TEST(SimDriverPorts, DetachedDeviceIsNoLongerPresent)
{
    Platform::SimMachine machine;
    const int id = machine.attach(controller());
    Platform::SimDriverPorts ports(machine, id);
    ASSERT_EQ(ports.openOutput(), Platform::MMSYSERR_NOERROR);
    EXPECT_TRUE(ports.present());
    machine.detach(id);
    EXPECT_FALSE(ports.present());
    ports.closeOutput();
    EXPECT_EQ(ports.openOutput(), Platform::MMSYSERR_NODRIVER);
}
