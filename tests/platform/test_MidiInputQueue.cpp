#include "platform/MidiInputQueue.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

using namespace Platform;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct Returned {
    unsigned message;
    Bytes bytes;
    std::uintptr_t packed;
};

struct Buffers {
    std::array<std::array<char, 256>, 4> data{};
    std::array<MidiHeader, 4> headers{};
    std::vector<Returned> returned;

    static void callback(MidiInHandle, unsigned message, std::uintptr_t instance, std::uintptr_t p1, std::uintptr_t)
    {
        auto *self = reinterpret_cast<Buffers *>(instance);
        if (message == MIM_DATA) {
            self->returned.push_back({message, {}, p1});
            return;
        }
        auto *h = reinterpret_cast<MidiHeader *>(p1);
        self->returned.push_back({message, Bytes(h->lpData, h->lpData + h->dwBytesRecorded), 0});
    }

    void queueAll(MidiInputQueue &queue, std::size_t count = 4)
    {
        for (std::size_t i = 0; i < count; ++i) {
            headers[i].lpData = data[i].data();
            headers[i].dwBufferLength = 256;
            headers[i].dwFlags = MHDR_PREPARED;
            ASSERT_EQ(queue.add(&headers[i]), MMSYSERR_NOERROR);
        }
    }
};

Bytes sysEx(std::size_t length)
{
    Bytes bytes(length, 0x22);
    bytes.front() = 0xF0;
    bytes.back() = 0xF7;
    return bytes;
}

class MidiInputQueueTest : public ::testing::Test
{
protected:
    MidiInputQueueTest() : queue(nullptr, &Buffers::callback, reinterpret_cast<std::uintptr_t>(&buffers)) {}
    Buffers buffers;
    MidiInputQueue queue;
};

TEST_F(MidiInputQueueTest, NothingIsDeliveredBeforeStart)
{
    buffers.queueAll(queue);
    queue.feedLongData(sysEx(5).data(), 5);
    EXPECT_TRUE(buffers.returned.empty());
}

struct FillCase {
    const char *name;
    std::vector<Bytes> feeds;
    std::vector<std::size_t> returnedSizes;
};

class QueueFilling : public MidiInputQueueTest, public ::testing::WithParamInterface<FillCase>
{
};

TEST_P(QueueFilling, ReturnsBuffersWhenFullAtEachEndAndAtEachChunksEnd)
{
    buffers.queueAll(queue);
    queue.start();
    Bytes all;
    for (const Bytes &feed : GetParam().feeds) {
        queue.feedLongData(feed.data(), feed.size());
        all.insert(all.end(), feed.begin(), feed.end());
    }
    std::vector<std::size_t> sizes;
    Bytes joined;
    for (const Returned &r : buffers.returned) {
        EXPECT_EQ(r.message, unsigned(MIM_LONGDATA));
        sizes.push_back(r.bytes.size());
        joined.insert(joined.end(), r.bytes.begin(), r.bytes.end());
    }
    EXPECT_EQ(sizes, GetParam().returnedSizes);
    EXPECT_EQ(joined, Bytes(all.begin(), all.begin() + std::ptrdiff_t(joined.size())));
}

Bytes twoMessages()
{
    Bytes bytes = sysEx(3);
    Bytes second = sysEx(4);
    bytes.insert(bytes.end(), second.begin(), second.end());
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(Cases, QueueFilling,
                         ::testing::Values(FillCase{"Short", {sysEx(9)}, {9}},
                                           FillCase{"OverTwoBuffers", {sysEx(361)}, {256, 105}},
                                           FillCase{"TwoMessagesInOneFeed", {twoMessages()}, {3, 4}},
                                           FillCase{"Pieces", {{0xF0, 1}, {2, 0xF7}}, {2, 2}},
                                           FillCase{"MoreThanTheQueueHolds", {sysEx(1100)}, {256, 256, 256, 256}}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(MidiInputQueueTest, ResetReturnsEveryQueuedBufferEmpty)
{
    buffers.queueAll(queue, 3);
    queue.start();
    queue.reset();
    ASSERT_EQ(buffers.returned.size(), 3u);
    for (const Returned &r : buffers.returned)
        EXPECT_TRUE(r.bytes.empty());
    EXPECT_TRUE(queue.isEmpty());
    EXPECT_TRUE(buffers.headers[0].dwFlags & MHDR_DONE);
    EXPECT_FALSE(buffers.headers[0].dwFlags & MHDR_INQUEUE);
    queue.feedLongData(sysEx(3).data(), 3);
    EXPECT_EQ(buffers.returned.size(), 3u) << "a reset port is stopped";
}

TEST_F(MidiInputQueueTest, RefusesUnpreparedAndAlreadyQueuedBuffers)
{
    MidiHeader header;
    char block[8];
    header.lpData = block;
    header.dwBufferLength = 8;
    EXPECT_EQ(queue.add(&header), MIDIERR_UNPREPARED);
    header.dwFlags = MHDR_PREPARED;
    EXPECT_EQ(queue.add(&header), MMSYSERR_NOERROR);
    EXPECT_EQ(queue.add(&header), MIDIERR_STILLPLAYING);
    EXPECT_EQ(queue.add(nullptr), MMSYSERR_INVALPARAM);
}

TEST_F(MidiInputQueueTest, ShortMessagesArriveAsData)
{
    queue.start();
    queue.feedShortMessage(0x7F3C90);
    ASSERT_EQ(buffers.returned.size(), 1u);
    EXPECT_EQ(buffers.returned[0].message, unsigned(MIM_DATA));
    EXPECT_EQ(buffers.returned[0].packed, 0x7F3C90u);
}

// The callback below holds the delivering thread until released.
struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool entered = false;
    bool released = false;
    std::atomic<bool> finished{false};

    static void callback(MidiInHandle, unsigned, std::uintptr_t instance, std::uintptr_t, std::uintptr_t)
    {
        auto *gate = reinterpret_cast<Gate *>(instance);
        std::unique_lock lock(gate->mutex);
        gate->entered = true;
        gate->changed.notify_all();
        gate->changed.wait(lock, [gate] { return gate->released; });
        gate->finished = true;
    }
};

TEST(MidiInputQueueStop, WaitsForTheRunningCallback)
{
    Gate gate;
    MidiInputQueue queue(nullptr, &Gate::callback, reinterpret_cast<std::uintptr_t>(&gate));
    queue.start();
    std::thread reader([&] { queue.feedShortMessage(0x90); });
    {
        std::unique_lock lock(gate.mutex);
        gate.changed.wait(lock, [&] { return gate.entered; });
    }
    bool finishedWhenStopped = false;
    std::thread stopper([&] {
        queue.stop();
        finishedWhenStopped = gate.finished;
    });
    {
        std::lock_guard lock(gate.mutex);
        gate.released = true;
    }
    gate.changed.notify_all();
    stopper.join();
    reader.join();
    EXPECT_TRUE(finishedWhenStopped);
}

} // namespace
