#include "editor/core/MidiInPort.h"
#include "editor/core/MidiOutPort.h"
#include "platform/MidiSelection.h"
#include "tests/support/MidiInRecorder.h"
#include "tests/support/RecordingMidi.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>

using namespace Midi;
using ::testing::ElementsAre;

namespace {

std::vector<Byte> sysEx(std::size_t length, Byte fill = 0x11)
{
    std::vector<Byte> bytes(length, fill);
    bytes.front() = 0xF0;
    bytes.back() = 0xF7;
    return bytes;
}

class MidiPortTest : public ::testing::Test
{
protected:
    MidiPortTest() : m_scope(fake)
    {
        fake.inputNames = {"Vorpad 49", "Other"};
        fake.outputNames = {"Vorpad 49"};
    }
    RecordingMidi fake;

private:
    Platform::ScopedMidi m_scope;
};

TEST_F(MidiPortTest, OpenPreparesAndQueuesEightBuffersThenStarts)
{
    MidiInPort port(1);
    ASSERT_TRUE(port.open());
    EXPECT_TRUE(port.isOpen());
    std::vector<std::string> expected = {"midiInGetNumDevs", "midiInOpen"};
    expected.insert(expected.end(), 8, "midiInPrepareHeader");
    expected.insert(expected.end(), 8, "midiInAddBuffer");
    expected.push_back("midiInStart");
    EXPECT_EQ(fake.names(), expected);
    EXPECT_EQ(fake.queued.size(), 8u);
    EXPECT_EQ(fake.queued.front()->dwBufferLength, 256u);

    fake.calls.clear();
    EXPECT_TRUE(port.open());
    EXPECT_TRUE(fake.calls.empty()) << "a second open changes nothing";
}

TEST_F(MidiPortTest, OpenWithIndexEqualToDeviceCountFailsWithoutOpening)
{
    MidiInPort port(2);
    EXPECT_FALSE(port.open());
    EXPECT_EQ(fake.countOf("midiInOpen"), 0);
    EXPECT_FALSE(port.isOpen());
}

TEST_F(MidiPortTest, FailedOpenLeavesPortClosed)
{
    fake.failCall("midiInOpen");
    MidiInPort port(0);
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.isOpen());
}

TEST_F(MidiPortTest, PrepareFailureFreesBuffersAndCloses)
{
    fake.failCall("midiInPrepareHeader", 3);
    MidiInPort port(0);
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(fake.countOf("midiInUnprepareHeader"), 3);
    EXPECT_EQ(fake.countOf("midiInClose"), 1);
    EXPECT_EQ(fake.countOf("midiInStart"), 0);
}

TEST_F(MidiPortTest, QueueFailureStopsResetsFreesAndCloses)
{
    fake.failCall("midiInAddBuffer", 2);
    MidiInPort port(0);
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(fake.countOf("midiInStop"), 1);
    EXPECT_EQ(fake.countOf("midiInReset"), 1);
    EXPECT_EQ(fake.countOf("midiInUnprepareHeader"), 8);
    EXPECT_EQ(fake.countOf("midiInClose"), 1);
}

TEST_F(MidiPortTest, CloseReturnsEmptyBuffersWithoutQueueingThemAgain)
{
    MidiInPort port(0);
    ASSERT_TRUE(port.open());
    fake.calls.clear();
    port.close();
    std::vector<std::string> expected = {"midiInStop", "midiInReset"};
    expected.insert(expected.end(), 8, "midiInUnprepareHeader");
    expected.push_back("midiInClose");
    EXPECT_EQ(fake.names(), expected);
    EXPECT_FALSE(port.isOpen());
}

