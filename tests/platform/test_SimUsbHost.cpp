#include "tests/support/SimTestSupport.h"

#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimUsbHost.h"

#include <gtest/gtest.h>

using namespace PlatformTest;

namespace {

// Bulk transfers submitted straight to the host; the first one that brings
// data aborts the pipe from its completion, as a driver that stops reading may.
struct Transfers {
    static constexpr int Count = 3;
    Platform::SimUsbHost::Device *device = nullptr;
    std::mutex lock;
    std::condition_variable changed;
    Zel::BulkRequest requests[Count];
    std::uint8_t buffers[Count][64] = {};
    std::vector<Zel::NTSTATUS> results;

    static void completed(Zel::BulkRequest &request, void *context)
    {
        auto *self = static_cast<Transfers *>(context);
        // Once the last result is in, the waiting test may leave and destroy
        // the requests: read what the abort needs before that.
        const bool transferred = request.transferred;
        const Zel::PipeHandle pipe = request.pipe;
        Platform::SimUsbHost::Device *device = self->device;
        {
            std::lock_guard<std::mutex> guard(self->lock);
            self->results.push_back(transferred ? Zel::STATUS_SUCCESS : request.result);
            self->changed.notify_all();
        }
        if (transferred)
            device->abortPipe(pipe);
    }
    std::vector<Zel::NTSTATUS> await(std::size_t count)
    {
        std::unique_lock<std::mutex> guard(lock);
        changed.wait_for(guard, std::chrono::seconds(5), [&] { return results.size() >= count; });
        return results;
    }
};

} // namespace

TEST(SimUsbHost, AbortWhileARoundRunsCancelsTheTransfersThatRoundPutsBack)
{
    Platform::SimUsbHost host;
    Platform::SimRegistry registry;
    const auto device = host.attach(controller(3, 1, Sim::UsbFaults(), std::chrono::milliseconds(50)), registry);
    Zel::PipeSelection pipes[2];
    pipes[0].endpointAddress = Sim::MidiInEndpoint;
    pipes[1].endpointAddress = Sim::MidiOutEndpoint;
    ASSERT_EQ(device->selectInterface(1, pipes, 2), Zel::STATUS_SUCCESS);

    Transfers in;
    in.device = device.get();
    for (int i = 0; i < Transfers::Count; ++i) {
        Zel::BulkRequest &request = in.requests[i];
        request.pipe = pipes[0].handle;
        request.flags = Zel::TransferDirectionIn | Zel::TransferShortTransferOk;
        request.buffer = in.buffers[i];
        request.length = sizeof in.buffers[i];
        request.completion = &Transfers::completed;
        request.context = &in;
        ASSERT_EQ(device->submitBulk(request), Zel::STATUS_PENDING);
    }
    // The identity reply falls due later, so every IN transfer waits for it in the same round.
    std::uint8_t packets[8] = {0x04, 0xF0, 0x7E, 0x7F, 0x07, 0x06, 0x01, 0xF7};
    Transfers out;
    out.device = device.get();
    Zel::BulkRequest &request = out.requests[0];
    request.pipe = pipes[1].handle;
    request.buffer = packets;
    request.length = sizeof packets;
    request.completion = &Transfers::completed;
    request.context = &out;
    ASSERT_EQ(device->submitBulk(request), Zel::STATUS_PENDING);

    EXPECT_EQ(in.await(Transfers::Count),
              (std::vector<Zel::NTSTATUS>{Zel::STATUS_SUCCESS, Zel::STATUS_CANCELLED, Zel::STATUS_CANCELLED}));
    EXPECT_EQ(out.await(1), std::vector<Zel::NTSTATUS>{Zel::STATUS_SUCCESS});
}

TEST(SimUsbHost, aRoundThatCompletesOutTransfersWakesItsWaiters)
{
    Platform::SimUsbHost host;
    Platform::SimRegistry registry;
    const auto device = host.attach(controller(), registry);
    Zel::PipeSelection pipe;
    pipe.endpointAddress = Sim::MidiOutEndpoint;
    ASSERT_EQ(device->selectInterface(1, &pipe, 1), Zel::STATUS_SUCCESS);

    const std::uint64_t before = host.outRounds();
    const auto soon = std::chrono::steady_clock::now() + std::chrono::milliseconds(20);
    EXPECT_FALSE(host.awaitOutRound(before, soon)) << "no OUT transfer, no round to wait for";

    std::uint8_t packet[4] = {0x0F, 0xF8, 0x00, 0x00};
    Transfers out;
    out.device = device.get();
    Zel::BulkRequest &request = out.requests[0];
    request.pipe = pipe.handle;
    request.buffer = packet;
    request.length = sizeof packet;
    request.completion = [](Zel::BulkRequest &, void *) {};
    ASSERT_EQ(device->submitBulk(request), Zel::STATUS_PENDING);
    EXPECT_TRUE(host.awaitOutRound(before, std::chrono::steady_clock::now() + std::chrono::seconds(5)));
    EXPECT_GT(host.outRounds(), before);
}
