#include "editor/app/files/BankFile.h"
#include "editor/app/files/PatchFile.h"
#include "editor/app/files/SysExFile.h"
#include "tests/support/FileBytes.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace {

using namespace FileBytes;

std::vector<Bytes> messagesOf(const Bytes &bytes, bool *cut = nullptr)
{
    std::vector<Bytes> messages;
    const bool endsInside = SysExFile::forEachMessage(bytes, [&](std::span<const Byte> m) {
        messages.emplace_back(m.begin(), m.end());
        return true;
    });
    if (cut)
        *cut = endsInside;
    return messages;
}

TEST(SysExMessages, TakesEveryF0ToF7RangeAndIgnoresTheRest)
{
    bool cut = false;
    const auto messages = messagesOf({0x01, 0xF0, 0x02, 0xF7, 0x55, 0xF7, 0xF0, 0xF0, 0x03, 0xF7, 0xF0, 0x04}, &cut);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], (Bytes{0xF0, 0x02, 0xF7}));
    EXPECT_EQ(messages[1], (Bytes{0xF0, 0xF0, 0x03, 0xF7}));
    EXPECT_TRUE(cut);
    EXPECT_TRUE(messagesOf({}, &cut).empty());
    EXPECT_FALSE(cut);
    int visited = 0;
    EXPECT_FALSE(SysExFile::forEachMessage(Bytes{0xF0, 0xF7, 0xF0, 0xF7, 0xF0}, [&](auto) { return ++visited < 1; }));
    EXPECT_EQ(visited, 1);
}

constexpr ZonesPart Complete = ZonesPart::Complete;
constexpr ZonesPart Missing = ZonesPart::Missing;
constexpr ZonesPart Incomplete = ZonesPart::Incomplete;

struct PatchCase {
    const char *name;
    Bytes bytes;
    bool valid;
    ZonesPart zones; // of a valid file
};

class PatchFileReading : public ::testing::TestWithParam<PatchCase>
{
};

TEST_P(PatchFileReading, FollowsTheAcceptanceRules)
{
    const PatchCase &c = GetParam();
    const PatchFile file = PatchFile::fromBytes(c.bytes);
    EXPECT_EQ(file.valid, c.valid);
    EXPECT_EQ(file.patchImage.size(), c.valid ? 352u : 0u);
    EXPECT_EQ(file.zonesImage.size(), c.valid && c.zones == Complete ? 64u : 0u);
    if (c.valid) {
        EXPECT_EQ(file.zonesPart, c.zones);
    }
}

Bytes withJunk()
{
    Bytes out{0x00, 0x41, 0xF7};
    append(out, patchTransfer(defaultPatch()));
    append(out, {0x90, 0x3C, 0x40});
    append(out, zonesTransfer(defaultZones()));
    append(out, {0xF0});
    return out;
}

Bytes reversed()
{
    Bytes out = zonesTransfer(defaultZones());
    append(out, patchTransfer(defaultPatch()));
    return out;
}

Bytes both(int octave, int deviceId = 0x7F)
{
    Bytes out = patchTransfer(defaultPatch(octave), 0, deviceId);
    append(out, zonesTransfer(defaultZones(), 0, deviceId));
    return out;
}

Bytes invalidZonesAfterPatch()
{
    Bytes zones = defaultZones();
    zones[8 + 5] = 0; // low velocity 0
    Bytes out = patchTransfer(defaultPatch());
    append(out, zonesTransfer(zones));
    return out;
}

Bytes stoppedByRequest()
{
    Bytes out = header(0x7F, CBSysExPatch::PatchRequest);
    append(out, {0x00, 0xF7});
    append(out, both(4));
    return out;
}

Bytes truncated(Bytes bytes, std::size_t size)
{
    bytes.resize(size);
    return bytes;
}

Bytes withNameByte(int offset, Byte value)
{
    Bytes image = defaultPatch();
    image[std::size_t(offset)] = value;
    return patchTransfer(image);
}

constexpr int FirstControlName = 28;

