// The range model under the skinned dial and slider: values and ranges, value
// scales, actions, keys, the mouse wheel, repeats and the slider-down state.
#include "tests/skin/SkinTestSupport.h"

#include "editor/skin/CZelDial.h"
#include "editor/skin/CZelSlider.h"
#include "editor/skin/CZelValueSpec.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <QtMath>
#include <gtest/gtest.h>

namespace {

TEST(RangeControl, SetValueClampsAndEmitsOnlyOnChange)
{
    CZelRangeControl control;
    control.setRange(10, 20);
    QSignalSpy values(&control, &CZelRangeControl::valueChanged);
    QSignalSpy normalized(&control, &CZelRangeControl::valueNormalizedChanged);
    control.setValue(25);
    control.setValue(20);
    EXPECT_EQ(control.value(), 20);
    ASSERT_EQ(values.count(), 1);
    EXPECT_EQ(values[0][0].toInt(), 20);
    EXPECT_FLOAT_EQ(normalized[0][0].toFloat(), 1.0f);
    control.setValueNormalized(0.5f);
    EXPECT_EQ(control.value(), 15);
    control.setSignalMask(CZelRangeControl::NormalizedSignal);
    control.setValue(11);
    EXPECT_EQ(values.count(), 2);
    EXPECT_EQ(normalized.count(), 3);
}

TEST(RangeControl, SetRangeOrdersTheBoundsAndReclampsTheValue)
{
    CZelRangeControl control;
    control.setValue(50);
    QSignalSpy ranges(&control, &CZelRangeControl::rangeChanged);
    control.setRange(30, 10);
    EXPECT_EQ(control.minimum(), 30);
    EXPECT_EQ(control.maximum(), 30);
    EXPECT_EQ(control.value(), 30);
    ASSERT_EQ(ranges.count(), 1);
    EXPECT_EQ(ranges[0][1].toInt(), 30);
    control.setValueNormalized(0.7f); // a single-value range stays put
    EXPECT_EQ(control.value(), 30);
}

TEST(RangeControl, ValueScaleMapsBothWays)
{
    CZelValueSpec spec;
    spec.minimum = -60.0f;
    spec.maximum = 0.0f;
    spec.lowerBound = -60.0f;
    spec.upperBound = 0.0f;
    spec.mapping = CZelValueSpec::Linear;
    spec.resolution = 0.5f;
    CZelRangeControl control;
    control.setRange(0, 100);
    control.setValueSpec(&spec);
    QSignalSpy specValues(&control, &CZelRangeControl::valueFromSpecChanged);
    control.setValue(50);
    ASSERT_EQ(specValues.count(), 1);
    EXPECT_FLOAT_EQ(specValues[0][0].toFloat(), -30.0f);
    control.setValueFromSpec(-15.2f);
    EXPECT_EQ(control.value(), 75);
    control.setValueFromSpec(-500.0f);
    EXPECT_EQ(control.value(), 0);
}

struct MappingCase {
    int mapping;
    float minimum, maximum, position, value;
};

class ValueSpecMapping : public ::testing::TestWithParam<MappingCase>
{
};

TEST_P(ValueSpecMapping, MapsAndUnmaps)
{
    const MappingCase &c = GetParam();
    CZelValueSpec spec;
    spec.mapping = c.mapping;
    spec.minimum = c.minimum;
    spec.maximum = c.maximum;
    spec.lowerBound = c.minimum;
    spec.upperBound = c.maximum;
    EXPECT_NEAR(spec.map(c.position), c.value, 1e-3);
    if (c.mapping <= CZelValueSpec::Decibel) {
        EXPECT_NEAR(spec.unmap(c.value), c.position, 1e-3);
    }
}

INSTANTIATE_TEST_SUITE_P(Types, ValueSpecMapping,
                         ::testing::Values(MappingCase{0, 10, 20, 0.25f, 12.5f},
                                           MappingCase{1, 20, 20000, 0.5f, 632.456f},
                                           MappingCase{2, -40, 0, 1.0f, 0.0f}, MappingCase{2, -40, 0, 0.0f, -40.0f},
                                           MappingCase{3, 5, 9, 0.7f, 5.0f}));

TEST(ValueSpecMappingWarnings, UnknownTypesWarnAndGiveTheNeutralValue)
{
    CZelValueSpec spec;
    spec.mapping = 7;
    spec.minimum = 3;
    WarningRecorder warnings;
    EXPECT_FLOAT_EQ(spec.map(0.5f), 3.0f);
    EXPECT_FLOAT_EQ(spec.unmap(0.5f), 0.0f);
    EXPECT_EQ(warnings.lines(), QStringList({QStringLiteral("Mapping function could not be handled!"),
                                             QStringLiteral("Unmapping function could not be handled!")}));
}

struct ActionCase {
    int action;
    int value;
};

class RangeActions : public ::testing::TestWithParam<ActionCase>
{
};

TEST_P(RangeActions, MoveByTheirStep)
{
    CZelRangeControl control;
    control.setRange(0, 100);
    control.setValue(50);
    control.setSingleStep(1);
    control.setPageStep(10);
    control.setThirdStep(3);
    control.setFourthStep(7);
    QSignalSpy actions(&control, &CZelRangeControl::actionTriggered);
    control.triggerAction(GetParam().action);
    EXPECT_EQ(control.value(), GetParam().value);
    ASSERT_EQ(actions.count(), 1);
    EXPECT_EQ(actions[0][0].toInt(), GetParam().action);
}

INSTANTIATE_TEST_SUITE_P(Actions, RangeActions,
                         ::testing::Values(ActionCase{1, 49}, ActionCase{2, 51}, ActionCase{3, 40}, ActionCase{4, 60},
                                           ActionCase{5, 47}, ActionCase{6, 53}, ActionCase{7, 43}, ActionCase{8, 57},
                                           ActionCase{9, 0}, ActionCase{10, 100}, ActionCase{11, 50},
                                           ActionCase{0, 50}));

struct KeyCase {
    Qt::Key key;
    bool invertedAppearance;
    bool invertedControls;
    int value;
};

class RangeKeys : public ::testing::TestWithParam<KeyCase>
{
};

TEST_P(RangeKeys, TriggerTheirActions)
{
    CZelRangeControl control;
    control.setRange(0, 100);
    control.setValue(50);
    control.setInvertedAppearance(GetParam().invertedAppearance);
    control.setInvertedControls(GetParam().invertedControls);
    QTest::keyClick(&control, GetParam().key);
    EXPECT_EQ(control.value(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, RangeKeys,
    ::testing::Values(KeyCase{Qt::Key_Home, false, false, 0}, KeyCase{Qt::Key_End, false, false, 100},
                      KeyCase{Qt::Key_Left, false, false, 49}, KeyCase{Qt::Key_Left, true, false, 51},
                      KeyCase{Qt::Key_Right, false, false, 51}, KeyCase{Qt::Key_Right, true, true, 49},
                      KeyCase{Qt::Key_Up, false, false, 51}, KeyCase{Qt::Key_Up, false, true, 49},
                      KeyCase{Qt::Key_Down, false, false, 49}, KeyCase{Qt::Key_Down, true, true, 51},
                      KeyCase{Qt::Key_PageUp, false, false, 60}, KeyCase{Qt::Key_PageUp, false, true, 40},
                      KeyCase{Qt::Key_PageDown, false, false, 40}, KeyCase{Qt::Key_A, false, false, 50}));

class RangeWheel : public ::testing::Test
{
protected:
    void TearDown() override { QApplication::setWheelScrollLines(3); }

    static void wheel(QWidget *widget, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF inside(5, 5);
        QWheelEvent event(inside, widget->mapToGlobal(inside), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &event);
    }
};

TEST_F(RangeWheel, OneNotchMovesByTheScrollLinesTimesTheThirdStep)
{
    CZelRangeControl control;
    control.resize(20, 20);
    control.setRange(0, 100);
    wheel(&control, 120);
    EXPECT_EQ(control.value(), 3);
    wheel(&control, 120, Qt::ShiftModifier); // the fourth step
    EXPECT_EQ(control.value(), 4);
    control.setInvertedControls(true);
    wheel(&control, 120);
    EXPECT_EQ(control.value(), 1);
}

TEST_F(RangeWheel, SmallDeltasAccumulatePerControl)
{
    QApplication::setWheelScrollLines(1);
    CZelRangeControl first;
    CZelRangeControl second;
    first.resize(20, 20);
    second.resize(20, 20);
    wheel(&first, 40);
    wheel(&first, 40);
    EXPECT_EQ(first.value(), 0);
    wheel(&first, 40);
    EXPECT_EQ(first.value(), 1);
    wheel(&first, 80);
    wheel(&second, 40); // another control restarts the fraction
    wheel(&first, 40);
    EXPECT_EQ(first.value(), 1);
    EXPECT_EQ(second.value(), 0);
}

TEST(RangeRepeat, RepeatsTheActionUntilStopped)
{
    CZelRangeControl control;
    control.setRange(0, 1000);
    QSignalSpy values(&control, &CZelRangeControl::valueChanged);
    control.setRepeatAction(CZelRangeControl::SingleStepAdd, 5, 5);
    QTRY_VERIFY_WITH_TIMEOUT(control.value() >= 3, 5000);
    control.setRepeatAction(CZelRangeControl::NoAction);
    const int stopped = control.value();
    QTest::qWait(30);
    EXPECT_EQ(control.value(), stopped);
}

TEST(RangeSliderDown, ReleaseTriggersTheMoveActionAndDisablingReleases)
{
    CZelRangeControl control;
    QSignalSpy actions(&control, &CZelRangeControl::actionTriggered);
    QSignalSpy released(&control, &CZelRangeControl::released);
    control.setSliderDown(true);
    control.setSliderDown(true);
    control.setEnabled(false);
    EXPECT_FALSE(control.isSliderDown());
    EXPECT_EQ(released.count(), 1);
    ASSERT_EQ(actions.count(), 1);
    EXPECT_EQ(actions[0][0].toInt(), CZelRangeControl::Move);
}

} // namespace