TEST_F(MidiPortTest, SysExOverTwoBuffersIsDeliveredOnceWhole)
{
    MidiInPort port(0);
    MidiInRecorder collector;
    port.attach(&collector);
    ASSERT_TRUE(port.open());
    const std::vector<Byte> message = sysEx(361);
    ASSERT_TRUE(fake.deliver({message.begin(), message.begin() + 256}));
    EXPECT_TRUE(collector.messages().empty());
    ASSERT_TRUE(fake.deliver({message.begin() + 256, message.end()}));
    ASSERT_EQ(collector.messages().size(), 1u);
    EXPECT_EQ(collector.messages()[0], message);
    // Both buffers went back to the queue, emptied.
    EXPECT_EQ(fake.countOf("midiInAddBuffer"), 10);
    EXPECT_EQ(fake.queued.back()->dwBytesRecorded, 0u);
    EXPECT_EQ(fake.queued.back()->lpData[0], 0);
    port.detach(&collector);
    port.close();
}

TEST_F(MidiPortTest, ShortMessagesAreNeverDelivered)
{
    MidiInPort port(0);
    MidiInRecorder collector;
    port.attach(&collector);
    ASSERT_TRUE(port.open());
    fake.sendShortMessage(0x7F3C90);
    fake.deliver({0x90, 0x3C, 0x7F});
    EXPECT_TRUE(collector.messages().empty());
    fake.deliver({0xF0, 0x01, 0xF7});
    EXPECT_EQ(collector.messages().size(), 1u);
    port.detach(&collector);
}

TEST_F(MidiPortTest, ObserversReceiveInAttachOrderUntilDetached)
{
    MidiInPort port(0);
    std::vector<std::string> log;
    MidiInRecorder first(&log, "first");
    MidiInRecorder second(&log, "second");
    port.attach(&first);
    port.attach(&second);
    ASSERT_TRUE(port.open());
    fake.deliver({0xF0, 0x01, 0xF7});
    EXPECT_THAT(log, ElementsAre("first", "second"));
    port.detach(&first);
    fake.deliver({0xF0, 0x02, 0xF7});
    EXPECT_THAT(log, ElementsAre("first", "second", "second"));
    port.detach(&second);
}

TEST_F(MidiPortTest, SinkSlotKeepsItsFirstOwner)
{
    MidiInPort port(0);
    auto other = [](const LongMessage &, void *) {};
    EXPECT_FALSE(port.setSink(other, nullptr)) << "the port's own dispatcher holds the slot";
    EXPECT_FALSE(port.clearSink(other)) << "only the stored function clears it";
}

TEST_F(MidiPortTest, NameComesFromTheDeviceCapabilities)
{
    EXPECT_EQ(MidiInPort(1).name(), "Other");
    EXPECT_EQ(MidiInPort(2).name(), "");
    fake.failCall("midiInGetDevCaps");
    EXPECT_EQ(MidiInPort(0).name(), "");
    EXPECT_EQ(MidiOutPort(0).name(), "Vorpad 49");
    EXPECT_EQ(MidiOutPort(1).name(), "");
}

TEST_F(MidiPortTest, IndexValidity)
{
    EXPECT_TRUE(MidiInPort::isValidIndex(1));
    EXPECT_FALSE(MidiInPort::isValidIndex(2));
    EXPECT_FALSE(MidiInPort::isValidIndex(-1));
    EXPECT_TRUE(MidiOutPort::isValidIndex(0));
    EXPECT_FALSE(MidiOutPort::isValidIndex(1));
}

TEST_F(MidiPortTest, SendingAnEmptyMessageFailsAndCallsNothing)
{
    MidiOutPort port(0);
    ASSERT_TRUE(port.open());
    fake.calls.clear();
    EXPECT_FALSE(port.send(LongMessage()));
    EXPECT_TRUE(fake.calls.empty());
}

struct ChunkCase {
    int maxChunk;
    std::size_t length;
    std::vector<std::size_t> chunks;
};

class MidiOutChunkTest : public MidiPortTest, public ::testing::WithParamInterface<ChunkCase>
{
};

