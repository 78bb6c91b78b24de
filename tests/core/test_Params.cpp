#include "editor/core/ActivePatch.h"
#include "editor/core/Bank.h"
#include "editor/core/model/CBPatch.h"
#include "tests/support/ModelFixture.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

using namespace Brisel;

class Params : public ModelFixture
{
};

TEST_F(Params, ScalarRejectsOutOfRangeButStillNotifies)
{
    ScalarPatchParam octave(Octave);
    NotifyCounter counter(octave.subject());
    octave.setValue(9);
    EXPECT_EQ(octave.value(), 4);
    octave.setValue(8);
    EXPECT_EQ(octave.value(), 8);
    EXPECT_EQ(counter.count, 2);
    EXPECT_EQ(octave.minimum(), 0);
    EXPECT_EQ(octave.maximum(), 8);
}

TEST_F(Params, ControlFieldWritesTheAddressedRecordOnly)
{
    ScalarPatchControlParam value14(Control, 19, ControlValue14);
    ScalarPatchControlParam otherValue(Control, 18, ControlValue14);
    EXPECT_EQ(value14.value(), 8192);
    value14.setValue(16384);
    EXPECT_EQ(value14.value(), 8192);
    value14.setValue(16383);
    EXPECT_EQ(value14.value(), 16383);
    EXPECT_EQ(otherValue.value(), 0);
    EXPECT_EQ(value14.maximum(), 16383);
}

TEST_F(Params, ParameterCanBeReboundToAnotherImage)
{
    PatchImage scratch{};
    CBPatch::instance().initPatch(scratch.data());
    ScalarPatchParam semitone(Semitone, scratch.data());
    semitone.setValue(70);
    int own = 0;
    CBPatch::instance().getScalar(Semitone, &own);
    EXPECT_EQ(own, 64);
    EXPECT_EQ(semitone.value(), 70);
    semitone.setImage(nullptr);
    EXPECT_EQ(semitone.value(), 64);
}

struct NameCase {
    const char *input;
    const char *expected;
};

class NameParam : public ModelFixture, public ::testing::WithParamInterface<NameCase>
{
};

