#include "tests/driver/ConversionHelpers.h"
#include "tests/support/FakeDriverPlatform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

using namespace ZelTest;
using Zel::StreamState;

namespace {

std::uint32_t write(Zel::MidiStream *stream, const Bytes &bytes)
{
    std::uint32_t accepted = 0;
    EXPECT_EQ(stream->write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), accepted), Zel::STATUS_SUCCESS);
    return accepted;
}

void run(Zel::MidiStream *stream)
{
    ASSERT_EQ(stream->setState(StreamState::Acquire), Zel::STATUS_SUCCESS);
    ASSERT_EQ(stream->setState(StreamState::Pause), Zel::STATUS_SUCCESS);
    ASSERT_EQ(stream->setState(StreamState::Run), Zel::STATUS_SUCCESS);
}

std::string allNotesOff(std::uint8_t cable)
{
    Bytes packets;
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        for (auto [control, value] : {std::pair<int, int>{64, 0}, {120, 127}, {123, 127}}) {
            packets.insert(packets.end(),
                           {static_cast<std::uint8_t>(cable << 4 | 0x0B), static_cast<std::uint8_t>(0xB0 | channel),
                            static_cast<std::uint8_t>(control), static_cast<std::uint8_t>(value)});
        }
    }
    return text(packets);
}

class RenderStream : public testing::Test
{
protected:
    void TearDown() override
    {
        owner.fake.startCompleter(); // closing a running stream waits for its reset packets
        for (Zel::MidiStream *stream : streams)
            EXPECT_EQ(Zel::MidiStream::destroy(stream), Zel::STATUS_SUCCESS);
        owner.fake.stopCompleter();
    }
    Zel::MidiStream *open(std::uint8_t cable = 0)
    {
        Zel::MidiStream *stream = owner.open(false, cable);
        EXPECT_NE(stream, nullptr);
        streams.push_back(stream);
        return stream;
    }
    std::string sent() { return text(owner.fake.sentBytes()); }

    FakeStreamOwner owner; // 16-byte transfers: four packets each
    std::vector<Zel::MidiStream *> streams;
};

} // namespace

TEST_F(RenderStream, WriteBatchesPacketsPerCallAndFillsTransfers)
{
    Zel::MidiStream *stream = open();
    run(stream);
    EXPECT_EQ(write(stream, hex("90 3C 40 3D 40 3E 40 3F 40 40 40")), 11u);
    owner.fake.completeAllOut();
    EXPECT_EQ(sent(), "09 90 3C 40 09 90 3D 40 09 90 3E 40 09 90 3F 40 09 90 40 40");
    EXPECT_EQ(owner.fake.transferSizes(), (std::vector<std::uint32_t>{16, 4}));
}

TEST_F(RenderStream, BacklogFillsTo512BytesThenRefuses)
{
    Zel::MidiStream *stream = open();
    run(stream);
    // Two transfers in flight, none completed: nothing left to convert into.
    EXPECT_EQ(write(stream, hex("F8 F8")), 2u);
    EXPECT_EQ(owner.fake.pendingOut(), 2u);
    Bytes many(600, 0x01);
    EXPECT_EQ(write(stream, many), 512u);
    EXPECT_EQ(write(stream, hex("90 3C 40")), 0u);
}

TEST_F(RenderStream, CompletionDrainsTheBacklogInOrder)
{
    Zel::MidiStream *stream = open();
    run(stream);
    EXPECT_EQ(write(stream, hex("F8 F8")), 2u);
    EXPECT_EQ(write(stream, hex("F0 01 02 03 04 05 F7 C0 05")), 9u);
    EXPECT_EQ(write(stream, hex("06")), 1u); // still queued behind the backlog
    owner.fake.completeAllOut();
    EXPECT_EQ(sent(), "0F F8 00 00 0F F8 00 00 04 F0 01 02 04 03 04 05 05 F7 00 00 0C C0 05 00 0C C0 06 00");
}

