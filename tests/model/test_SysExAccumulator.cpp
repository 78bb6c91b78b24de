#include "editor/core/model/SysExAccumulator.h"

#include <gtest/gtest.h>

using Midi::SysExAccumulator;
using Bytes = std::vector<Byte>;

namespace {

struct AccumulationCase {
    const char *name;
    std::vector<Bytes> chunks;
    std::vector<Bytes> delivered;
};

std::vector<Bytes> feed(SysExAccumulator &accumulator, const std::vector<Bytes> &chunks)
{
    std::vector<Bytes> delivered;
    for (const Bytes &chunk : chunks)
        accumulator.append(chunk.data(), chunk.size(), [&](const Bytes &m) { delivered.push_back(m); });
    return delivered;
}

class AccumulationTest : public ::testing::TestWithParam<AccumulationCase>
{
};

TEST_P(AccumulationTest, DeliversOnlyCompleteMessages)
{
    SysExAccumulator accumulator;
    EXPECT_EQ(feed(accumulator, GetParam().chunks), GetParam().delivered);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AccumulationTest,
    ::testing::Values(
        AccumulationCase{"Whole", {{0xF0, 1, 0xF7}}, {{0xF0, 1, 0xF7}}},
        AccumulationCase{"Split", {{0xF0, 1}, {2}, {3, 0xF7}}, {{0xF0, 1, 2, 3, 0xF7}}},
        AccumulationCase{"StrayFragmentBeforeStart", {{5, 6, 0xF7}, {0xF0, 1, 0xF7}}, {{0xF0, 1, 0xF7}}},
        AccumulationCase{"StrayBytesInSameChunk", {{5, 6, 0xF0, 1, 0xF7}}, {{0xF0, 1, 0xF7}}},
        AccumulationCase{"TwoInOneChunk", {{0xF0, 1, 0xF7, 0xF0, 2, 0xF7}}, {{0xF0, 1, 0xF7}, {0xF0, 2, 0xF7}}},
        AccumulationCase{"LostEndRestartsAtNextStart", {{0xF0, 1, 2}, {0xF0, 3, 0xF7}}, {{0xF0, 3, 0xF7}}},
        AccumulationCase{"BytesBetweenMessagesDropped",
                         {{0xF0, 1, 0xF7, 0x90, 0x3C}, {0xF0, 2, 0xF7}},
                         {{0xF0, 1, 0xF7}, {0xF0, 2, 0xF7}}},
        AccumulationCase{"NoteOnAlone", {{0x90, 0x3C, 0x7F}}, {}}, AccumulationCase{"EndAlone", {{0xF7}}, {}},
        AccumulationCase{"Empty", {{}}, {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SysExAccumulatorBound, MessageOfTheLimitIsDeliveredOneMoreIsDropped)
{
    SysExAccumulator accumulator;
    Bytes atLimit(SysExAccumulator::MaxMessageLength, 0x01);
    atLimit.front() = 0xF0;
    atLimit.back() = 0xF7;
    Bytes overLimit(SysExAccumulator::MaxMessageLength + 1, 0x01);
    overLimit.front() = 0xF0;
    overLimit.back() = 0xF7;
    const Bytes next = {0xF0, 2, 0xF7};
    const std::vector<Bytes> delivered = feed(accumulator, {atLimit, overLimit, next});
    ASSERT_EQ(delivered.size(), 2u);
    EXPECT_EQ(delivered[0], atLimit);
    EXPECT_EQ(delivered[1], next);
}

TEST(SysExAccumulatorBound, EndlessMessageNeverGrowsBeyondTheLimit)
{
    SysExAccumulator accumulator;
    Bytes chunk(4096, 0x01);
    feed(accumulator, {{0xF0}});
    for (int i = 0; i < 64; ++i) {
        feed(accumulator, {chunk});
        ASSERT_LT(accumulator.pendingBytes(), SysExAccumulator::MaxMessageLength);
    }
}

} // namespace
