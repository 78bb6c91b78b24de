#include "editor/app/editors/Conversions.h"
#include "editor/core/ActivePatch.h"
#include "tests/support/ModelFixture.h"

#include <gtest/gtest.h>

#include <climits>

using namespace Brisel;

namespace {

class Conversion : public ModelFixture
{
protected:
    ControlParams &control(int index) { return *patch.settings().control(index); }
    ControlValueParams values(int index)
    {
        ControlParams &c = control(index);
        return {c.mode, c.value, c.value14};
    }
    void setMode(int index, int code) { control(index).mode.setValue(code); }

    ActivePatch patch;
};

TEST(ConversionParse, AcceptsDecimalIntegersOnly)
{
    const struct {
        const char *text;
        bool ok;
        int value;
    } cases[] = {
        {"12", true, 12},
        {" 12 ", true, 12},
        {"+7", true, 7},
        {"-64", true, -64},
        {"0", true, 0},
        {"", false, 0},
        {"abc", false, 0},
        {"1e2", false, 0},
        {"0x10", false, 0},
        {"12a", false, 0},
        {"99999999999", true, INT_MAX},
        {"-99999999999", true, INT_MIN},
    };
    for (const auto &c : cases) {
        int value = 0;
        EXPECT_EQ(Conversions::parse(QString::fromLatin1(c.text), value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(ControllerModes, StatusCodesMapToEditorModes)
{
    const std::pair<int, int> codes[] = {
        {ModeCC, 1}, {ModePitchWheel, 2}, {Mode3DMidi, 3}, {ModeNrpn, 4}, {ModeChannelAftertouch, 0}, {9, 0}, {0, 0}};
    for (const auto &[code, mode] : codes)
        EXPECT_EQ(ControllerModeParameter::modeFromCode(code), mode) << code;
    for (int mode : {0, 5, -1})
        EXPECT_EQ(ControllerModeParameter::codeFromMode(mode), -1) << mode;
}

TEST_F(Conversion, SettingAnUnknownModeChangesNothing)
{
    ControllerModeParameter mode(control(0).mode);
    setMode(0, ModeNrpn);
    EXPECT_FALSE(mode.setMode(0));
    EXPECT_FALSE(mode.setMode(5));
    EXPECT_EQ(control(0).mode.value(), ModeNrpn);
    EXPECT_TRUE(mode.setMode(ControllerModeParameter::Midi3D));
    EXPECT_EQ(control(0).mode.value(), Mode3DMidi);
}

TEST_F(Conversion, MidiChannelShowsOneToSixteen)
{
    MidiChanLineEditData data(control(0).channel);
    control(0).channel.setValue(0);
    EXPECT_EQ(data.text(), "1");
    control(0).channel.setValue(15);
    EXPECT_EQ(data.text(), "16");

    const struct {
        const char *text;
        bool changed;
        int stored;
    } entries[] = {{"16", false, 15}, {"1", true, 0}, {"0", false, 0}, {"17", false, 0},
                   {"x", false, 0},   {"", false, 0}, {"9", true, 8},  {"-1", false, 8}};
    control(0).channel.setValue(15);
    for (const auto &e : entries) {
        EXPECT_EQ(data.setText(QString::fromLatin1(e.text)), e.changed) << e.text;
        EXPECT_EQ(control(0).channel.value(), e.stored) << e.text;
    }
}

TEST_F(Conversion, MidiChannelOutsideTheChannelsShowsEmpty)
{
    // A parameter holding more than a channel number shows nothing rather than "17".
    ScalarPatchParam plain(SixteenChannelModeCC);
    plain.setValue(16);
    MidiChanLineEditData data(plain);
    EXPECT_EQ(data.text(), "");
}

TEST_F(Conversion, SignedNumbersWithAnOffset)
{
    ScalarParam &octave = patch.settings().setting(Octave);
    NumLineEditData data(octave, true, 4);
    const std::pair<int, const char *> shown[] = {{4, "0"}, {5, "+1"}, {8, "+4"}, {3, "-1"}, {0, "-4"}};
    for (const auto &[stored, text] : shown) {
        octave.setValue(stored);
        EXPECT_EQ(data.text(), text) << stored;
    }
    EXPECT_TRUE(data.setText("+2"));
    EXPECT_EQ(octave.value(), 6);
    EXPECT_FALSE(data.setText("2")) << "the same value is no change";
    // Out of the core's range: passed on, refused there.
    EXPECT_TRUE(data.setText("+9"));
    EXPECT_EQ(octave.value(), 6);
    EXPECT_TRUE(data.setText(QStringLiteral("2147483647")));
    EXPECT_EQ(octave.value(), 6) << "no overflow past the offset";
}

TEST_F(Conversion, ZoneTransposeShowsStoredMinus128)
{
    ScalarParam &transpose = patch.zones().zone(0).binding(ZoneTranspose);
    NumLineEditData data(transpose, true, 128);
    const std::pair<int, const char *> shown[] = {{128, "0"}, {140, "+12"}, {116, "-12"}, {0, "-128"}, {255, "+127"}};
    for (const auto &[stored, text] : shown) {
        transpose.setValue(stored);
        EXPECT_EQ(data.text(), text) << stored;
    }
    EXPECT_TRUE(data.setText("-5"));
    EXPECT_EQ(transpose.value(), 123);
}

TEST_F(Conversion, ValueFieldFollowsTheMode)
{
    ValueLineEditData data(values(0));
    control(0).value14.setValue(1000);
    const int value7 = control(0).value.value();
    const struct {
        int code;
        QString shown;
    } cases[] = {{ModeCC, QString::number(value7)},
                 {ModeNrpn, QString::number(value7)},
                 {Mode3DMidi, QStringLiteral("1000")},
                 {ModePitchWheel, QString()}};
    for (const auto &c : cases) {
        setMode(0, c.code);
        EXPECT_EQ(data.text(), c.shown) << c.code;
    }
    setMode(0, ModePitchWheel);
    EXPECT_FALSE(data.setText("5")) << "pitch-bend mode has no value here";
    setMode(0, Mode3DMidi);
    EXPECT_TRUE(data.setText("9000"));
    EXPECT_EQ(control(0).value14.value(), 9000);
}

TEST_F(Conversion, PitchWheelValueInPitchBendMode)
{
    PitchWheelLineEditData data(values(PitchWheelControl));
    setMode(PitchWheelControl, ModePitchWheel);
    const std::pair<int, const char *> shown[] = {{8192, "0"}, {16383, "+63"}, {0, "-64"}, {8320, "+1"}, {8191, "-1"}};
    for (const auto &[stored, text] : shown) {
        control(PitchWheelControl).value14.setValue(stored);
        EXPECT_EQ(data.text(), text) << stored;
    }
    EXPECT_TRUE(data.setText("-10"));
    EXPECT_EQ(control(PitchWheelControl).value14.value(), 6912);
    EXPECT_TRUE(data.setText("+63"));
    EXPECT_EQ(control(PitchWheelControl).value14.value(), 16256);
    // (n + 64) x 128 would wrap to 0 in int arithmetic.
    data.setText(QStringLiteral("33554368"));
    EXPECT_EQ(control(PitchWheelControl).value14.value(), 16256);
    setMode(PitchWheelControl, ModeCC);
    control(PitchWheelControl).value.setValue(33);
    EXPECT_EQ(data.text(), "33");
    setMode(PitchWheelControl, ModeNrpn);
    EXPECT_EQ(data.text(), "");
}

TEST_F(Conversion, PitchWheelCCFieldSwitchesBetweenPWAndCC)
{
    PitchWheelCCLineEditData data(control(PitchWheelControl).mode, control(PitchWheelControl).number);
    setMode(PitchWheelControl, ModeCC);
    const struct {
        const char *text;
        bool changed;
        int mode;
        int number;
        const char *shown;
    } steps[] = {
        {"PW", true, ModePitchWheel, 1, "PW"},   {"PW", false, ModePitchWheel, 1, "PW"},
        {"abc", false, ModePitchWheel, 1, "PW"}, // not a number: nothing changes, the mode included
        {"pw", false, ModePitchWheel, 1, "PW"},  {"12", true, ModeCC, 12, "12"},
        {"12", false, ModeCC, 12, "12"},         {"200", true, ModeCC, 12, "12"}, // refused by the core
    };
    control(PitchWheelControl).number.setValue(1);
    for (const auto &s : steps) {
        EXPECT_EQ(data.setText(QString::fromLatin1(s.text)), s.changed) << s.text;
        EXPECT_EQ(control(PitchWheelControl).mode.value(), s.mode) << s.text;
        EXPECT_EQ(control(PitchWheelControl).number.value(), s.number) << s.text;
        EXPECT_EQ(data.text(), s.shown) << s.text;
    }
}

TEST_F(Conversion, KnobRangeAndValueFollowTheMode)
{
    ValueKnobData data(values(0));
    control(0).value14.setValue(5000);
    const struct {
        int code;
        int minimum, maximum;
        bool notNrpn;
    } cases[] = {
        {ModeCC, 0, 127, true}, {ModeNrpn, 0, 127, false}, {Mode3DMidi, 0, 16383, true}, {ModePitchWheel, 0, 0, true}};
    for (const auto &c : cases) {
        setMode(0, c.code);
        int minimum = -1;
        int maximum = -1;
        data.range(minimum, maximum);
        EXPECT_EQ(minimum, c.minimum) << c.code;
        EXPECT_EQ(maximum, c.maximum) << c.code;
        EXPECT_EQ(data.isNotNrpn(), c.notNrpn) << c.code;
    }
    EXPECT_EQ(data.value(), 0);
    EXPECT_FALSE(data.setValue(3)) << "pitch-bend mode has no knob value";
    setMode(0, Mode3DMidi);
    EXPECT_EQ(data.value(), 5000);
}

TEST_F(Conversion, PitchWheelDataMovesInStepsOf128)
{
    PitchWheelData data(values(PitchWheelControl));
    setMode(PitchWheelControl, ModePitchWheel);
    data.setValue(64);
    EXPECT_EQ(control(PitchWheelControl).value14.value(), 8192);
    EXPECT_EQ(data.value(), 64);
    control(PitchWheelControl).value14.setValue(16383);
    EXPECT_EQ(data.value(), 127);
    setMode(PitchWheelControl, ModeCC);
    data.setValue(20);
    EXPECT_EQ(control(PitchWheelControl).value.value(), 20);
    setMode(PitchWheelControl, ModeNrpn);
    EXPECT_EQ(data.value(), 0);
}

} // namespace
