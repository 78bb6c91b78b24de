#include "editor/core/model/CBPatch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<Byte>;

void append(Bytes &out, const std::string &text) { out.insert(out.end(), text.begin(), text.end()); }
void append(Bytes &out, std::initializer_list<int> values)
{
    for (int v : values)
        out.push_back(Byte(v));
}

// The factory patch, written out from the data sheet rather than computed.
Bytes expectedDefaultPatch()
{
    Bytes b;
    append(b, "PelinorX PatchXX");
    append(b, {0, 7, 0, 0, 0, 0, 4, 64, 0, 36, 60, 4});
    // name, channel, mode, controller number, value high, value low
    append(b, "Tone    "), append(b, {4, 11, 21, 0, 0});
    append(b, "Presence"), append(b, {5, 11, 22, 0, 0});
    append(b, "Filt Atk"), append(b, {6, 11, 23, 0, 0});
    append(b, "Filt Dcy"), append(b, {7, 11, 24, 0, 0});
    append(b, "Attack  "), append(b, {8, 11, 25, 0, 0});
    append(b, "Decay   "), append(b, {9, 11, 26, 0, 0});
    append(b, "Start   "), append(b, {10, 11, 27, 0, 0});
    append(b, "Release "), append(b, {11, 11, 28, 0, 0});
    append(b, "Vel-Vol "), append(b, {12, 11, 70, 0, 0});
    append(b, "Vel-FC  "), append(b, {13, 11, 71, 0, 0});
    append(b, "Retrig  "), append(b, {14, 11, 72, 0, 0});
    append(b, "Rate    "), append(b, {15, 11, 73, 0, 0});
    append(b, "Pitch Up"), append(b, {0, 11, 91, 0, 0});
    append(b, "Pitch Dn"), append(b, {1, 11, 93, 0, 0});
    append(b, "FX A    "), append(b, {2, 11, 82, 0, 0});
    append(b, "FX B    "), append(b, {3, 11, 83, 0, 0});
    append(b, "ModWheel"), append(b, {4, 11, 1, 0, 0});
    append(b, "CtlPedal"), append(b, {5, 11, 64, 0, 0});
    append(b, "AftTouch"), append(b, {6, 13, 0, 0, 0});
    append(b, "PitchWhl"), append(b, {7, 14, 0, 64, 0});
    b.resize(b.size() + 64, 0); // 16 program changes, all off
    return b;
}

Bytes expectedDefaultZones()
{
    Bytes b(8, 0);
    for (int z = 0; z < 4; ++z)
        append(b, {z, 0, 127, 0, 1, 1, 127, 0x3E, 0, 0, 0, 0, 0, 0});
    return b;
}

class CBPatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        patch.initPatch(image.data());
        patch.initZones(zones.data());
        patch.initBankSettings(bank.data());
    }

    CBPatch &patch = CBPatch::instance();
    PatchImage image{};
    ZonesImage zones{};
    BankSettingsRecord bank{};
};

TEST_F(CBPatchTest, DefaultImagesMatchTheFactorySettingsByteForByte)
{
    EXPECT_EQ(Bytes(image.begin(), image.end()), expectedDefaultPatch());
    EXPECT_EQ(Bytes(zones.begin(), zones.end()), expectedDefaultZones());
    Bytes expectedBank;
    append(expectedBank, "PelinorX Bank 01");
    append(expectedBank, {1});
    EXPECT_EQ(Bytes(bank.begin(), bank.begin() + BankSettingsSize), expectedBank);
}

TEST_F(CBPatchTest, InitZonesClearsEveryReservedByte)
{
    zones.fill(0x55);
    patch.initZones(zones.data());
    EXPECT_EQ(Bytes(zones.begin(), zones.end()), expectedDefaultZones());
}

