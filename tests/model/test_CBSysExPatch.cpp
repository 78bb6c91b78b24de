#include "editor/core/model/CBPatch.h"
#include "editor/core/model/CBSysExPatch.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<Byte>;

class CBSysExPatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        patch.initPatch(image.data());
        patch.initZones(zones.data());
        patch.initBankSettings(bank.data());
    }

    Bytes build(int (CBSysExPatch::*builder)(SysExContext &) const, Byte deviceId, Byte patchNumber, Byte *source)
    {
        Bytes out(CBSysExPatch::MaxMessageLength, 0xEE);
        SysExContext context;
        context.message = out.data();
        context.deviceId = deviceId;
        context.patchNumber = patchNumber;
        context.image = source;
        const int length = (sysEx.*builder)(context);
        EXPECT_EQ(length, context.length);
        out.resize(size_t(length));
        return out;
    }

    // Parses a private, exactly sized copy so a read past the end is caught.
    SysExContext parse(Bytes message, Byte expectedId = 0x10)
    {
        received = std::move(message);
        SysExContext context;
        context.message = received.data();
        context.length = int(received.size());
        context.deviceId = expectedId;
        sysEx.parse(context);
        return context;
    }

    Bytes transfer(Byte command, Byte patchNumber, const Byte *payload, int size, Byte status = 0)
    {
        Bytes m{0xF0, 0x18, 0x42, 0x00, 0x10, command, status};
        if (command != CBSysExPatch::BankSettingsTransfer)
            m.push_back(patchNumber);
        m.insert(m.end(), payload, payload + size);
        m.push_back(0xF7);
        return m;
    }

    CBPatch &patch = CBPatch::instance();
    CBSysExPatch &sysEx = patch.sysEx();
    PatchImage image{};
    ZonesImage zones{};
    BankSettingsRecord bank{};
    Bytes received;
};

TEST_F(CBSysExPatchTest, BuildersWriteTheDocumentedMessages)
{
    EXPECT_EQ(build(&CBSysExPatch::buildPatchRequest, 0x10, 3, nullptr),
              (Bytes{0xF0, 0x18, 0x42, 0x00, 0x10, 0x10, 0x00, 0x03, 0xF7}));
    EXPECT_EQ(build(&CBSysExPatch::buildBankSettingsRequest, 0x10, 0, nullptr),
              (Bytes{0xF0, 0x18, 0x42, 0x00, 0x10, 0x12, 0x00, 0xF7}));
    EXPECT_EQ(build(&CBSysExPatch::buildZonesRequest, 0x7F, 16, nullptr),
              (Bytes{0xF0, 0x18, 0x42, 0x00, 0x7F, 0x14, 0x00, 0x10, 0xF7}));

    // Header, the image, F7: 73, 361 and 25 bytes.
    EXPECT_EQ(build(&CBSysExPatch::buildZonesTransfer, 0x10, 0, zones.data()),
              transfer(0x15, 0x00, zones.data(), ZonesImageSize));
    EXPECT_EQ(build(&CBSysExPatch::buildPatchTransfer, 0x10, 7, image.data()),
              transfer(0x11, 0x07, image.data(), PatchImageSize));
    EXPECT_EQ(build(&CBSysExPatch::buildBankSettingsTransfer, 0x10, 0, bank.data()),
              transfer(0x13, 0, bank.data(), 17));
}

TEST_F(CBSysExPatchTest, BuildersKeepEveryDataByteBelow0x80)
{
    const Bytes m = build(&CBSysExPatch::buildPatchRequest, 0x90, 0x83, nullptr);
    EXPECT_EQ(m[4], 0x10);
    EXPECT_EQ(m[7], 0x03);
}

struct ParseCase {
    const char *what;
    Bytes message;
    Byte expectedId;
    int result;
};

void PrintTo(const ParseCase &c, std::ostream *os) { *os << c.what; }

class CBSysExParseResult : public CBSysExPatchTest, public ::testing::WithParamInterface<ParseCase>
{
};

