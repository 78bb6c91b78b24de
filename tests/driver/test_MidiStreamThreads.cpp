#include "tests/driver/ConversionHelpers.h"
#include "tests/support/FakeDriverPlatform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace ZelTest;

// Two writers on one cable while OUT transfers complete on another thread:
// every message arrives whole, in each writer's order, and SysEx messages are
// never interleaved with the other writer's packets.
TEST(MidiStreamThreads, WritersRaceCompletionsWithoutLossOrInterleaving)
{
    FakeStreamOwner owner(32, 1);
    owner.fake.startCompleter();
    Zel::MidiStream *streams[2] = {owner.open(false), owner.open(false)};
    for (Zel::MidiStream *stream : streams) {
        ASSERT_NE(stream, nullptr);
        ASSERT_EQ(stream->setState(Zel::StreamState::Run), Zel::STATUS_SUCCESS);
    }
    const Bytes messages[2] = {hex("F0 01 02 03 04 05 06 F7"), hex("90 3C 40")};
    constexpr int Rounds = 300;
    auto writer = [&](int which) {
        for (int round = 0; round < Rounds; ++round) {
            std::uint32_t done = 0;
            const Bytes &message = messages[which];
            while (done < message.size()) {
                std::uint32_t accepted = 0;
                streams[which]->write(message.data() + done, static_cast<std::uint32_t>(message.size() - done),
                                      accepted);
                done += accepted;
                if (accepted == 0)
                    std::this_thread::yield(); // another stream holds the cable
            }
        }
    };
    std::thread first(writer, 0);
    std::thread second(writer, 1);
    first.join();
    second.join();
    // Accepted bytes may still wait in a backlog; closing would discard them.
    const std::size_t expected = Rounds * (12 + 4);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (owner.fake.sentBytes().size() < expected && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    for (Zel::MidiStream *stream : streams)
        Zel::MidiStream::destroy(stream); // the last close sends the reset sequence
    owner.fake.stopCompleter();

    const Bytes sent = owner.fake.sentBytes();
    int sysEx = 0;
    int notes = 0;
    for (std::size_t i = 0; i < sent.size();) {
        if (sent[i] == 0x04) {
            ASSERT_LE(i + 12, sent.size());
            EXPECT_EQ(text(Bytes(sent.begin() + i, sent.begin() + i + 12)), "04 F0 01 02 04 03 04 05 06 06 F7 00");
            ++sysEx;
            i += 12;
        } else {
            if (sent[i] == 0x09)
                ++notes;
            i += 4;
        }
    }
    EXPECT_EQ(sysEx, Rounds);
    EXPECT_EQ(notes, Rounds);
    EXPECT_EQ(sent.size(), expected + 48 * 4);
}