TEST_F(RenderStream, CaptureOperationsRefusedOnRenderStream)
{
    Zel::MidiStream *stream = open();
    std::uint8_t buffer[4];
    std::uint32_t read = 7;
    EXPECT_EQ(stream->read(buffer, 4, read), Zel::STATUS_INVALID_DEVICE_REQUEST);
    EXPECT_EQ(read, 0u);
}

TEST_F(RenderStream, RunNeedsAStartedDevice)
{
    Zel::MidiStream *stream = open();
    owner.started = false;
    EXPECT_EQ(stream->setState(StreamState::Run), Zel::STATUS_DEVICE_NOT_CONNECTED);
}

TEST_F(RenderStream, WriteBeforeRunOnlyQueues)
{
    Zel::MidiStream *stream = open();
    EXPECT_EQ(write(stream, hex("90 3C 40")), 3u);
    EXPECT_EQ(owner.fake.pendingOut(), 0u);
}

TEST_F(RenderStream, SysExHolderBlocksOtherStreamsUntilItsTimeOut)
{
    Zel::MidiStream *a = open();
    Zel::MidiStream *b = open();
    run(a);
    run(b);
    EXPECT_EQ(write(a, hex("F0 01 02 03")), 4u);
    EXPECT_EQ(write(b, hex("90 3C 40")), 0u);
    owner.fake.advanceMs(1000); // exactly the time-out: still held
    EXPECT_EQ(write(b, hex("90 3C 40")), 0u);
    owner.fake.advanceMs(1);
    EXPECT_EQ(write(b, hex("90 3C 40")), 3u);
    // A lost the cable: its unfinished message is abandoned until a new status.
    EXPECT_EQ(write(a, hex("04 F7 C0 05")), 4u);
    owner.fake.completeAllOut();
    EXPECT_EQ(sent(), "04 F0 01 02 09 90 3C 40 0C C0 05 00");
}

TEST_F(RenderStream, HolderFinishingItsMessageFreesTheCable)
{
    Zel::MidiStream *a = open();
    Zel::MidiStream *b = open();
    run(a);
    run(b);
    EXPECT_EQ(write(a, hex("F0 01")), 2u);
    EXPECT_EQ(write(b, hex("90 3C 40")), 0u);
    EXPECT_EQ(write(a, hex("F7")), 1u);
    EXPECT_EQ(write(b, hex("90 3C 40")), 3u);
    owner.fake.completeAllOut();
    EXPECT_EQ(sent(), "07 F0 01 F7 09 90 3C 40");
}

TEST_F(RenderStream, RealTimeAfterAFinishedMessageDoesNotTakeTheCable)
{
    Zel::MidiStream *a = open();
    Zel::MidiStream *b = open();
    run(a);
    run(b);
    EXPECT_EQ(write(a, hex("F0 01 F7 F8 02")), 5u);
    EXPECT_EQ(write(b, hex("90 3C 40")), 3u);
    owner.fake.completeAllOut();
    EXPECT_EQ(sent(), "07 F0 01 F7 0F F8 00 00 09 90 3C 40");
}

TEST_F(RenderStream, BacklogOfAnotherStreamWaitsForAMessageTheBacklogStarted)
{
    Zel::MidiStream *a = open();
    Zel::MidiStream *b = open();
    run(a);
    run(b);
    EXPECT_EQ(write(a, hex("F8 F8")), 2u); // both transfers out: the next writes queue
    EXPECT_EQ(write(a, hex("F0 01 02 03 04")), 5u);
    EXPECT_EQ(write(b, hex("90 3C 40")), 3u);
    owner.fake.completeAllOut();
    EXPECT_EQ(write(a, hex("F7")), 1u);
    owner.fake.completeAllOut();
    EXPECT_EQ(sent(), "0F F8 00 00 0F F8 00 00 04 F0 01 02 07 03 04 F7 09 90 3C 40");
}

TEST_F(RenderStream, RegistryTimeOutReplacesTheDefault)
{
    owner.fake.dwords["Settings\\SysExTimeOutPeriod"] = 50;
    Zel::MidiStream *a = open();
    Zel::MidiStream *b = open();
    run(a);
    run(b);
    EXPECT_EQ(write(a, hex("F0 01")), 2u);
    owner.fake.advanceMs(51);
    EXPECT_EQ(write(b, hex("F8")), 1u);
}