TEST_P(MidiOutChunkTest, SplitsIntoChunksOfAtMostTheMaximum)
{
    MidiOutPort port(0);
    port.setMaxChunkSize(GetParam().maxChunk);
    ASSERT_TRUE(port.open());
    const std::vector<Byte> message = sysEx(GetParam().length);
    EXPECT_TRUE(port.send(LongMessage(message)));
    std::vector<std::size_t> sizes;
    std::vector<Byte> joined;
    for (const auto &chunk : fake.sentMessages()) {
        sizes.push_back(chunk.size());
        joined.insert(joined.end(), chunk.begin(), chunk.end());
    }
    EXPECT_EQ(sizes, GetParam().chunks);
    EXPECT_EQ(joined, message);
    EXPECT_EQ(fake.countOf("midiOutUnprepareHeader"), int(sizes.size())) << "every done buffer is released";
}

INSTANTIATE_TEST_SUITE_P(Sizes, MidiOutChunkTest,
                         ::testing::Values(ChunkCase{100, 361, {100, 100, 100, 61}}, ChunkCase{INT_MAX, 361, {361}},
                                           ChunkCase{361, 361, {361}}, ChunkCase{1, 3, {1, 1, 1}},
                                           ChunkCase{8, 9, {8, 1}}));

TEST_F(MidiPortTest, SendStopsAtTheFirstFailingChunk)
{
    MidiOutPort port(0);
    port.setMaxChunkSize(100);
    ASSERT_TRUE(port.open());
    fake.failCall("midiOutLongMsg", 1);
    EXPECT_FALSE(port.send(LongMessage(sysEx(361))));
    EXPECT_EQ(fake.countOf("midiOutLongMsg"), 2);
}

TEST_F(MidiPortTest, FailedPrepareSendsNothing)
{
    MidiOutPort port(0);
    ASSERT_TRUE(port.open());
    fake.failCall("midiOutPrepareHeader");
    EXPECT_FALSE(port.send(LongMessage(sysEx(9))));
    EXPECT_EQ(fake.countOf("midiOutLongMsg"), 0);
}

TEST_F(MidiPortTest, OutputBuffersLiveUntilTheDriverReturnsThem)
{
    fake.autoDone = false;
    MidiOutPort port(0);
    port.setMaxChunkSize(4);
    ASSERT_TRUE(port.open());
    const std::vector<Byte> message = sysEx(9);
    EXPECT_TRUE(port.send(LongMessage(message)));
    ASSERT_EQ(fake.outstanding.size(), 3u);
    EXPECT_EQ(fake.outstanding[2]->lpData[0], char(0xF7)) << "the block is still intact";
    EXPECT_EQ(fake.countOf("midiOutUnprepareHeader"), 0);
    fake.returnOutputBuffers();
    EXPECT_EQ(fake.countOf("midiOutUnprepareHeader"), 3);
}

TEST_F(MidiPortTest, CloseResetsFirstSoPendingBuffersComeBack)
{
    fake.autoDone = false;
    MidiOutPort port(0);
    port.setMaxChunkSize(4);
    ASSERT_TRUE(port.open());
    EXPECT_TRUE(port.send(LongMessage(sysEx(9))));
    ASSERT_EQ(fake.outstanding.size(), 3u);
    port.close();
    const std::vector<std::string> names = fake.names();
    const std::vector<std::string> tail(names.end() - 5, names.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"midiOutReset", "midiOutUnprepareHeader", "midiOutUnprepareHeader",
                                              "midiOutUnprepareHeader", "midiOutClose"}));
    EXPECT_TRUE(fake.outstanding.empty());
}

TEST_F(MidiPortTest, OutputOpenAndCloseOnce)
{
    MidiOutPort port(0);
    EXPECT_TRUE(port.open());
    EXPECT_TRUE(port.open());
    EXPECT_EQ(fake.countOf("midiOutOpen"), 1);
    port.close();
    port.close();
    EXPECT_EQ(fake.countOf("midiOutClose"), 1);
    EXPECT_FALSE(port.isOpen());
}

} // namespace