TEST_P(NameParam, TrimsPadsAndRefusesWholeTextWithIllegalCharacter)
{
    StringPatchParam name(PatchName, NameLength);
    NotifyCounter counter(name.subject());
    name.setValue(GetParam().input);
    EXPECT_EQ(name.value(), GetParam().expected);
    EXPECT_EQ(counter.count, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, NameParam,
                         ::testing::Values(NameCase{"Lead", "Lead"},
                                           NameCase{"A very long patch name", "A very long patc"},
                                           NameCase{"Bad/Name", "PelinorX PatchXX"},
                                           NameCase{"Bad\x7f", "PelinorX PatchXX"},
                                           NameCase{"Quote\"", "PelinorX PatchXX"}, NameCase{"", ""}));

TEST_F(Params, ControlNameIsMaskedAndNeverRefused)
{
    StringPatchControlParam name(3);
    name.setValue("Cut\xC1"
                  "ff/long");
    EXPECT_EQ(name.value(), "CutAff/l");
    EXPECT_EQ(name.index(), 3);
}

struct BoundCase {
    int low;
    int high;
    bool editLow;
    int value;
    bool accepted;
};

class Bound : public ModelFixture, public ::testing::WithParamInterface<BoundCase>
{
};

TEST_P(Bound, KeepsTheOrderOfThePair)
{
    const BoundCase &c = GetParam();
    ScalarPatchParam low(NoteLatchLowNote), high(NoteLatchHighNote);
    low.setValue(c.low);
    high.setValue(c.high);
    BoundScalarParam boundLow(low, high, BoundScalarParam::Lower);
    BoundScalarParam boundHigh(high, low, BoundScalarParam::Upper);
    BoundScalarParam &edited = c.editLow ? boundLow : boundHigh;
    NotifyCounter counter(edited.subject());
    edited.setValue(c.value);
    const int expected = c.accepted ? c.value : (c.editLow ? c.low : c.high);
    EXPECT_EQ(edited.value(), expected);
    // One notification either way: A's change is passed on, a refusal is told directly.
    EXPECT_EQ(counter.count, 1);
}

INSTANTIATE_TEST_SUITE_P(NoteLatch, Bound,
                         ::testing::Values(BoundCase{36, 60, true, 70, false}, BoundCase{60, 70, false, 60, true},
                                           BoundCase{36, 60, true, 60, true}, BoundCase{36, 60, false, 35, false},
                                           BoundCase{36, 60, false, 128, false}, BoundCase{36, 60, true, -1, false}));

TEST_F(Params, BoundParamRelaysChangesOfItsOwnParameter)
{
    ScalarPatchParam low(NoteLatchLowNote), high(NoteLatchHighNote);
    BoundScalarParam bound(low, high, BoundScalarParam::Lower);
    NotifyCounter counter(bound.subject());
    low.setValue(40);
    high.setValue(61);
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(bound.minimum(), 0);
    EXPECT_EQ(bound.maximum(), 127);
}

TEST_F(Params, ZoneLowVelocityZeroIsRefused)
{
    ActivePatch active;
    ScalarParam &lowVelocity = active.zones().zone(2).binding(ZoneLowVelocity);
    lowVelocity.setValue(0);
    EXPECT_EQ(lowVelocity.value(), 1);
    lowVelocity.setValue(127);
    EXPECT_EQ(lowVelocity.value(), 127);
    active.zones().zone(2).binding(ZoneHighVelocity).setValue(100);
    EXPECT_EQ(active.zones().zone(2).field(ZoneHighVelocity).value(), 127);
}

TEST_F(Params, ModifiedStatusFollowsEveryEditButNotImageReplacement)
{
    ActivePatch active;
    ModifiedStatus &modified = active.modifiedStatus();
    NotifyCounter counter(modified.subject());
    EXPECT_EQ(modified.value(), 0);
    EXPECT_TRUE(active.setPatchImage(active.patchImage()));
    EXPECT_TRUE(active.setZonesImage(active.zonesImage()));
    EXPECT_EQ(modified.value(), 0);

    active.settings().setting(Octave).setValue(99); // refused, still an edit
    EXPECT_EQ(modified.value(), 1);
    modified.setValue(0); // read-only
    EXPECT_EQ(modified.value(), 1);
    modified.clearModified();
    EXPECT_EQ(modified.value(), 0);

    active.name().setValue("Renamed");
    EXPECT_EQ(modified.value(), 1);
    modified.clearModified();
    active.zones().zone(3).field(ZoneSendSustain).setValue(0);
    EXPECT_EQ(modified.value(), 1);
    modified.clearModified();
    active.settings().program(15).number.setValue(5);
    EXPECT_EQ(modified.value(), 1);
    EXPECT_GE(counter.count, 6);
}

TEST_F(Params, EveryEditOfTheActivePatchIsToldOnce)
{
    ActivePatch active;
    int told = 0;
    struct Count : Utils::Observer {
        int *told;
        void update() override { ++*told; }
    } observer;
    observer.told = &told;
    for (Param *param : active.settings().params())
        param->subject().attach(&observer);
    active.settings().setting(NoteLatchLowNote).setValue(40);
    EXPECT_EQ(told, 1);
    active.settings().scalar(NoteLatchHighNote).setValue(70);
    EXPECT_EQ(told, 2);
    active.settings().setting(NoteLatchLowNote).setValue(80); // refused
    EXPECT_EQ(told, 3);
}

TEST_F(Params, ActivePatchHasNoAftertouchControlAndNineteenControlSets)
{
    ActivePatch active;
    EXPECT_EQ(active.settings().control(AftertouchControl), nullptr);
    ASSERT_NE(active.settings().control(PitchWheelControl), nullptr);
    EXPECT_EQ(active.settings().control(PitchWheelControl)->value14.value(), 8192);
    // 9 plain settings, 2 bound, the velocity curve, 19 x 6 control and 16 x 4 program parameters.
    std::vector<Param *> params = active.settings().params();
    EXPECT_EQ(params.size(), 12u + 19u * 6u + 16u * 4u);
    EXPECT_EQ(std::set<Param *>(params.begin(), params.end()).size(), params.size());
    // 2 switches and per zone 9 plain and 4 bound parameters.
    EXPECT_EQ(active.zones().params().size(), 2u + 4u * 13u);
}

TEST_F(Params, ActivePatchRefusesInvalidImages)
{
    ActivePatch active;
    NotifyCounter counter(active.settings().imageSubject());
    std::vector<Byte> image = active.patchImage();
    image[22] = 9; // octave out of range
    EXPECT_FALSE(active.setPatchImage(image));
    image.resize(351);
    EXPECT_FALSE(active.setPatchImage(image));
    EXPECT_FALSE(active.setZonesImage(std::vector<Byte>(65, 0)));
    EXPECT_EQ(counter.count, 0);
    EXPECT_EQ(active.patchImage()[22], 4);
}

TEST_F(Params, StoredPatchImagesAreValidatedAndMarkModified)
{
    Patch patch(5);
    EXPECT_EQ(patch.number(), 5);
    EXPECT_EQ(patch.name().value(), "PelinorX PatchXX");
    NotifyCounter patchCounter(patch.patchImageSubject());
    NotifyCounter zonesCounter(patch.zonesImageSubject());

    PatchImage image = patch.patchImage();
    image[25] = 0x80;
    EXPECT_FALSE(patch.setPatchImage(image));
    EXPECT_FALSE(patch.setZonesImage(std::vector<Byte>(10)));
    EXPECT_FALSE(patch.isModified());

    image[25] = 50;
    EXPECT_TRUE(patch.setPatchImage(image));
    EXPECT_EQ(patch.patchImage()[25], 50);
    EXPECT_TRUE(patch.isModified());
    ZonesImage zones = patch.zonesImage();
    zones[0] = 1;
    EXPECT_TRUE(patch.setZonesImage(zones));
    EXPECT_EQ(patchCounter.count, 1);
    EXPECT_EQ(zonesCounter.count, 1);
    patch.clearModified();
    EXPECT_FALSE(patch.isModified());
}

TEST_F(Params, BankSettingsAreValidatedAndNotifyNameAndCurrentPatch)
{
    Bank bank;
    NotifyCounter nameCounter(bank.name().subject());
    NotifyCounter currentCounter(bank.currentPatch().subject());
    std::vector<Byte> settings = bank.settings();
    ASSERT_EQ(settings.size(), 17u);
    settings[16] = 17;
    EXPECT_FALSE(bank.setSettings(settings));
    settings[16] = 0;
    EXPECT_FALSE(bank.setSettings(settings));
    EXPECT_FALSE(bank.setSettings(std::vector<Byte>(18, 1)));
    EXPECT_EQ(nameCounter.count, 0);
    settings[16] = 9;
    EXPECT_TRUE(bank.setSettings(settings));
    EXPECT_EQ(bank.currentPatch().value(), 9);
    EXPECT_EQ(nameCounter.count, 1);
    EXPECT_EQ(currentCounter.count, 1);
}

TEST_F(Params, BankTracksModifiedStoredPatches)
{
    Bank bank;
    EXPECT_EQ(bank.patch(0).number(), 1);
    EXPECT_EQ(bank.patch(15).number(), 16);
    EXPECT_FALSE(bank.hasModifiedPatches());
    EXPECT_TRUE(bank.patch(7).setPatchImage(bank.patch(3).patchImage()));
    EXPECT_TRUE(bank.hasModifiedPatches());
    bank.clearModified();
    EXPECT_FALSE(bank.hasModifiedPatches());
}

} // namespace