TEST_F(CBPatchTest, NullImageMeansTheOwnImageOfTheParameter)
{
    ASSERT_TRUE(patch.setScalar(Octave, 6));
    ASSERT_TRUE(patch.setScalar(BankCurrentPatch, 9));
    ASSERT_TRUE(patch.setScalar(ZonesMasterEnable, 1));
    int octave = 0, current = 0, master = 0;
    patch.getScalar(Octave, &octave);
    patch.getScalar(BankCurrentPatch, &current);
    patch.getScalar(ZonesMasterEnable, &master);
    EXPECT_EQ(octave, 6);
    EXPECT_EQ(current, 9);
    EXPECT_EQ(master, 1);

    PatchImage copy{};
    patch.copyPatchImage(copy.data(), nullptr);
    EXPECT_EQ(copy[22], 6);
    patch.initPatch();
    patch.initZones();
    patch.initBankSettings();
    EXPECT_EQ(patch.comparePatchImages(nullptr, image.data()), 0);
    EXPECT_EQ(patch.compareZonesImages(nullptr, zones.data()), 0);
}

struct RangeCase {
    int id;
    int field; // -1 for scalars
    int min;
    int max;
};

void PrintTo(const RangeCase &c, std::ostream *os) { *os << "id " << c.id << " field " << c.field; }

class CBPatchRange : public CBPatchTest, public ::testing::WithParamInterface<RangeCase>
{
protected:
    bool set(int value)
    {
        const RangeCase &c = GetParam();
        Byte *target = c.id == BankCurrentPatch ? bank.data() : c.id >= ZonesMasterEnable ? zones.data() : image.data();
        return c.field < 0 ? patch.setScalar(c.id, value, target) : patch.setField(c.id, 3, c.field, value, target);
    }
    int get()
    {
        const RangeCase &c = GetParam();
        const Byte *target = c.id == BankCurrentPatch    ? bank.data()
                             : c.id >= ZonesMasterEnable ? zones.data()
                                                         : image.data();
        int value = -1;
        if (c.field < 0)
            patch.getScalar(c.id, &value, target);
        else
            patch.getField(c.id, 3, c.field, &value, target);
        return value;
    }
};

TEST_P(CBPatchRange, AcceptsTheEndsAndRejectsBeyondThemWithoutWriting)
{
    const RangeCase &c = GetParam();
    EXPECT_EQ(patch.minimum(c.id, c.field), c.min);
    EXPECT_EQ(patch.maximum(c.id, c.field), c.max);

    ASSERT_TRUE(set(c.max));
    EXPECT_EQ(get(), c.max);
    ASSERT_TRUE(set(c.min));
    EXPECT_EQ(get(), c.min);

    const PatchImage imageBefore = image;
    const ZonesImage zonesBefore = zones;
    const BankSettingsRecord bankBefore = bank;
    EXPECT_FALSE(set(c.min - 1));
    EXPECT_FALSE(set(c.max + 1));
    EXPECT_EQ(image, imageBefore);
    EXPECT_EQ(zones, zonesBefore);
    EXPECT_EQ(bank, bankBefore);
}

INSTANTIATE_TEST_SUITE_P(
    EveryRangedParameter, CBPatchRange,
    ::testing::Values(RangeCase{BankCurrentPatch, -1, 1, 16}, RangeCase{ChannelModeChannel, -1, 0, 15},
                      RangeCase{SixteenChannelModeCC, -1, 0, 127}, RangeCase{AdvancedMode, -1, 0, 1},
                      RangeCase{ProgramChangeMasterEnable, -1, 0, 1}, RangeCase{LoadValues, -1, 0, 1},
                      RangeCase{SaveValues, -1, 0, 1}, RangeCase{Octave, -1, 0, 8}, RangeCase{Semitone, -1, 0, 127},
                      RangeCase{NoteLatchMode, -1, 0, 1}, RangeCase{NoteLatchLowNote, -1, 0, 127},
                      RangeCase{NoteLatchHighNote, -1, 0, 127}, RangeCase{VelocityCurve, -1, 0, 7},
                      RangeCase{ZonesMasterEnable, -1, 0, 1}, RangeCase{ZoneTransposePosition, -1, 0, 1},
                      RangeCase{Control, ControlChannel, 0, 15}, RangeCase{Control, ControlMode, 8, 15},
                      RangeCase{Control, ControlNumber, 0, 127}, RangeCase{Control, ControlValue, 0, 127},
                      RangeCase{Control, ControlValue14, 0, 16383}, RangeCase{ProgramChange, ProgramEnable, 0, 1},
                      RangeCase{ProgramChange, ProgramNumber, 0, 127}, RangeCase{ProgramChange, ProgramBankLsb, 0, 127},
                      RangeCase{ProgramChange, ProgramBankMsb, 0, 127}, RangeCase{Zone, ZoneChannel, 0, 15},
                      RangeCase{Zone, ZoneLowNote, 0, 127}, RangeCase{Zone, ZoneHighNote, 0, 127},
                      RangeCase{Zone, ZoneTranspose, 0, 255}, RangeCase{Zone, ZoneLowVelocity, 1, 127},
                      RangeCase{Zone, ZoneHighVelocity, 1, 127}, RangeCase{Zone, ZoneEnable, 0, 1},
                      RangeCase{Zone, ZoneSendPitchWheel, 0, 1}, RangeCase{Zone, ZoneSendModWheel, 0, 1},
                      RangeCase{Zone, ZoneSendAftertouch, 0, 1}, RangeCase{Zone, ZoneSendSustain, 0, 1},
                      RangeCase{Zone, ZoneNoteLatch, 0, 1}, RangeCase{Zone, ZonePostZoneOctaveTranspose, 0, 1}));

