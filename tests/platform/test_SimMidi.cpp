#include "editor/core/MidiInPort.h"
#include "editor/core/MidiOutPort.h"
#include "platform/MidiSelection.h"
#include "platform/sim/SimMidi.h"
#include "simulator/Controller.h"
#include "tests/support/MidiInRecorder.h"
#include "tests/support/SimMidiControllerEndpoint.h"

#include <gtest/gtest.h>

#include <thread>

using namespace Platform;

namespace {

const Midi::LongMessage identityRequest(std::vector<Byte>{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7});

class SimMidiTest : public ::testing::Test
{
protected:
    SimMidiTest()
        : controller(std::make_shared<Sim::Controller>(25))
        , endpoint(std::make_shared<SimMidiControllerEndpoint>(controller))
        , midi({endpoint})
        , scope(midi)
    {
    }
    std::shared_ptr<Sim::Controller> controller;
    std::shared_ptr<SimMidiControllerEndpoint> endpoint;
    SimMidi midi;
    ScopedMidi scope;
};

TEST_F(SimMidiTest, PortPairIsNamedLikeTheController)
{
    EXPECT_EQ(midi.midiInGetNumDevs(), 1u);
    EXPECT_EQ(midi.midiOutGetNumDevs(), 1u);
    EXPECT_EQ(Midi::MidiInPort(0).name(), "Vorpad 25");
    EXPECT_EQ(Midi::MidiOutPort(0).name(), "Vorpad 25");
    std::string name;
    EXPECT_EQ(midi.midiInGetDevCaps(1, name), MMSYSERR_BADDEVICEID);
}

TEST_F(SimMidiTest, RepliesArriveOnTheEndpointsOwnThread)
{
    Midi::MidiInPort input(0);
    Midi::MidiOutPort output(0);
    MidiInRecorder waiter;
    input.attach(&waiter);
    ASSERT_TRUE(input.open() && output.open());
    ASSERT_TRUE(output.send(identityRequest));
    ASSERT_TRUE(waiter.waitFor(1));
    EXPECT_EQ(waiter.messages()[0].size(), 15u);
    EXPECT_NE(waiter.threads()[0], std::this_thread::get_id());
    input.close();
    input.detach(&waiter);
}

TEST_F(SimMidiTest, AnInputOpensOnlyOnce)
{
    Midi::MidiInPort first(0);
    Midi::MidiInPort second(0);
    EXPECT_TRUE(first.open());
    EXPECT_FALSE(second.open());
    first.close();
    EXPECT_TRUE(second.open());
}

TEST_F(SimMidiTest, ChunkedRepliesAreAssembled)
{
    controller->setFaults({.chunkSize = 1});
    Midi::MidiInPort input(0);
    Midi::MidiOutPort output(0);
    output.setMaxChunkSize(2);
    MidiInRecorder waiter;
    input.attach(&waiter);
    ASSERT_TRUE(input.open() && output.open());
    ASSERT_TRUE(output.send(identityRequest));
    ASSERT_TRUE(waiter.waitFor(1));
    EXPECT_EQ(waiter.messages()[0].size(), 15u);
    input.close();
    input.detach(&waiter);
}

TEST_F(SimMidiTest, ClosingWhileRepliesAreOnTheWayDropsThem)
{
    controller->setFaults({.replyDelay = std::chrono::milliseconds(20), .strayAfterReply = true});
    Midi::MidiInPort input(0);
    Midi::MidiOutPort output(0);
    MidiInRecorder waiter;
    input.attach(&waiter);
    ASSERT_TRUE(input.open() && output.open());
    for (int i = 0; i < 20; ++i)
        output.send(identityRequest);
    input.close();
    const std::size_t atClose = waiter.messages().size();
    ASSERT_TRUE(endpoint->waitUntilDelivered(std::chrono::seconds(5)));
    input.detach(&waiter);
    EXPECT_EQ(waiter.messages().size(), atClose);
}

} // namespace