TEST_F(RenderStream, StopFromAcquireSendsTheResetSequence)
{
    Zel::MidiStream *stream = open(1);
    run(stream);
    owner.fake.startCompleter();
    ASSERT_EQ(stream->setState(StreamState::Pause), Zel::STATUS_SUCCESS);
    ASSERT_EQ(stream->setState(StreamState::Acquire), Zel::STATUS_SUCCESS);
    ASSERT_EQ(stream->setState(StreamState::Stop), Zel::STATUS_SUCCESS);
    owner.fake.stopCompleter();
    EXPECT_EQ(sent(), allNotesOff(1));
    // Stopped: no transfers, writes only queue.
    EXPECT_EQ(write(stream, hex("90 3C 40")), 3u);
    EXPECT_EQ(owner.fake.pendingOut(), 0u);
}

TEST_F(RenderStream, ClosingTheLastRunningStreamSendsTheResetSequence)
{
    Zel::MidiStream *stream = owner.open(false);
    run(stream);
    owner.fake.startCompleter();
    EXPECT_EQ(Zel::MidiStream::destroy(stream), Zel::STATUS_SUCCESS);
    owner.fake.stopCompleter();
    EXPECT_EQ(sent(), allNotesOff(0));
    EXPECT_EQ(owner.openStreams.load(), 0);
}

TEST_F(RenderStream, StopWithoutEverRunningSendsNothing)
{
    Zel::MidiStream *stream = open();
    ASSERT_EQ(stream->setState(StreamState::Acquire), Zel::STATUS_SUCCESS);
    ASSERT_EQ(stream->setState(StreamState::Stop), Zel::STATUS_SUCCESS);
    EXPECT_EQ(sent(), "");
}

TEST_F(RenderStream, FailedSubmissionReturnsTheTransfer)
{
    Zel::MidiStream *stream = open();
    run(stream);
    owner.fake.failSubmissions = true;
    EXPECT_EQ(write(stream, hex("90 3C 40")), 3u);
    owner.fake.failSubmissions = false;
    EXPECT_EQ(write(stream, hex("90 3D 40")), 3u);
    owner.fake.completeAllOut();
    EXPECT_EQ(sent(), "09 90 3D 40");
}

// An endpoint whose packet size is no whole number of packets: OUT transfers
// carry whole packets only, so they fill up and leave, and closing the stream
// sends its reset sequence instead of waiting for room that never comes.
class UnevenPacketSize : public testing::TestWithParam<std::uint32_t>
{
};