TEST_F(CBPatchTest, FourteenBitValuesSplitIntoSevenBitBytes)
{
    const int knob20 = 28 + 13 * 19;
    ASSERT_TRUE(patch.setField(Control, 19, ControlValue14, 16383, image.data()));
    EXPECT_EQ(image[knob20 + 11], 0x7F);
    EXPECT_EQ(image[knob20 + 12], 0x7F);
    ASSERT_TRUE(patch.setField(Control, 19, ControlValue14, 0x1234, image.data()));
    EXPECT_EQ(image[knob20 + 11], 0x1234 >> 7);
    EXPECT_EQ(image[knob20 + 12], 0x1234 & 0x7F);

    // The 7-bit value shares the high byte and leaves the low byte alone.
    ASSERT_TRUE(patch.setField(Control, 19, ControlValue, 5, image.data()));
    EXPECT_EQ(image[knob20 + 11], 5);
    EXPECT_EQ(image[knob20 + 12], 0x1234 & 0x7F);
    int value14 = 0;
    patch.getField(Control, 19, ControlValue14, &value14, image.data());
    EXPECT_EQ(value14, 5 * 128 + (0x1234 & 0x7F));

    // The zone transpose is stored the other way round: low bits first.
    const int zone3 = 8 + 14 * 2;
    ASSERT_TRUE(patch.setField(Zone, 2, ZoneTranspose, 200, zones.data()));
    EXPECT_EQ(zones[zone3 + 3], 200 & 0x7F);
    EXPECT_EQ(zones[zone3 + 4], 1);
    int transpose = 0;
    patch.getField(Zone, 2, ZoneTranspose, &transpose, zones.data());
    EXPECT_EQ(transpose, 200);
}

TEST_F(CBPatchTest, BitFieldsChangeOnlyTheirOwnBit)
{
    zones[0] = 0;
    ASSERT_TRUE(patch.setScalar(ZoneTransposePosition, 1, zones.data()));
    ASSERT_TRUE(patch.setScalar(ZonesMasterEnable, 1, zones.data()));
    EXPECT_EQ(zones[0], 0x03);
    ASSERT_TRUE(patch.setScalar(ZonesMasterEnable, 0, zones.data()));
    EXPECT_EQ(zones[0], 0x02);

    const int zone4Flags = 8 + 14 * 3 + 7;
    for (int field = ZoneEnable; field <= ZonePostZoneOctaveTranspose; ++field) {
        const Byte before = zones[zone4Flags];
        const int bit = 1 << (field - ZoneEnable);
        ASSERT_TRUE(patch.setField(Zone, 3, field, (before & bit) ? 0 : 1, zones.data()));
        EXPECT_EQ(zones[zone4Flags], before ^ bit) << "field " << field;
        int value = -1;
        patch.getField(Zone, 3, field, &value, zones.data());
        EXPECT_EQ(value, (before & bit) ? 0 : 1);
    }
}

