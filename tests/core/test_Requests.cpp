#include "editor/core/Requests.h"
#include "editor/core/model/CBPatch.h"
#include "editor/core/model/CBSysExPatch.h"
#include "tests/support/FileBytes.h"
#include "tests/support/SimulatedWorld.h"

#include <gtest/gtest.h>

using namespace Brisel;
using Bytes = std::vector<Byte>;

namespace {

struct ReplyCase {
    const char *name;
    Bytes reply;
    bool accepted;
};

Bytes modified(Bytes bytes, std::size_t offset, Byte value)
{
    bytes.at(offset) = value;
    return bytes;
}

Bytes without(Bytes bytes, std::size_t count)
{
    bytes.resize(bytes.size() - count);
    return bytes;
}

const Bytes goodReply = FileBytes::patchTransfer(distinctPatch('R'), 5, 0x03);

class PatchRequestReplies : public ::testing::TestWithParam<ReplyCase>
{
};

TEST_P(PatchRequestReplies, OnlyTheMatchingTransferReachesThePatch)
{
    TestPatch patch(5);
    PatchRequest request(0x03, patch);
    EXPECT_EQ(request.message().bytes(), (Bytes{0xF0, 0x18, 0x42, 0x00, 0x03, 0x10, 0x00, 0x05, 0xF7}));
    request.handleReply(Midi::LongMessage(GetParam().reply));
    EXPECT_EQ(patch.patchUpdates, GetParam().accepted ? 1 : 0);
    if (GetParam().accepted) {
        EXPECT_EQ(patch.patch, distinctPatch('R'));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Replies, PatchRequestReplies,
    ::testing::Values(ReplyCase{"Matching", goodReply, true},
                      ReplyCase{"AlternativeFamily", modified(goodReply, 2, 0x55), true},
                      ReplyCase{"OtherPatchNumber", modified(goodReply, 7, 4), false},
                      ReplyCase{"OtherDevice", modified(goodReply, 4, 5), false},
                      ReplyCase{"BankSettingsCommand", modified(goodReply, 5, CBSysExPatch::BankSettingsTransfer),
                                false},
                      ReplyCase{"ErrorStatus", modified(goodReply, 6, 1), false},
                      ReplyCase{"InvalidImage", modified(goodReply, 8 + 22, 9), false},
                      ReplyCase{"NoEnd", without(goodReply, 1), false},
                      ReplyCase{"Truncated", modified(without(goodReply, 100), 260, 0xF7), false},
                      ReplyCase{"Acknowledgement", {0xF0, 0x18, 0x42, 0x00, 0x03, 0x01, 0x00, 0x01, 0xF7}, false},
                      ReplyCase{"Empty", {}, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Requests, AnyDeviceRequestAcceptsEveryDevice)
{
    TestPatch patch(5);
    PatchRequest request(0x7F, patch);
    request.handleReply(Midi::LongMessage(modified(goodReply, 4, 0x55)));
    EXPECT_EQ(patch.patchUpdates, 1);
}

TEST(Requests, MessagesOfEveryKind)
{
    TestPatch patch(12);
    TestBank bank;
    const PatchImage image = distinctPatch('M');
    ZonesImage zones{};
    CBPatch::instance().initZones(zones.data());
    const Byte record[BankSettingsSize] = {'B'};
    struct Expected {
        const SysexMessage &message;
        std::size_t length;
        int command;
        int patchNumber;
    };
    const ActivePatchSettingsRequest activePatch(0x10, patch);
    const ZonesRequest storedZones(0x10, patch);
    const ActiveZonesRequest activeZones(0x10, patch);
    const BankSettingsRequest bankRequest(0x10, bank);
    const PatchTransfer patchTransfer(0x10, 9, image);
    const ZonesTransfer zonesTransfer(0x10, 0, zones);
    const BankSettingsTransfer bankTransfer(0x10, record);
    for (const Expected &e :
         {Expected{activePatch, 9, 0x10, 0}, Expected{storedZones, 9, 0x14, 12}, Expected{activeZones, 9, 0x14, 0},
          Expected{bankRequest, 8, 0x12, -1}, Expected{patchTransfer, 361, 0x11, 9},
          Expected{zonesTransfer, 73, 0x15, 0}, Expected{bankTransfer, 25, 0x13, -1}}) {
        const Bytes &bytes = e.message.message().bytes();
        ASSERT_EQ(bytes.size(), e.length);
        EXPECT_EQ(bytes[4], 0x10);
        EXPECT_EQ(bytes[5], e.command);
        if (e.patchNumber >= 0) {
            EXPECT_EQ(bytes[7], e.patchNumber);
        }
    }
    EXPECT_EQ(patchTransfer.message().bytes()[8], 'M');
}

TEST(Requests, BankSettingsRequestTakesOnlyAValidRecord)
{
    TestBank bank;
    BankSettingsRequest request(0x10, bank);
    Bytes reply = {0xF0, 0x18, 0x42, 0x00, 0x10, 0x13, 0x00};
    const Bytes name = {'M', 'y', ' ', 'B', 'a', 'n', 'k', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    reply.insert(reply.end(), name.begin(), name.end());
    reply.push_back(17); // current patch out of range
    reply.push_back(0xF7);
    request.handleReply(Midi::LongMessage(reply));
    EXPECT_EQ(bank.updates, 0);
    reply[7 + 16] = 16;
    request.handleReply(Midi::LongMessage(reply));
    EXPECT_EQ(bank.updates, 1);
}

struct IdentityCase {
    const char *name;
    Bytes reply;
    int model;
    int deviceId;
    std::string firmware;
};

const Bytes identityReply = {0xF0, 0x7E, 0x22, 0x06, 0x02, 0x18, 0x02, 0x40, 0x01, 0x00, '1', '.', '2', '3', 0xF7};

class IdentityReplies : public ::testing::TestWithParam<IdentityCase>
{
};

TEST_P(IdentityReplies, SetTheResult)
{
    IdentityResult result;
    result.deviceId = 0x33;
    DeviceIdentityRequest request(result);
    EXPECT_EQ(result.deviceId, NotIdentifiedDeviceId) << "not identified until answered";
    EXPECT_EQ(request.message().bytes(), (Bytes{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}));
    request.handleReply(Midi::LongMessage(GetParam().reply));
    EXPECT_EQ(result.model, GetParam().model);
    EXPECT_EQ(result.deviceId, GetParam().deviceId);
    EXPECT_EQ(result.firmware, GetParam().firmware);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, IdentityReplies,
    ::testing::Values(IdentityCase{"Model49", identityReply, Model49, 0x22, "1.23"},
                      IdentityCase{"UnknownMember", modified(identityReply, 8, 3), UnknownSizeModel, 0x22, "1.23"},
                      IdentityCase{"OtherFamily", modified(identityReply, 7, 0x41), NotThisProduct, 127, ""},
                      IdentityCase{"OtherManufacturer", modified(identityReply, 5, 0x43), NotThisProduct, 127, ""},
                      IdentityCase{"TooShort", without(identityReply, 1), NotThisProduct, 127, ""}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
