#include "tests/support/MidiInRecorder.h"
#include "tests/support/SimTestSupport.h"

#include "editor/core/MidiInPort.h"
#include "editor/core/MidiOutPort.h"
#include "platform/MidiSelection.h"
#include "platform/sim/SimulatedPlatform.h"
#include "simulator/Controller.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace PlatformTest;

namespace {

const Midi::LongMessage identityRequest(std::vector<Byte>{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7});

// The controller's state file goes to a temporary data directory.
struct TemporaryDataHome {
    TemporaryDataHome() { qputenv("XDG_DATA_HOME", directory.path().toUtf8()); }
    ~TemporaryDataHome() { qunsetenv("XDG_DATA_HOME"); }
    QTemporaryDir directory;
};

// One simulated machine serving the editor's MIDI ports and the control interface.
class SimulatedPlatformTest : public ::testing::Test
{
protected:
    // The updater's way: one control handle, opened before locking, serves the unlock too.
    void SetUp() override
    {
        Platform::DeviceControl &control = platform.deviceControl();
        ASSERT_EQ(control.presentInterfaces().size(), 1u);
        m_control = control.open(control.presentInterfaces()[0].path);
        ASSERT_NE(m_control, Platform::DeviceControl::InvalidHandle);
    }
    void TearDown() override { platform.deviceControl().close(m_control); }

    Zel::NTSTATUS lock(bool on)
    {
        const std::uint32_t id = on ? Zel::PropertyLock : Zel::PropertyUnlock;
        return property(platform.deviceControl(), m_control, id, Zel::PropertySet).result.status;
    }

    TemporaryDataHome dataHome;
    Platform::SimulatedPlatform platform{49};
    Platform::ScopedMidi scope{platform.midi()};

private:
    Platform::DeviceControl::Handle m_control = Platform::DeviceControl::InvalidHandle;
};

TEST_F(SimulatedPlatformTest, IdentityExchangeCrossesTheBusAsPackets)
{
    Midi::MidiInPort input(0);
    Midi::MidiOutPort output(0);
    EXPECT_EQ(output.name(), "Vorpad 49");
    MidiInRecorder replies;
    input.attach(&replies);
    ASSERT_TRUE(input.open() && output.open());
    ASSERT_TRUE(output.send(identityRequest));
    const std::vector<Bytes> received = replies.await(1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].size(), 15u);
    EXPECT_EQ(received[0][2], platform.controller().deviceId());
    // Request: two packets out; reply: five packets in.
    EXPECT_EQ(platform.machine().traffic().outBytes, 2u * 4u);
    EXPECT_EQ(platform.machine().traffic().inBytes, 5u * 4u);
    input.close();
    input.detach(&replies);
    // Closing the output stops the render stream, which silences every channel.
    output.close();
    EXPECT_EQ(platform.machine().traffic().outBytes, (2u + 48u) * 4u);
}

TEST_F(SimulatedPlatformTest, LockRefusesWhilePortsAreOpenThenKeepsThemShutUntilUnlock)
{
    Midi::MidiInPort input(0);
    Midi::MidiOutPort output(0);
    ASSERT_TRUE(input.open() && output.open());
    EXPECT_EQ(lock(true), Zel::STATUS_ACCESS_DENIED);
    output.close();
    EXPECT_EQ(lock(true), Zel::STATUS_ACCESS_DENIED) << "the input is still open";
    input.close();
    EXPECT_EQ(lock(true), Zel::STATUS_SUCCESS);

    EXPECT_FALSE(output.open());
    EXPECT_FALSE(input.open());
    EXPECT_EQ(lock(false), Zel::STATUS_SUCCESS);
    EXPECT_TRUE(output.open());
    EXPECT_TRUE(input.open());
    EXPECT_EQ(lock(true), Zel::STATUS_ACCESS_DENIED);
    input.close();
    output.close();
}

} // namespace