TEST_F(CBPatchTest, NamesWithAnIllegalCharacterAreRejectedWhole)
{
    for (const char *bad : {"Bad/Name        ", "Bad\x7FName       ", "Bad\x80Name       ", "Tab\tName        ",
                            "Quote\"Name      ", "Pipe|Name       ", "What?           "}) {
        EXPECT_FALSE(patch.setString(PatchName, bad, image.data())) << bad;
        EXPECT_FALSE(patch.setString(BankName, bad, bank.data())) << bad;
    }
    char name[16];
    patch.getString(PatchName, name, image.data());
    EXPECT_EQ(std::string(name, 16), "PelinorX PatchXX");

    ASSERT_TRUE(patch.setString(PatchName, "Lead ~ (2026) #1", image.data()));
    patch.getString(PatchName, name, image.data());
    EXPECT_EQ(std::string(name, 16), "Lead ~ (2026) #1");
}

TEST_F(CBPatchTest, ControlNamesAreStoredMaskedToSevenBits)
{
    const char name[8] = {'\xC1', 'b', 'c', 'd', 'e', 'f', 'g', '\xFF'};
    EXPECT_TRUE(patch.setControlName(Control, 5, ControlName, name, image.data()));
    char out[8];
    patch.getControlName(Control, 5, ControlName, out, image.data());
    EXPECT_EQ(std::string(out, 8), std::string("Abcdefg\x7F", 8));
}