INSTANTIATE_TEST_SUITE_P(
    Files, PatchFileReading,
    ::testing::Values(PatchCase{"written", both(4), true, Complete},
                      PatchCase{"junkBetween", withJunk(), true, Complete},
                      PatchCase{"otherOrder", reversed(), true, Complete},
                      PatchCase{"patchOnly", patchTransfer(defaultPatch()), true, Missing},
                      PatchCase{"deviceId5", both(4, 5), true, Complete}, PatchCase{"octave9", both(9), false, Missing},
                      PatchCase{"zonesOnly", zonesTransfer(defaultZones()), false, Missing},
                      PatchCase{"invalidZones", invalidZonesAfterPatch(), true, Incomplete},
                      PatchCase{"requestFirst", stoppedByRequest(), false, Missing},
                      PatchCase{"invalidName", withNameByte(3, '/'), false, Missing},
                      PatchCase{"patchNameAboveSevenBits", withNameByte(3, 0xE9), false, Missing},
                      PatchCase{"controlNameAboveSevenBits", withNameByte(FirstControlName + 2, 0xE9), true, Missing},
                      PatchCase{"patchNumber17", patchTransfer(defaultPatch(), 17), false, Missing},
                      PatchCase{"empty", Bytes{}, false, Missing},
                      PatchCase{"truncated", truncated(both(4), 300), false, Missing},
                      PatchCase{"cutAt400", truncated(both(4), 400), true, Incomplete},
                      PatchCase{"cutAt433", truncated(both(4), 433), true, Incomplete}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PatchFileReadingOrder, ControlNameBytesAreMaskedToSevenBits)
{
    const PatchFile file = PatchFile::fromBytes(withNameByte(FirstControlName + 2, 0xE9));
    ASSERT_TRUE(file.valid);
    EXPECT_EQ(file.patchImage[FirstControlName + 2], 0x69);
}

TEST(PatchFileReadingOrder, ALaterPatchTransferReplacesAnEarlierOne)
{
    Bytes out = patchTransfer(defaultPatch(2));
    append(out, patchTransfer(defaultPatch(6)));
    EXPECT_EQ(PatchFile::fromBytes(out).patchImage[22], 6);
}

TEST(PatchFileReadingOrder, InvalidZonesStopTheReadingButKeepThePatch)
{
    // The invalid zones message ends the reading, so the patch that follows
    // it is not seen.
    Bytes zones = defaultZones();
    zones[8 + 5] = 0;
    Bytes out = patchTransfer(defaultPatch(2));
    append(out, zonesTransfer(zones));
    append(out, patchTransfer(defaultPatch(6)));
    const PatchFile file = PatchFile::fromBytes(out);
    EXPECT_TRUE(file.valid);
    EXPECT_EQ(file.patchImage[22], 2);
}

struct BankCase {
    const char *name;
    Bytes bytes;
    bool valid;
    std::size_t zones;
    ZonesPart part; // of a valid file
};

class BankFileReading : public ::testing::TestWithParam<BankCase>
{
};

TEST_P(BankFileReading, FollowsTheAcceptanceRules)
{
    const BankCase &c = GetParam();
    const BankFile file = BankFile::fromBytes(c.bytes);
    EXPECT_EQ(file.valid, c.valid);
    EXPECT_EQ(file.patchImages.size(), c.valid ? 16u : 0u);
    EXPECT_EQ(file.zonesImages.size(), c.zones);
    EXPECT_EQ(file.settings.size(), c.valid ? 17u : 0u);
    if (c.valid) {
        EXPECT_EQ(file.zonesPart, c.part);
    }
}

Bytes bankWithPatchNumber17()
{
    Bytes out = settingsTransfer(defaultSettings());
    for (int p = 0; p < 16; ++p)
        append(out, patchTransfer(defaultPatch(), p == 2 ? 17 : 0));
    return out;
}

Bytes bankWithoutSettings()
{
    Bytes out = bank();
    return Bytes(out.begin() + 25, out.end());
}

Bytes bankWithSettingsLast()
{
    Bytes out = bankWithoutSettings();
    append(out, settingsTransfer(defaultSettings(4)));
    return out;
}

Bytes bankWithSeventeenPatches()
{
    Bytes out = bank(16, 0);
    append(out, patchTransfer(defaultPatch()));
    return out;
}

Bytes bankWithJunk()
{
    Bytes out{0x12, 0x34};
    for (const Bytes &m : messagesOf(bank())) {
        append(out, m);
        append(out, {0x7E, 0xF8});
    }
    return out;
}

Bytes bankWithBadSettings()
{
    Bytes out = settingsTransfer(defaultSettings(0));
    Bytes rest = bankWithoutSettings();
    append(out, rest);
    return out;
}

INSTANTIATE_TEST_SUITE_P(Files, BankFileReading,
                         ::testing::Values(BankCase{"written", bank(), true, 16, Complete},
                                           BankCase{"threeZones", bank(16, 3), true, 0, Incomplete},
                                           BankCase{"noZones", bank(16, 0), true, 0, Missing},
                                           BankCase{"fifteenPatches", bank(15, 16), false, 0, Missing},
                                           BankCase{"patchNumber17Third", bankWithPatchNumber17(), false, 0, Missing},
                                           BankCase{"noSettings", bankWithoutSettings(), false, 0, Missing},
                                           BankCase{"settingsLast", bankWithSettingsLast(), true, 16, Complete},
                                           BankCase{"seventeenPatches", bankWithSeventeenPatches(), true, 0, Missing},
                                           BankCase{"junkBetween", bankWithJunk(), true, 16, Complete},
                                           BankCase{"currentPatch0", bankWithBadSettings(), false, 0, Missing},
                                           BankCase{"patchFile", both(4), false, 0, Missing},
                                           BankCase{"missingFinalF7", truncated(bank(), 6968), true, 0, Incomplete},
                                           BankCase{"cutInTheZones", truncated(bank(), 5801 + 73 * 5 + 30), true, 0,
                                                    Incomplete}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(BankFileReadingOrder, PositionIsTheOrderAmongPatchTransfers)
{
    const BankFile file = BankFile::fromBytes(bank(16, 16, 7));
    ASSERT_TRUE(file.valid);
    for (int p = 0; p < 16; ++p) {
        EXPECT_EQ(file.patchImages[std::size_t(p)][23], 10 + p);
        EXPECT_EQ(file.zonesImages[std::size_t(p)][8], p);
    }
    EXPECT_EQ(file.settings[16], 7);
}

TEST(FileWriting, PatchFileHasTheWrittenLayoutAndReadsBack)
{
    const Bytes patch = defaultPatch(6);
    const Bytes zones = defaultZones(3);
    const QByteArray bytes = PatchFile::toBytes(patch, zones);
    ASSERT_EQ(bytes.size(), 434);
    Bytes expected = patchTransfer(patch);
    append(expected, zonesTransfer(zones));
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), expected);
    EXPECT_TRUE(PatchFile::toBytes(defaultPatch(9), zones).isEmpty());
    EXPECT_TRUE(PatchFile::toBytes(patch, Bytes(63)).isEmpty());
    EXPECT_EQ(PatchFile::toBytes(patch, {}).size(), 361);
}

TEST(FileWriting, BankFileHasTheWrittenLayoutAndReadsBack)
{
    const BankFile original = BankFile::fromBytes(bank(16, 16, 5));
    const QByteArray bytes = BankFile::toBytes(original.settings, original.patchImages, original.zonesImages);
    ASSERT_EQ(bytes.size(), 6969);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), bank(16, 16, 5));
    auto tooFew = original.patchImages;
    tooFew.pop_back();
    EXPECT_TRUE(BankFile::toBytes(original.settings, tooFew, original.zonesImages).isEmpty());
}

