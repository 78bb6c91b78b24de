#include "driver/MidiFifo.h"
#include "tests/driver/ConversionHelpers.h"

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
