#include "driver/MidiFifo.h"
#include "tests/driver/ConversionHelpers.h"
#include "tests/driver/reference/ReferencePacketiser.h"

#include <gtest/gtest.h>

using namespace ZelTest;

struct ConversionCase {
    const char *name;
    const char *input;
    const char *expected;
};

std::ostream &operator<<(std::ostream &out, const ConversionCase &c) { return out << c.name; }

class RenderConversion : public testing::TestWithParam<ConversionCase>
{
};

TEST_P(RenderConversion, BytesBecomePacketsByteForByte) { EXPECT_EQ(pack(hex(GetParam().input)), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Packetiser, RenderConversion,
    testing::Values(
        ConversionCase{"runningStatus", "90 3C 40 3C 00", "09 90 3C 40 09 90 3C 00"},
        ConversionCase{"programChangeRunningStatus", "C0 05 06", "0C C0 05 00 0C C0 06 00"},
        ConversionCase{"channelMessages", "B3 07 64 D1 30 EF 00 40 A2 3C 10 82 3C 00",
                       "0B B3 07 64 0D D1 30 00 0E EF 00 40 0A A2 3C 10 08 82 3C 00"},
        ConversionCase{"emptySysEx", "F0 F7", "06 F0 F7 00"},
        ConversionCase{"threeByteSysEx", "F0 7E F7", "07 F0 7E F7"},
        ConversionCase{"fourByteSysEx", "F0 01 02 F7", "04 F0 01 02 05 F7 00 00"},
        ConversionCase{"eightByteSysEx", "F0 01 02 03 04 05 06 F7", "04 F0 01 02 04 03 04 05 06 06 F7 00"},
        ConversionCase{"realTimeInsideSysEx", "F0 01 F8 02 F7", "0F F8 00 00 04 F0 01 02 05 F7 00 00"},
        ConversionCase{"realTimeKeepsRunningStatus", "90 3C FE 40 3D 41", "0F FE 00 00 09 90 3C 40 09 90 3D 41"},
        ConversionCase{"dataWithoutStatus", "3C 40 01", ""},
        ConversionCase{"sysExAbandonedByChannelStatus", "F0 01 02 03 04 90 3C 40", "04 F0 01 02 09 90 3C 40"},
        ConversionCase{"dataAfterFinishedSysEx", "F0 F7 01 02", "06 F0 F7 00"},
        ConversionCase{"dataAfterRealTimeAfterFinishedSysEx", "F0 01 F7 F8 02 03 F7", "07 F0 01 F7 0F F8 00 00"},
        ConversionCase{"strayEndOfExclusiveDropped", "90 3C F7 40", "09 90 3C 40"},
        ConversionCase{"quarterFrameRepeats", "F1 10 20", "02 F1 10 00 02 F1 20 00"},
        ConversionCase{"songSelect", "F3 05", "02 F3 05 00"}, ConversionCase{"songPosition", "F2 01 02", "03 F2 01 02"},
        ConversionCase{"tuneRequest", "F6", "05 F6 00 00"},
        ConversionCase{"undefinedCommonWithData", "F4 01 02 03 04", "03 F4 01 02 0F 03 00 00 0F 04 00 00"},
        ConversionCase{"undefinedF5DropsData", "F5 01 02", ""},
        ConversionCase{"tuneRequestDropsData", "F6 01 90 01 02", "05 F6 00 00 09 90 01 02"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(RenderConversionCable, CableNumberInEveryPacket)
{
    EXPECT_EQ(pack(hex("95 3C 40 F0 01 F7"), 5), "59 95 3C 40 57 F0 01 F7");
}

TEST(RenderConversionCable, RealTimeIsSubmittedAtOnce)
{
    std::string marks;
    pack(hex("F0 01 F8 02 F7"), 0, &marks);
    EXPECT_EQ(marks, "1;"); // submitted right after the first packet
}

// Every way a message can be cut: SysEx with real time at each position of a
// packet and ends after 0, 1 and 2 pending bytes, a SysEx cut off by a channel
// status, running status of both lengths with real time between data bytes,
// the system common messages, data without status and after an end.
const Bytes renderTraffic = hex("F0 01 02 03 04 05 06 07 08 09 0A 0B 0C F8 0D 0E 0F F9 10 11 12 13 FA 14 15 16 F7 "
                                "F0 01 F7 F0 01 02 F7 F0 01 02 03 F7 F0 F7 01 02 03 04 F8 F0 01 02 03 04 "
                                "90 3C 40 3D F8 41 3E 42 3F 43 C1 05 06 FE 07 08 E2 00 40 01 F0 01 02 03 04 "
                                "05 06 07 F1 10 20 30 F2 01 02 03 04 05 F4 01 02 03 04 05 F3 01 02 F6 01 02 "
                                "F5 03 04 05 06 F7 07 80 01 02 03 04 05 06 F0 01 02 03 04 05 06 07 F7 F7 90");

// Real time next to the bytes that start and end messages, every kind of
// message straight after an end, and messages that change kind mid-packet.
const Bytes renderBoundaries =
    hex("F0 01 02 F7 F8 90 3C 40 F8 C0 05 F8 F0 F8 01 F7 D0 10 F0 01 02 03 F7 B0 07 64 "
        "F0 F7 E0 00 40 F0 01 F7 F8 F8 A0 3C F8 01 F0 01 02 F8 F7 81 3C 40 F0 01 02 03 "
        "04 F7 F0 01 02 03 04 05 F7 90 3C F0 01 B0 F7 90 3C 40 3D F7 41 F8 F0 01 02 03 04 F7");

// The first conversion, a byte at a time: its packets, and "N;" whenever the
// first N packets were submitted at once.
std::string referencePack(const Bytes &bytes, std::string &marks)
{
    struct Sink {
        Bytes packets;
        std::string &marks;
        void appendPacket(const std::uint8_t *packet) { packets.insert(packets.end(), packet, packet + 4); }
        void submitNow() { marks += std::to_string(packets.size() / 4) + ";"; }
    } sink{{}, marks};
    ZelReference::MidiByteParser parser;
    bool idle = true;
    for (std::uint8_t byte : bytes)
        ZelReference::packetiseByte(parser, idle, 2, byte, sink);
    return text(sink.packets);
}

// Calls of up to `chunk` bytes into room for `room` packets at a time, taking
// up again where the last call stopped, as the cable's FIFO does.
std::string packCalls(const Bytes &bytes, std::size_t chunk, std::size_t room, std::string &marks)
{
    struct Sink {
        Bytes packets;
        std::string &marks;
        std::uint8_t buffer[64] = {};
        std::size_t room;
        std::uint8_t *at = buffer;
        std::uint8_t *end = buffer + room * 4;
        void full()
        {
            packets.insert(packets.end(), buffer, at);
            at = buffer;
        }
        void submitNow()
        {
            full();
            marks += std::to_string(packets.size() / 4) + ";";
        }
    } sink{{}, marks, {}, room};
    Zel::MidiByteParser parser;
    bool idle = true;
    for (std::size_t done = 0; done < bytes.size();) {
        const std::uint32_t count = static_cast<std::uint32_t>(std::min(chunk, bytes.size() - done));
        done += Zel::packetise(parser, idle, 2, bytes.data() + done, count, sink);
    }
    sink.full();
    return text(sink.packets);
}

TEST(RenderConversionCalls, AnySplitAndRoomGivesWhatTheFirstConversionGives)
{
    for (const Bytes *traffic : {&renderTraffic, &renderBoundaries}) {
        std::string expectedMarks;
        const std::string expected = referencePack(*traffic, expectedMarks);
        for (std::size_t chunk : {1, 3, 4, 5, 7, 64, 1000}) {
            for (std::size_t room : {1, 3, 16}) {
                std::string marks;
                EXPECT_EQ(packCalls(*traffic, chunk, room, marks), expected) << chunk << " " << room;
                EXPECT_EQ(marks, expectedMarks) << chunk << " " << room;
            }
        }
    }
}

class CaptureConversion : public testing::TestWithParam<ConversionCase>
{
};

TEST_P(CaptureConversion, PacketsBecomeBytes) { EXPECT_EQ(unpack(hex(GetParam().input)), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Unpacker, CaptureConversion,
    testing::Values(ConversionCase{"idleStreamGetsStart", "04 43 01 02", "F0 43 01 02"},
                    ConversionCase{"endOfTwoClosesMessage", "04 43 01 02 06 01 02 00", "F0 43 01 02 01 02 F7"},
                    ConversionCase{"endOfTwoWithEnd", "06 F0 F7 00", "F0 F7"},
                    ConversionCase{"endOfThreeWithEnd", "07 F0 7E F7", "F0 7E F7"},
                    ConversionCase{"endOfThreeWithoutEnd", "07 01 02 03", "F0 01 02 03 F7"},
                    ConversionCase{"singleEnd", "04 F0 01 02 05 F7 00 00", "F0 01 02 F7"},
                    ConversionCase{"singleDataClosed", "05 01 00 00", "F0 01 F7"},
                    ConversionCase{"singleTuneRequest", "05 F6 00 00", "F6"},
                    ConversionCase{"realTimeInsideSysEx", "04 F0 01 02 0F F8 00 00 05 F7 00 00", "F0 01 02 F8 F7"},
                    ConversionCase{"realTimeOutsideSysEx", "0F F8 00 00 06 01 02 00", "F8 F0 01 02 F7"},
                    ConversionCase{"channelMessages", "09 90 3C 40 0C C0 05 00 0E E0 00 40", "90 3C 40 C0 05 E0 00 40"},
                    ConversionCase{"cinZeroAndOneCarryNothing", "00 11 22 33 01 44 55 66", ""},
                    ConversionCase{"channelMessageEndsSysEx", "04 F0 01 02 09 90 3C 40 06 03 04 00",
                                   "F0 01 02 90 3C 40 F0 03 04 F7"}),
    [](const auto &info) { return std::string(info.param.name); });

// Long runs of parts, plain messages and decorated ones by turns, so that a
// transfer switches between the copy loops and the per-packet steps.
Bytes captureTraffic(std::uint8_t cable)
{
    std::string text = "04 F0 01 02 ";
    for (int i = 0; i < 12; ++i)
        text += "04 03 04 05 ";
    text += "0F F8 00 00 04 06 07 08 05 F7 00 00 09 90 3C 40 0C C0 05 00 04 43 01 02 0F F8 00 00 "
            "06 01 02 00 02 F1 10 00 07 01 02 03 05 F6 00 00 04 01 02 03 04 04 05 06 0F 06 00 00 "
            "04 07 08 09 07 0A 0B F7 01 11 22 33 0B B0 07 64 05 01 00 00 0E E0 00 40";
    Bytes packets = hex(text);
    for (std::size_t i = 0; i < packets.size(); i += 4)
        packets[i] = static_cast<std::uint8_t>(packets[i] | cable << 4);
    return packets;
}

// What the first conversion makes of the packets, one at a time.
std::string referenceUnpack(const Bytes &packets)
{
    struct Sink {
        Bytes bytes;
        void push(std::uint8_t byte) { bytes.push_back(byte); }
    } sink;
    bool idle = true;
    for (std::size_t i = 0; i + 4 <= packets.size(); i += 4)
        ZelReference::unpackPacket(packets.data() + i, idle, sink);
    return text(sink.bytes);
}

TEST(CaptureConversionTransfer, AnySplitGivesWhatTheFirstConversionGives)
{
    const std::string expected = referenceUnpack(captureTraffic(0));
    for (std::size_t chunk : {1, 3, 16, 32, 1000})
        EXPECT_EQ(unpackTransfers(captureTraffic(0), 0, chunk), expected) << chunk;
}

TEST(CaptureConversionTransfer, OtherCablesPacketsAreSkipped)
{
    const Bytes mine = captureTraffic(3);
    const Bytes theirs = captureTraffic(5);
    Bytes both;
    for (std::size_t i = 0; i < mine.size(); i += 4) {
        both.insert(both.end(), mine.begin() + i, mine.begin() + i + 4);
        if (i % 12 == 0)
            both.insert(both.end(), theirs.begin() + i, theirs.begin() + i + 4);
    }
    EXPECT_EQ(unpackTransfers(both, 3, 16), referenceUnpack(captureTraffic(0)));
}

TEST(MidiFifo, HoldsExactly512BytesAndWraps)
{
    Zel::MidiFifo fifo;
    for (int round = 0; round < 3; ++round) {
        int pushed = 0;
        while (fifo.push(static_cast<std::uint8_t>(pushed)))
            ++pushed;
        EXPECT_EQ(pushed, 512);
        EXPECT_TRUE(fifo.full());
        EXPECT_EQ(fifo.count(), 512);
        std::uint8_t byte = 0;
        for (int i = 0; i < 300; ++i) {
            ASSERT_TRUE(fifo.pop(byte));
            EXPECT_EQ(byte, static_cast<std::uint8_t>(i));
        }
        EXPECT_EQ(fifo.count(), 212);
        while (fifo.pop(byte)) {}
        EXPECT_TRUE(fifo.empty());
        EXPECT_EQ(fifo.space(), 512);
    }
}
