// The skinned widgets driven with QTest events: dial geometry, range model,
// actions, keys, wheel, slider drag, buttons, groups and key setters.
#include "tests/skin/SkinTestSupport.h"

#include "editor/skin/CZelButtonGroup.h"
#include "editor/skin/CZelDial.h"
#include "editor/skin/CZelPushButton.h"
#include "editor/skin/CZelRenderStyle.h"
#include "editor/skin/CZelSlider.h"
#include "editor/skin/CZelValueSpec.h"
#include "editor/skin/CZelWireFrameStyle.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <QtMath>
#include <gtest/gtest.h>

namespace {

// ------------------------------------------------------------- dial

struct PointCase
{
    bool wrapping;
    QPoint point;
    int value;
};

class DialValueFromPoint : public ::testing::TestWithParam<PointCase>
{
};

TEST_P(DialValueFromPoint, FollowsTheAngleAroundTheCentre)
{
    CZelDial dial;
    dial.resize(100, 100);
    dial.setRange(0, 127);
    dial.setWrapping(GetParam().wrapping);
    EXPECT_EQ(dial.valueFromPoint(GetParam().point), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Points, DialValueFromPoint,
    ::testing::Values(PointCase{false, {50, 10}, 64},  // straight above: half way
                      PointCase{false, {70, 85}, 127}, // -60 degrees: the maximum
                      PointCase{false, {49, 90}, 0},   // below, slightly left: clamped
                      PointCase{false, {15, 70}, 13},  // lower left, just past the start
                      PointCase{false, {50, 50}, 102}, // the centre reads as angle 0
                      PointCase{true, {50, 90}, 127},  // wrapping: straight down is the end
                      PointCase{true, {90, 50}, 95}, PointCase{true, {50, 10}, 64}));

TEST(DialValueFromPointRange, NegativeMinimumIsShiftedAndBack)
{
    CZelDial dial;
    dial.resize(100, 100);
    dial.setRange(-64, 63);
    EXPECT_EQ(dial.valueFromPoint(QPoint(50, 10)), 0);
}

struct NotchCase
{
    QSize size;
    bool wrapping;
    int minimum, maximum, singleStep, pageStep, notchSize;
};

class DialNotchSize : public ::testing::TestWithParam<NotchCase>
{
};

TEST_P(DialNotchSize, KeepsNotchesAboutNotchTargetApart)
{
    const NotchCase &c = GetParam();
    CZelDial dial;
    dial.resize(c.size);
    dial.setWrapping(c.wrapping);
    dial.setRange(c.minimum, c.maximum);
    dial.setSingleStep(c.singleStep);
    dial.setPageStep(c.pageStep);
    EXPECT_EQ(dial.notchSize(), c.notchSize);
}

INSTANTIATE_TEST_SUITE_P(Sizes, DialNotchSize,
                         ::testing::Values(NotchCase{{400, 400}, false, 0, 99, 1, 10, 1},
                                           NotchCase{{200, 200}, false, 0, 99, 1, 10, 2},
                                           NotchCase{{100, 100}, false, 0, 99, 1, 10, 4},
                                           NotchCase{{100, 100}, true, 0, 99, 1, 10, 4},
                                           NotchCase{{400, 400}, false, 0, 10, 1, 10, 1},
                                           NotchCase{{100, 100}, false, 0, 99, 5, 0, 20}));

TEST(DialMouse, PressSetsTheValueAndReleaseEndsTheDrag)
{
    CZelDial dial;
    dial.resize(100, 100);
    dial.setRange(0, 127);
    QSignalSpy pressed(&dial, &CZelRangeControl::pressed);
    QSignalSpy released(&dial, &CZelRangeControl::released);
    QTest::mousePress(&dial, Qt::LeftButton, Qt::NoModifier, QPoint(50, 10));
    EXPECT_EQ(dial.value(), 64);
    EXPECT_TRUE(dial.isSliderDown());
    QTest::mouseMove(&dial, QPoint(70, 85));
    QMouseEvent move(QEvent::MouseMove, QPointF(70, 85), QPointF(70, 85), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dial, &move);
    EXPECT_EQ(dial.value(), 127);
    QTest::mouseRelease(&dial, Qt::LeftButton, Qt::NoModifier, QPoint(49, 90));
    EXPECT_EQ(dial.value(), 0);
    EXPECT_FALSE(dial.isSliderDown());
    EXPECT_EQ(pressed.count(), 1);
    EXPECT_EQ(released.count(), 1);
}

TEST(DialMouse, AZeroRangeDialIgnoresPresses)
{
    CZelDial dial;
    dial.resize(100, 100);
    dial.setRange(5, 5);
    QSignalSpy pressed(&dial, &CZelRangeControl::pressed);
    QTest::mousePress(&dial, Qt::LeftButton, Qt::NoModifier, QPoint(50, 10));
    EXPECT_EQ(pressed.count(), 0);
    EXPECT_FALSE(dial.isSliderDown());
}

// ------------------------------------------------------------- range control

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

struct MappingCase
{
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
                                           MappingCase{2, -40, 0, 1.0f, 0.0f},
                                           MappingCase{2, -40, 0, 0.0f, -40.0f},
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

struct ActionCase
{
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
                                           ActionCase{5, 47}, ActionCase{6, 53}, ActionCase{7, 43},
                                           ActionCase{8, 57}, ActionCase{9, 0}, ActionCase{10, 100},
                                           ActionCase{11, 50}, ActionCase{0, 50}));

struct KeyCase
{
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

// ------------------------------------------------------------- slider

class SliderDrag : public ::testing::Test
{
protected:
    void SetUp() override
    {
        slider.setStyle(&style);
        slider.resize(20, 211);
        slider.setRange(0, 200);
        slider.setValue(100);
    }
    QPoint handleCentre() const
    {
        // Vertical sliders show the maximum at the top.
        return QPoint(10, 200 - slider.value() + 5);
    }

    CZelWireFrameStyle style;
    CZelSlider slider;
};

TEST_F(SliderDrag, HandleFollowsThePointerAndSnapsBackWhenDraggedFarAway)
{
    QSignalSpy pressed(&slider, &CZelRangeControl::pressed);
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, handleCentre());
    ASSERT_EQ(pressed.count(), 1);
    const auto drag = [this](QPoint point) {
        QMouseEvent move(QEvent::MouseMove, point, slider.mapToGlobal(point), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&slider, &move);
    };
    drag(handleCentre() + QPoint(0, -40));
    EXPECT_EQ(slider.value(), 140);
    drag(QPoint(200, 50)); // more than 60 pixels beside the slider
    EXPECT_EQ(slider.value(), 100);
    drag(QPoint(15, 45));
    EXPECT_EQ(slider.value(), 160);
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(15, 45));
    EXPECT_FALSE(slider.isSliderDown());
}

TEST_F(SliderDrag, GrooveClickJumpsToThePoint)
{
    QSignalSpy actions(&slider, &CZelRangeControl::actionTriggered);
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(10, 30));
    EXPECT_EQ(slider.value(), 175);
    ASSERT_GE(actions.count(), 1);
    EXPECT_EQ(actions[0][0].toInt(), CZelRangeControl::Move);
    EXPECT_TRUE(slider.isSliderDown());
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(10, 30));
}