struct LeftoverCase {
    const char *name;
    bool old; // last modified two minutes ago
    bool removed;
};

class SaveLeftovers : public ::testing::TestWithParam<LeftoverCase>
{
};

// A killed save of a.vpb leaves its save file's temporary beside it; the next
// save of a.vpb removes such temporaries once they are over a minute old.
TEST_P(SaveLeftovers, TheNextSaveOfTheSameFileRemovesOnlyItsOldTemporaries)
{
    const LeftoverCase &c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile leftover(dir.filePath(c.name));
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.write("half");
    leftover.flush();
    if (c.old) {
        ASSERT_TRUE(
            leftover.setFileTime(QDateTime::currentDateTime().addSecs(-120), QFileDevice::FileModificationTime));
    }
    leftover.close();
    ASSERT_TRUE(SysExFile::writeAll(dir.filePath("a.vpb"), "whole"));
    EXPECT_EQ(leftover.exists(), !c.removed);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SaveLeftovers,
    ::testing::Values(LeftoverCase{"a.vpb.AbCdEf", true, true}, LeftoverCase{"a.vpb.Q1w2E3", true, true},
                      LeftoverCase{"a.vpb.AbCdEf", false, false}, LeftoverCase{"a.vpb.AbCdE", true, false},
                      LeftoverCase{"a.vpb.AbCd-f", true, false}, LeftoverCase{"b.vpb.AbCdEf", true, false}),
    [](const auto &info) {
        std::string name = info.param.name;
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        return name + (info.param.old ? "_old" : "_fresh");
    });

TEST(FileWriting, WriteAllReplacesAtomicallyAndFailsOnAMissingFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("a.vpp");
    ASSERT_TRUE(SysExFile::writeAll(path, "first"));
    ASSERT_TRUE(SysExFile::writeAll(path, "second"));
    EXPECT_EQ(SysExFile::readAll(path).value(), (Bytes{'s', 'e', 'c', 'o', 'n', 'd'}));
    EXPECT_FALSE(SysExFile::writeAll(dir.filePath("missing/a.vpp"), "x"));
    EXPECT_FALSE(SysExFile::readAll(dir.filePath("none.vpp")).has_value());
    EXPECT_FALSE(PatchFile::read(dir.filePath("none.vpp")).valid);
    EXPECT_FALSE(BankFile::read(dir.filePath("none.vpb")).valid);
}

} // namespace