TEST_P(CBSysExParseResult, ClassifiesTheMessage)
{
    const ParseCase &c = GetParam();
    EXPECT_EQ(parse(c.message, c.expectedId).result, c.result);
}

INSTANTIATE_TEST_SUITE_P(
    EveryResult, CBSysExParseResult,
    ::testing::Values(
        ParseCase{"other manufacturer", {0xF0, 0x19, 0x42, 0x00, 0x10, 0x12, 0x00, 0xF7}, 0x10, 1},
        ParseCase{"other family", {0xF0, 0x18, 0x43, 0x00, 0x10, 0x12, 0x00, 0xF7}, 0x10, 1},
        ParseCase{"family 0x55", {0xF0, 0x18, 0x55, 0x00, 0x10, 0x12, 0x00, 0xF7}, 0x10, 3},
        ParseCase{"other device", {0xF0, 0x18, 0x42, 0x00, 0x11, 0x12, 0x00, 0xF7}, 0x10, 2},
        ParseCase{"any device", {0xF0, 0x18, 0x42, 0x00, 0x05, 0x12, 0x00, 0xF7}, 0x7F, 3},
        ParseCase{"status only", {0xF0, 0x18, 0x42, 0x00, 0x10, 0x00, 0x00, 0xF7}, 0x10, 3},
        ParseCase{"status only, error", {0xF0, 0x18, 0x42, 0x00, 0x10, 0x00, 0x03, 0xF7}, 0x10, 5},
        ParseCase{"command 0x02", {0xF0, 0x18, 0x42, 0x00, 0x10, 0x02, 0x00, 0xF7}, 0x10, 4},
        ParseCase{"command 0x0F", {0xF0, 0x18, 0x42, 0x00, 0x10, 0x0F, 0x00, 0xF7}, 0x10, 4},
        ParseCase{"command 0x16", {0xF0, 0x18, 0x42, 0x00, 0x10, 0x16, 0x00, 0xF7}, 0x10, 4},
        ParseCase{"ack code 0", {0xF0, 0x18, 0x42, 0x00, 0x10, 0x01, 0x00, 0x00, 0xF7}, 0x10, 8},
        ParseCase{"ack code 1", {0xF0, 0x18, 0x42, 0x00, 0x10, 0x01, 0x00, 0x01, 0xF7}, 0x10, 3},
        ParseCase{"ack code 5", {0xF0, 0x18, 0x42, 0x00, 0x10, 0x01, 0x00, 0x05, 0xF7}, 0x10, 3},
        ParseCase{"ack code 6", {0xF0, 0x18, 0x42, 0x00, 0x10, 0x01, 0x00, 0x06, 0xF7}, 0x10, 8},
        ParseCase{"ack with error", {0xF0, 0x18, 0x42, 0x00, 0x10, 0x01, 0x02, 0x00, 0xF7}, 0x10, 5},
        ParseCase{"request patch 16", {0xF0, 0x18, 0x42, 0x00, 0x10, 0x10, 0x00, 0x10, 0xF7}, 0x10, 3},
        ParseCase{"request patch 17", {0xF0, 0x18, 0x42, 0x00, 0x10, 0x14, 0x00, 0x11, 0xF7}, 0x10, 6},
        ParseCase{"request with error", {0xF0, 0x18, 0x42, 0x00, 0x10, 0x10, 0x01, 0x11, 0xF7}, 0x10, 5},
        // Too short for the command: never read beyond the end, not of this family.
        ParseCase{"header only", {0xF0, 0x18, 0x42, 0x00, 0x10, 0x12}, 0x10, 1},
        ParseCase{"three bytes", {0xF0, 0x18, 0x42}, 0x10, 1},
        ParseCase{"ack without code", {0xF0, 0x18, 0x42, 0x00, 0x10, 0x01, 0x00, 0xF7}, 0x10, 1},
        ParseCase{"short bank transfer", {0xF0, 0x18, 0x42, 0x00, 0x10, 0x13, 0x00, 0x41, 0xF7}, 0x10, 1},
        ParseCase{"short patch transfer", {0xF0, 0x18, 0x42, 0x00, 0x10, 0x11, 0x00, 0x01, 0xF7}, 0x10, 1},
        ParseCase{"short zones transfer", {0xF0, 0x18, 0x42, 0x00, 0x10, 0x15, 0x00, 0x01, 0xF7}, 0x10, 1}),
    [](const ::testing::TestParamInfo<ParseCase> &info) {
        std::string name;
        for (const char *p = info.param.what; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

TEST_F(CBSysExPatchTest, ParserReportsTheHeaderFields)
{
    const SysExContext c = parse({0xF0, 0x18, 0x42, 0x00, 0x2A, 0x14, 0x00, 0x09, 0xF7}, 0x7F);
    EXPECT_EQ(c.result, 3);
    EXPECT_EQ(c.deviceId, 0x2A);
    EXPECT_EQ(c.command, 0x14);
    EXPECT_EQ(c.status, 0);
    EXPECT_EQ(c.patchNumber, 9);
}

TEST_F(CBSysExPatchTest, TransfersAreValidatedAndExtracted)
{
    patch.setScalar(Octave, 2, image.data());
    const SysExContext accepted = parse(transfer(0x11, 4, image.data(), PatchImageSize));
    ASSERT_EQ(accepted.result, 3);
    EXPECT_EQ(accepted.patchNumber, 4);
    PatchImage extracted{};
    SysExContext extract = accepted;
    extract.image = extracted.data();
    ASSERT_TRUE(sysEx.extractPatchImage(extract));
    EXPECT_EQ(extracted, image);
    EXPECT_FALSE(sysEx.extractZonesImage(extract)) << "extractor of another command";

    PatchImage badOctave = image;
    badOctave[22] = 9;
    EXPECT_EQ(parse(transfer(0x11, 0, badOctave.data(), PatchImageSize)).result, 7);
    const SysExContext rejected = parse(transfer(0x11, 0, badOctave.data(), PatchImageSize));
    SysExContext noExtract = rejected;
    noExtract.image = extracted.data();
    EXPECT_FALSE(sysEx.extractPatchImage(noExtract));

    // Patch number is checked before the image.
    EXPECT_EQ(parse(transfer(0x11, 17, badOctave.data(), PatchImageSize)).result, 6);
    EXPECT_EQ(parse(transfer(0x11, 0, image.data(), PatchImageSize, 0x01)).result, 5);

    ZonesImage badZones = zones;
    badZones[8 + 6] = 0; // high velocity 0
    EXPECT_EQ(parse(transfer(0x15, 2, badZones.data(), ZonesImageSize)).result, 7);
    const SysExContext zonesAccepted = parse(transfer(0x15, 2, zones.data(), ZonesImageSize));
    ASSERT_EQ(zonesAccepted.result, 3);
    ZonesImage zonesOut{};
    SysExContext zonesExtract = zonesAccepted;
    zonesExtract.image = zonesOut.data();
    ASSERT_TRUE(sysEx.extractZonesImage(zonesExtract));
    EXPECT_EQ(zonesOut, zones);

    BankSettingsRecord badBank = bank;
    badBank[16] = 0;
    EXPECT_EQ(parse(transfer(0x13, 0, badBank.data(), BankSettingsSize)).result, 7);
    const SysExContext bankAccepted = parse(transfer(0x13, 0, bank.data(), BankSettingsSize));
    ASSERT_EQ(bankAccepted.result, 3);
    BankSettingsRecord bankOut{};
    SysExContext bankExtract = bankAccepted;
    bankExtract.image = bankOut.data();
    ASSERT_TRUE(sysEx.extractBankSettings(bankExtract));
    EXPECT_EQ(bankOut, bank);
}

TEST_F(CBSysExPatchTest, BuiltTransfersParseBackToTheSameImages)
{
    patch.setString(PatchName, "Round Trip Lead ", image.data());
    patch.setField(Control, 19, ControlValue14, 12345, image.data());
    Bytes m = build(&CBSysExPatch::buildPatchTransfer, 0x10, 12, image.data());
    SysExContext c = parse(m);
    ASSERT_EQ(c.result, 3);
    PatchImage out{};
    c.image = out.data();
    sysEx.extractPatchImage(c);
    EXPECT_EQ(out, image);
}

TEST(IdentityTest, RequestAndReplies)
{
    Byte request[6];
    ASSERT_EQ(CBSysExPatch::buildIdentityRequest(request), 6);
    EXPECT_EQ(Bytes(request, request + 6), (Bytes{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}));

    auto reply = [](Byte member, Byte family0 = 0x02, Byte family1 = 0x40) {
        return Bytes{0xF0, 0x7E, 0x10, 0x06, 0x02, 0x18, family0, family1, member, 0x00, '1', '.', '0', '4', 0xF7};
    };
    const struct {
        Bytes message;
        int model;
    } cases[] = {{reply(0), 2}, {reply(1), 3}, {reply(2), 4}, {reply(3), 1}, {reply(0x7F), 1}};
    for (const auto &c : cases) {
        Brisel::IdentityResult result;
        ASSERT_TRUE(CBSysExPatch::checkIdentityReply(c.message.data(), 15, result));
        EXPECT_EQ(result.model, c.model);
        EXPECT_EQ(result.deviceId, 0x10);
        EXPECT_EQ(result.firmware, "1.04");
    }

    Brisel::IdentityResult foreign;
    ASSERT_TRUE(CBSysExPatch::checkIdentityReply(reply(0, 0x03).data(), 15, foreign));
    EXPECT_EQ(foreign.model, 0);
    EXPECT_EQ(foreign.deviceId, 127);
    EXPECT_EQ(foreign.firmware, "");

    Bytes notReserved = reply(0);
    notReserved[9] = 0x01;
    Brisel::IdentityResult unknown;
    ASSERT_TRUE(CBSysExPatch::checkIdentityReply(notReserved.data(), 15, unknown));
    EXPECT_EQ(unknown.model, 0);

    Brisel::IdentityResult untouched;
    untouched.model = 9;
    Bytes longer = reply(0);
    longer.insert(longer.end() - 1, 0x00);
    EXPECT_FALSE(CBSysExPatch::checkIdentityReply(longer.data(), int(longer.size()), untouched));
    Bytes otherMaker = reply(0);
    otherMaker[5] = 0x41;
    EXPECT_FALSE(CBSysExPatch::checkIdentityReply(otherMaker.data(), 15, untouched));
    EXPECT_EQ(untouched.model, 9);
}

TEST(DeviceModelTest, TablesPerModel)
{
    EXPECT_EQ(Brisel::keyboardRange(Brisel::Model25).lowestNote, 48);
    EXPECT_EQ(Brisel::keyboardRange(Brisel::Model25).keyCount, 25);
    EXPECT_EQ(Brisel::keyboardRange(Brisel::Model49).lowestNote, 36);
    EXPECT_EQ(Brisel::keyboardRange(Brisel::Model49).keyCount, 49);
    EXPECT_EQ(Brisel::keyboardRange(Brisel::Model61).keyCount, 61);
    EXPECT_EQ(Brisel::keyboardRange(Brisel::UnknownSizeModel).lowestNote, -1);
    EXPECT_EQ(Brisel::usbProductId(Brisel::Model25), 0x3F00);
    EXPECT_EQ(Brisel::usbProductId(Brisel::Model49), 0x3F01);
    EXPECT_EQ(Brisel::usbProductId(Brisel::Model61), 0x3F06);
    EXPECT_EQ(Brisel::usbProductId(Brisel::UnknownSizeModel), 0);
    EXPECT_EQ(Brisel::memberCodeForModel(Brisel::Model61), 2);
    EXPECT_EQ(Brisel::memberCodeForModel(Brisel::NotThisProduct), -1);
}

} // namespace