TEST_F(SliderDrag, GrooveClickStepsTowardsThePointWithClickBehaviourOne)
{
    slider.setClickBehaviour(CZelSlider::StepTowardsClick);
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(10, 200));
    EXPECT_EQ(slider.value(), 99);
    QTRY_VERIFY_WITH_TIMEOUT(slider.value() < 97, 5000);
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(10, 200));
    const int stopped = slider.value();
    QTest::qWait(120);
    EXPECT_EQ(slider.value(), stopped);
}

TEST(SliderPolicy, ExpandsAlongItsOrientationOnly)
{
    CZelSlider slider;
    EXPECT_EQ(slider.orientation(), Qt::Vertical);
    EXPECT_EQ(slider.sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
    EXPECT_EQ(slider.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    slider.setOrientation(Qt::Horizontal);
    EXPECT_EQ(slider.sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    EXPECT_EQ(slider.sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    EXPECT_GT(slider.sizeHint().width(), slider.sizeHint().height());
}

// ------------------------------------------------------------- buttons

TEST(AbstractButton, MouseClickEmitsPressReleaseAndClick)
{
    CZelPushButton button;
    button.resize(40, 20);
    QSignalSpy pressed(&button, &CZelAbstractButton::pressed);
    QSignalSpy released(&button, &CZelAbstractButton::released);
    QSignalSpy clicked(&button, &CZelAbstractButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(pressed.count(), 1);
    EXPECT_EQ(released.count(), 1);
    EXPECT_EQ(clicked.count(), 1);
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_FALSE(button.isDown());
    button.setEnabled(false);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
}

TEST(AbstractButton, SpaceClicksAndEscapeCancels)
{
    CZelPushButton button;
    QSignalSpy clicked(&button, &CZelAbstractButton::clicked);
    QSignalSpy released(&button, &CZelAbstractButton::released);
    QTest::keyClick(&button, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 1);
    QTest::keyPress(&button, Qt::Key_Space);
    QTest::keyClick(&button, Qt::Key_Escape);
    QTest::keyRelease(&button, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(released.count(), 2);
}

TEST(AbstractButton, CheckableButtonsToggleOnClick)
{
    CZelPushButton button;
    QSignalSpy toggled(&button, &CZelAbstractButton::toggled);
    QSignalSpy clicked(&button, &CZelAbstractButton::clicked);
    button.setChecked(true); // not checkable yet
    EXPECT_FALSE(button.isChecked());
    button.setCheckable(true);
    button.click();
    EXPECT_TRUE(button.isChecked());
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_TRUE(clicked[0][0].toBool());
    button.setChecked(true);
    EXPECT_EQ(toggled.count(), 1);
    button.toggle();
    EXPECT_FALSE(button.isChecked());
    EXPECT_EQ(toggled.count(), 2);
}

TEST(AbstractButton, AutoRepeatClicksWhileHeld)
{
    CZelPushButton button;
    button.resize(40, 20);
    button.setAutoRepeat(true);
    QSignalSpy clicked(&button, &CZelAbstractButton::clicked);
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTRY_VERIFY_WITH_TIMEOUT(clicked.count() >= 2, 5000);
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    const qsizetype count = clicked.count();
    QTest::qWait(150);
    EXPECT_EQ(clicked.count(), count);
}

TEST(AbstractButton, AnimateClickPressesThenClicks)
{
    CZelPushButton button;
    QSignalSpy pressed(&button, &CZelAbstractButton::pressed);
    QSignalSpy clicked(&button, &CZelAbstractButton::clicked);
    button.animateClick(10);
    EXPECT_EQ(pressed.count(), 1);
    EXPECT_TRUE(button.isDown());
    EXPECT_EQ(clicked.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(clicked.count(), 1, 5000);
    EXPECT_FALSE(button.isDown());
}

class ButtonGroupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (auto &button : buttons) {
            button = new CZelPushButton(&parent);
            button->setCheckable(true);
            group.addButton(button);
        }
    }
    QWidget parent;
    CZelButtonGroup group;
    CZelPushButton *buttons[3] = {};
};

TEST_F(ButtonGroupTest, ExclusiveGroupKeepsOneButtonChecked)
{
    QSignalSpy clicked(&group, &CZelButtonGroup::buttonClicked);
    buttons[0]->click();
    buttons[2]->click();
    EXPECT_FALSE(buttons[0]->isChecked());
    EXPECT_TRUE(buttons[2]->isChecked());
    EXPECT_EQ(group.checkedButton(), buttons[2]);
    buttons[2]->click(); // unchecking the checked one is refused
    EXPECT_TRUE(buttons[2]->isChecked());
    buttons[2]->setChecked(false);
    EXPECT_TRUE(buttons[2]->isChecked());
    ASSERT_EQ(clicked.count(), 3);
    EXPECT_EQ(clicked[2][0].value<CZelAbstractButton *>(), buttons[2]);
}

TEST_F(ButtonGroupTest, AddingACheckedButtonMovesItOutOfItsOldGroup)
{
    buttons[1]->setChecked(true);
    CZelButtonGroup other;
    CZelPushButton extra(&parent);
    extra.setCheckable(true);
    extra.setChecked(true);
    other.addButton(&extra);
    group.addButton(&extra);
    EXPECT_EQ(extra.group(), &group);
    EXPECT_TRUE(other.buttons().isEmpty());
    EXPECT_EQ(group.checkedButton(), &extra);
    EXPECT_FALSE(buttons[1]->isChecked());
    group.removeButton(&extra);
}

TEST_F(ButtonGroupTest, NonExclusiveGroupLetsButtonsUncheck)
{
    group.setExclusive(false);
    buttons[0]->click();
    buttons[1]->click();
    buttons[1]->click();
    EXPECT_TRUE(buttons[0]->isChecked());
    EXPECT_FALSE(buttons[1]->isChecked());
}

TEST(PushButton, ReturnClicksAnAutoDefaultButton)
{
    CZelPushButton button;
    QSignalSpy clicked(&button, &CZelAbstractButton::clicked);
    QTest::keyClick(&button, Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 0);
    button.setAutoDefault(true);
    QTest::keyClick(&button, Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 1);
}

// ------------------------------------------------------------- key setters

class KeySetters : public ::testing::Test
{
protected:
    void SetUp() override
    {
        skin.addImage(QStringLiteral("STRIP"), TestSkin::solid({1690, 26}, QColor(50, 60, 70)));
        skin.addImage(QStringLiteral("STORE"), TestSkin::solid({50, 17}, QColor(90, 60, 70)));
        skin.addNode(QStringLiteral("track"), {{QStringLiteral("RenderStyle"), QStringLiteral("Render_Composite")},
                                               {QStringLiteral("composite"), QStringLiteral("STRIP")},
                                               {QStringLiteral("compositeOrder"), QStringLiteral("64;0,0,0")}});
        skin.addNode(QStringLiteral("thumb"), {{QStringLiteral("RenderStyle"), QStringLiteral("Render_None")}});
        skin.addNode(QStringLiteral("store"), {{QStringLiteral("RenderStyle"), QStringLiteral("Render_Fixed")},
                                               {QStringLiteral("active"), QStringLiteral("STORE")}});
        style = std::make_unique<CZelRenderStyle>(
            &skin.engine({QStringLiteral("track"), QStringLiteral("thumb"), QStringLiteral("store")}));
    }

    TestSkin skin;
    std::unique_ptr<CZelRenderStyle> style;
};

TEST_F(KeySetters, WidgetsTakeTheirDescriptionsNaturalSize)
{
    CZelPushButton button;
    button.setStyle(style.get());
    button.setKey(QStringLiteral("store"));
    EXPECT_EQ(button.minimumSize(), QSize(50, 17));
    EXPECT_EQ(button.maximumSize(), QSize(50, 17));

    CZelDial dial;
    dial.setStyle(style.get());
    dial.setThumbKey(QStringLiteral("thumb"));
    EXPECT_EQ(dial.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    dial.setTrackKey(QStringLiteral("track"));
    EXPECT_EQ(dial.maximumSize(), QSize(26, 26));
    EXPECT_EQ(dial.sizeHint(), QSize(26, 26));
    dial.setFixedSize(40, 40);
    dial.setTrackKey(QStringLiteral("track")); // the same key again changes nothing
    EXPECT_EQ(dial.maximumSize(), QSize(40, 40));
}

TEST_F(KeySetters, WheelTakesItsTrackSizeAndDragsAlongItsLength)
{
    CZelSlider wheel;
    wheel.setStyle(style.get());
    wheel.setGrooveKey(QStringLiteral("track"));
    wheel.setHandleKey(QStringLiteral("thumb"));
    EXPECT_EQ(wheel.maximumSize(), QSize(26, 26));
    EXPECT_EQ(wheel.sizeHint().height(), 26);
    wheel.setRange(0, 26);
    wheel.setValue(13);
    // The handle is as long as the track, so dragging moves the value by the
    // pointer's distance from the press.
    QTest::mousePress(&wheel, Qt::LeftButton, Qt::NoModifier, QPoint(13, 13));
    EXPECT_EQ(wheel.value(), 13);
    QMouseEvent move(QEvent::MouseMove, QPointF(13, 3), wheel.mapToGlobal(QPointF(13, 3)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&wheel, &move);
    EXPECT_EQ(wheel.value(), 23);
    QTest::mouseRelease(&wheel, Qt::LeftButton, Qt::NoModifier, QPoint(13, 3));
    EXPECT_FALSE(wheel.isSliderDown());
}

TEST_F(KeySetters, WithoutTheRenderStyleKeysLeaveTheSizeFree)
{
    CZelWireFrameStyle plain;
    CZelDial dial;
    dial.setStyle(&plain);
    dial.setTrackKey(QStringLiteral("track"));
    EXPECT_EQ(dial.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    EXPECT_EQ(dial.sizeHint(), QSize(25, 25));
}

TEST_F(KeySetters, KnobPaintsTheFilmStripFrame)
{
    CZelDial dial;
    dial.setStyle(style.get());
    dial.setTrackKey(QStringLiteral("track"));
    dial.setThumbKey(QStringLiteral("thumb"));
    dial.setRange(0, 127);
    dial.setValue(64);
    const QImage image = dial.grab().toImage();
    EXPECT_EQ(image.pixelColor(13, 13), QColor(50, 60, 70));
}

} // namespace