TEST_F(CBPatchTest, IndexOutsideItsRecordsIsRefusedAndWritesNothing)
{
    const PatchImage imageBefore = image;
    const ZonesImage zonesBefore = zones;
    const char name[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    EXPECT_FALSE(patch.setField(Control, 20, ControlChannel, 1, image.data()));
    EXPECT_FALSE(patch.setField(Control, -1, ControlChannel, 1, image.data()));
    EXPECT_FALSE(patch.setField(ProgramChange, 16, ProgramNumber, 1, image.data()));
    EXPECT_FALSE(patch.setField(Zone, 4, ZoneChannel, 1, zones.data()));
    EXPECT_FALSE(patch.setControlName(Control, 20, ControlName, name, image.data()));
    EXPECT_EQ(image, imageBefore);
    EXPECT_EQ(zones, zonesBefore);
    int out = -7;
    EXPECT_FALSE(patch.getField(Zone, 4, ZoneChannel, &out, zones.data()));
    EXPECT_EQ(out, -7);
}

TEST_F(CBPatchTest, UnknownIdsAndFieldsAreAcceptedWithoutWriting)
{
    const PatchImage imageBefore = image;
    EXPECT_TRUE(patch.setScalar(PatchName, 5, image.data()));
    EXPECT_TRUE(patch.setScalar(Control, 5, image.data()));
    EXPECT_TRUE(patch.setScalar(42, 5, image.data()));
    EXPECT_TRUE(patch.setField(Control, 0, ProgramNumber, 5, image.data()));
    EXPECT_TRUE(patch.setField(Octave, 0, ControlChannel, 5, image.data()));
    EXPECT_TRUE(patch.setString(Octave, "xxxxxxxxxxxxxxxx", image.data()));
    EXPECT_TRUE(patch.setControlName(Zone, 0, ControlName, "xxxxxxxx", image.data()));
    EXPECT_EQ(image, imageBefore);

    // A pair without a range answers with the field argument itself.
    EXPECT_EQ(patch.minimum(Control, ControlName), ControlName);
    EXPECT_EQ(patch.maximum(Control, ZoneChannel), ZoneChannel);
    EXPECT_EQ(patch.minimum(PatchName, -1), -1);
    // Non-indexed ids ignore the field.
    EXPECT_EQ(patch.maximum(Octave, 13), 8);
}

TEST_F(CBPatchTest, ValidationLeavesALegalImageUntouched)
{
    // Arbitrary low bytes of the 14-bit values are legal.
    for (int i = 0; i < ControlCount; ++i)
        image[28 + 13 * i + 12] = Byte((i * 37) & 0x7F);
    patch.setField(Zone, 1, ZoneTranspose, 255, zones.data());
    const PatchImage imageBefore = image;
    const ZonesImage zonesBefore = zones;
    const BankSettingsRecord bankBefore = bank;
    EXPECT_TRUE(patch.validatePatchImage(image.data()));
    EXPECT_TRUE(patch.validateZonesImage(zones.data()));
    EXPECT_TRUE(patch.validateBankSettings(bank.data()));
    EXPECT_EQ(image, imageBefore);
    EXPECT_EQ(zones, zonesBefore);
    EXPECT_EQ(bank, bankBefore);
}

TEST_F(CBPatchTest, ValidationReportsEachKindOfIllegalValueAndKeepsIt)
{
    struct Corruption {
        const char *what;
        int offset;
        Byte value;
    };
    const Corruption patchCases[] = {
        {"octave 9", 22, 9},
        {"velocity curve 8", 27, 8},
        {"name char", 3, '/'},
        {"control mode 7", 28 + 9, 7},
        {"aftertouch channel 16", 28 + 13 * 18 + 8, 16},
        {"program enable 2", 288 + 4 * 15, 2},
        {"14-bit low byte 0x80", 28 + 12, 0x80},
        {"14-bit low byte 0xF0", 28 + 13 * 19 + 12, 0xF0},
    };
    for (const Corruption &c : patchCases) {
        PatchImage copy = image;
        copy[size_t(c.offset)] = c.value;
        const PatchImage before = copy;
        EXPECT_FALSE(patch.validatePatchImage(copy.data())) << c.what;
        EXPECT_EQ(copy, before) << c.what;
    }

    const Corruption zoneCases[] = {{"low velocity 0", 8 + 5, 0},
                                    {"channel 16", 8 + 14 * 3, 16},
                                    {"transpose 256", 8 + 4, 2},
                                    {"master flags top bit", 0, 0x81},
                                    {"reserved byte 0xF0", 1, 0xF0},
                                    {"zone switches top bit", 8 + 7, 0x80},
                                    {"zone record reserved byte", 8 + 14 * 2 + 13, 0xF7}};
    for (const Corruption &c : zoneCases) {
        ZonesImage copy = zones;
        copy[size_t(c.offset)] = c.value;
        EXPECT_FALSE(patch.validateZonesImage(copy.data())) << c.what;
    }

    for (Byte current : {Byte(0), Byte(17)}) {
        BankSettingsRecord copy = bank;
        copy[16] = current;
        EXPECT_FALSE(patch.validateBankSettings(copy.data()));
        EXPECT_EQ(copy[16], current);
    }
}

TEST_F(CBPatchTest, ValidationMasksControlNamesAndRefusesTextNamesAboveSevenBits)
{
    struct Case {
        const char *what;
        int offset;
        Byte value;
        bool valid;
        Byte stored;
    };
    const Case cases[] = {
        {"first control name", 28, 0xE9, true, 0x69},
        {"pitch wheel name end", 28 + 13 * 19 + 7, 0xFF, true, 0x7F},
        {"patch name", 5, 0xE9, false, 0xE9},
    };
    for (const Case &c : cases) {
        PatchImage copy = image;
        copy[size_t(c.offset)] = c.value;
        EXPECT_EQ(patch.validatePatchImage(copy.data()), c.valid) << c.what;
        EXPECT_EQ(copy[size_t(c.offset)], c.stored) << c.what;
    }
}

TEST_F(CBPatchTest, CompareOrdersLikeUnsignedMemcmp)
{
    PatchImage other = image;
    EXPECT_EQ(patch.comparePatchImages(image.data(), other.data()), 0);
    other[351] = 1;
    EXPECT_EQ(patch.comparePatchImages(image.data(), other.data()), -1);
    EXPECT_EQ(patch.comparePatchImages(other.data(), image.data()), 1);

    ZonesImage high = zones;
    high[0] = 0x80; // unsigned: larger than any 7-bit byte
    EXPECT_EQ(patch.compareZonesImages(high.data(), zones.data()), 1);
}

} // namespace