TEST_P(UnevenPacketSize, ClosingSendsTheResetSequenceInWholePackets)
{
    const std::uint32_t size = GetParam();
    // Left allocated if the close never returns: its thread still uses it.
    auto *owner = new FakeStreamOwner(size, 1);
    Zel::MidiStream *stream = owner->open(false);
    ASSERT_NE(stream, nullptr);
    run(stream);
    owner->fake.startCompleter();
    std::packaged_task<Zel::NTSTATUS()> close([stream] { return Zel::MidiStream::destroy(stream); });
    std::future<Zel::NTSTATUS> closed = close.get_future();
    std::thread(std::move(close)).detach();
    ASSERT_EQ(closed.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "closing does not return";
    EXPECT_EQ(closed.get(), Zel::STATUS_SUCCESS);
    owner->fake.stopCompleter();
    EXPECT_EQ(text(owner->fake.sentBytes()), allNotesOff(0));
    for (std::uint32_t sent : owner->fake.transferSizes()) {
        EXPECT_EQ(sent % 4, 0u);
        EXPECT_LE(sent, size);
    }
    EXPECT_EQ(owner->in.transferSize(), size); // IN transfers still ask for the whole packet size
    delete owner;
}

INSTANTIATE_TEST_SUITE_P(RenderStream, UnevenPacketSize, testing::Values(6u, 10u, 12u, 16u));

TEST(StreamCreation, FailuresReportTheStreamClosedAgain)
{
    FakeStreamOwner owner(16, 2);
    Zel::MidiStream *stream = nullptr;
    EXPECT_EQ(Zel::MidiStream::create(owner, 1, 0x01, 2, false, nullptr, nullptr, stream),
              Zel::STATUS_DEVICE_CONFIGURATION_ERROR);
    EXPECT_EQ(Zel::MidiStream::create(owner, 1, 0x02, 0, false, nullptr, nullptr, stream),
              Zel::STATUS_DEVICE_CONFIGURATION_ERROR);
    EXPECT_EQ(Zel::MidiStream::create(owner, 2, 0x01, 0, false, nullptr, nullptr, stream),
              Zel::STATUS_DEVICE_CONFIGURATION_ERROR);
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(owner.openStreams.load(), 0);
}

namespace {

struct Notifications {
    std::vector<std::uint32_t> counts;
    static void notify(void *context, std::uint32_t available)
    {
        static_cast<Notifications *>(context)->counts.push_back(available);
    }
};

class CaptureStream : public testing::Test
{
protected:
    void SetUp() override
    {
        stream = owner.open(true, 0, &Notifications::notify, &notes);
        ASSERT_NE(stream, nullptr);
        owner.in.startReading();
    }
    void TearDown() override
    {
        owner.in.stopReading();
        Zel::MidiStream::destroy(stream);
    }
    std::string readAll()
    {
        std::uint8_t buffer[600];
        std::uint32_t read = 0;
        EXPECT_EQ(stream->read(buffer, sizeof buffer, read), Zel::STATUS_SUCCESS);
        return text(Bytes(buffer, buffer + read));
    }

    FakeStreamOwner owner{128};
    Notifications notes;
    Zel::MidiStream *stream = nullptr;
};

} // namespace

TEST_F(CaptureStream, ReadingKeepsFiveTransfersOut)
{
    EXPECT_EQ(owner.fake.pendingIn(), 5u);
    ASSERT_TRUE(owner.fake.completeIn(hex("04 43 01 02 06 03 04 00")));
    EXPECT_EQ(owner.fake.pendingIn(), 5u);
    EXPECT_EQ(notes.counts, (std::vector<std::uint32_t>{7}));
    EXPECT_EQ(readAll(), "F0 43 01 02 03 04 F7");
}

TEST_F(CaptureStream, PacketsForOtherCablesAndPartialPacketsIgnored)
{
    ASSERT_TRUE(owner.fake.completeIn(hex("19 90 3C 40 F9 90 3C 40 09 90 3D 40 09 90")));
    EXPECT_EQ(readAll(), "90 3D 40");
}

TEST_F(CaptureStream, FailedTransferLeavesTheRotation)
{
    ASSERT_TRUE(owner.fake.completeIn({}, Zel::STATUS_UNSUCCESSFUL));
    EXPECT_EQ(owner.fake.pendingIn(), 4u);
    EXPECT_TRUE(notes.counts.empty());
}

TEST_F(CaptureStream, FullFifoDropsFurtherBytes)
{
    Bytes packets;
    for (int i = 0; i < 32; ++i)
        packets.insert(packets.end(), {0x09, 0x90, 0x3C, 0x40});
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(owner.fake.completeIn(packets)); // 6 x 96 bytes > 512
    EXPECT_EQ(notes.counts.back(), 512u);
    EXPECT_EQ(readAll().size(), 512u * 3 - 1);
}

TEST_F(CaptureStream, RenderOperationsRefused)
{
    std::uint32_t accepted = 9;
    const std::uint8_t byte = 0xF8;
    EXPECT_EQ(stream->write(&byte, 1, accepted), Zel::STATUS_INVALID_DEVICE_REQUEST);
    EXPECT_EQ(accepted, 0u);
}

TEST_F(CaptureStream, StopReadingReturnsEveryTransfer)
{
    owner.in.stopReading();
    EXPECT_EQ(owner.fake.pendingIn(), 0u);
    owner.in.startReading();
    EXPECT_EQ(owner.fake.pendingIn(), 5u);
}
