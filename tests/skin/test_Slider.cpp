// The skinned slider driven with QTest events: handle drag, groove clicks, size policy;
// the hover tracking it shares with the dial.
#include "tests/skin/SkinTestSupport.h"

#include "editor/skin/CZelDial.h"
#include "editor/skin/CZelSlider.h"
#include "editor/skin/CZelWireFrameStyle.h"

#include <QApplication>
#include <QSignalSpy>
#include <QStyleOptionComplex>
#include <QTest>
#include <QWheelEvent>
#include <QtMath>
#include <gtest/gtest.h>

#include <memory>

namespace {

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

TEST_F(SliderDrag, GrooveClickDragsWithHalfTheSliderLengthAsItsOffset)
{
    // Four steps over 200 pixels: the handle snaps 50 pixels at a time, so
    // its snapped position says nothing about where the pointer holds it.
    slider.setRange(0, 4);
    slider.setValue(0);
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(10, 30));
    EXPECT_EQ(slider.value(), 3); // 30 - 5 pixels from the top: one step down
    const QPoint point(10, 125);
    QMouseEvent move(QEvent::MouseMove, point, slider.mapToGlobal(point), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&slider, &move);
    // 125 - 5 = 120 of the 200 pixels down: 2.4 steps, two after rounding.
    EXPECT_EQ(slider.value(), 2);
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, point);
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

// Keeps what the last slider or dial it drew showed: the active sub-control
// and where its handle and groove were, measured on the option it was given.
class RecordingStyle : public CZelWireFrameStyle
{
public:
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override
    {
        const bool dial = control == CC_Dial;
        active = option->activeSubControls;
        handle = subControlRect(control, option, dial ? SC_DialHandle : SC_SliderHandle, widget);
        groove = subControlRect(control, option, dial ? SC_DialGroove : SC_SliderGroove, widget);
        CZelWireFrameStyle::drawComplexControl(control, option, painter, widget);
    }
    mutable QStyle::SubControls active;
    mutable QRect handle;
    mutable QRect groove;
};

struct HoverCase {
    const char *name;
    QStyle::ComplexControl control;
    QStyle::SubControl handle;
    QStyle::SubControl groove;
};

class SkinnedHover : public ::testing::TestWithParam<HoverCase>
{
};

TEST_P(SkinnedHover, ThePartUnderThePointerIsDrawnActiveUntilItLeaves)
{
    const HoverCase &c = GetParam();
    RecordingStyle style;
    std::unique_ptr<CZelRangeControl> widget;
    if (c.control == QStyle::CC_Dial)
        widget = std::make_unique<CZelDial>();
    else
        widget = std::make_unique<CZelSlider>();
    widget->setStyle(&style);
    widget->resize(60, 120);
    widget->setRange(0, 100);
    widget->setValue(80);
    widget->grab();
    const QRect handle = style.handle, groove = style.groove;
    ASSERT_FALSE(handle.isEmpty());
    const QPoint onGroove = handle.contains(groove.bottomLeft()) ? groove.topRight() : groove.bottomLeft();
    ASSERT_FALSE(handle.contains(onGroove));

    const auto activeAfter = [&](QEvent::Type type, QPoint point) {
        QHoverEvent event(type, point, widget->mapToGlobal(point), QPointF(-1, -1));
        QApplication::sendEvent(widget.get(), &event);
        widget->grab();
        return style.active;
    };
    EXPECT_EQ(activeAfter(QEvent::HoverEnter, handle.center()), c.handle);
    EXPECT_EQ(activeAfter(QEvent::HoverMove, onGroove), c.groove);
    EXPECT_EQ(activeAfter(QEvent::HoverLeave, QPoint(-1, -1)), QStyle::SC_None);
}

INSTANTIATE_TEST_SUITE_P(
    Widgets, SkinnedHover,
    ::testing::Values(HoverCase{"dial", QStyle::CC_Dial, QStyle::SC_DialHandle, QStyle::SC_DialGroove},
                      HoverCase{"slider", QStyle::CC_Slider, QStyle::SC_SliderHandle, QStyle::SC_SliderGroove}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
