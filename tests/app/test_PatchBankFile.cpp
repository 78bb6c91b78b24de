#include "editor/app/files/BankFile.h"
#include "editor/app/files/PatchFile.h"
#include "editor/app/files/SysExFile.h"
#include "tests/support/FileBytes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace FileBytes;

TEST(SysExSplit, TakesEveryF0ToF7RangeAndIgnoresTheRest)
{
    const Bytes bytes{0x01, 0xF0, 0x02, 0xF7, 0x55, 0xF7, 0xF0, 0xF0, 0x03, 0xF7, 0xF0, 0x04};
    const auto messages = SysExFile::split(bytes);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], (Bytes{0xF0, 0x02, 0xF7}));
    EXPECT_EQ(messages[1], (Bytes{0xF0, 0xF0, 0x03, 0xF7}));
    EXPECT_TRUE(SysExFile::split(Bytes{}).empty());
}

struct PatchCase {
    const char *name;
    Bytes bytes;
    bool valid;
    bool hasZones;
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
    EXPECT_EQ(file.zonesImage.size(), c.hasZones ? 64u : 0u);
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
    ::testing::Values(PatchCase{"written", both(4), true, true}, PatchCase{"junkBetween", withJunk(), true, true},
                      PatchCase{"otherOrder", reversed(), true, true},
                      PatchCase{"patchOnly", patchTransfer(defaultPatch()), true, false},
                      PatchCase{"deviceId5", both(4, 5), true, true}, PatchCase{"octave9", both(9), false, false},
                      PatchCase{"zonesOnly", zonesTransfer(defaultZones()), false, false},
                      PatchCase{"invalidZones", invalidZonesAfterPatch(), true, false},
                      PatchCase{"requestFirst", stoppedByRequest(), false, false},
                      PatchCase{"invalidName", withNameByte(3, '/'), false, false},
                      PatchCase{"patchNameAboveSevenBits", withNameByte(3, 0xE9), false, false},
                      PatchCase{"controlNameAboveSevenBits", withNameByte(FirstControlName + 2, 0xE9), true, false},
                      PatchCase{"patchNumber17", patchTransfer(defaultPatch(), 17), false, false},
                      PatchCase{"empty", Bytes{}, false, false},
                      PatchCase{"truncated", truncated(both(4), 300), false, false}),
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
    for (const Bytes &m : SysExFile::split(bank())) {
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
                         ::testing::Values(BankCase{"written", bank(), true, 16},
                                           BankCase{"threeZones", bank(16, 3), true, 0},
                                           BankCase{"noZones", bank(16, 0), true, 0},
                                           BankCase{"fifteenPatches", bank(15, 16), false, 0},
                                           BankCase{"patchNumber17Third", bankWithPatchNumber17(), false, 0},
                                           BankCase{"noSettings", bankWithoutSettings(), false, 0},
                                           BankCase{"settingsLast", bankWithSettingsLast(), true, 16},
                                           BankCase{"seventeenPatches", bankWithSeventeenPatches(), true, 0},
                                           BankCase{"junkBetween", bankWithJunk(), true, 16},
                                           BankCase{"currentPatch0", bankWithBadSettings(), false, 0},
                                           BankCase{"patchFile", both(4), false, 0}),
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

TEST(FileWriting, WriteAllReplacesAtomicallyAndFailsOnAMissingFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("a.vpp");
    ASSERT_TRUE(SysExFile::writeAll(path, "first"));
    ASSERT_TRUE(SysExFile::writeAll(path, "second"));
    EXPECT_EQ(SysExFile::readAll(path).value(), QByteArray("second"));
    EXPECT_FALSE(SysExFile::writeAll(dir.filePath("missing/a.vpp"), "x"));
    EXPECT_FALSE(SysExFile::readAll(dir.filePath("none.vpp")).has_value());
    EXPECT_FALSE(PatchFile::read(dir.filePath("none.vpp")).valid);
    EXPECT_FALSE(BankFile::read(dir.filePath("none.vpb")).valid);
}

} // namespace
