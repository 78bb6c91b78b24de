// The skinned dial driven with QTest events: value from a point, notch sizes, mouse.
#include "tests/skin/SkinTestSupport.h"

#include "editor/skin/CZelDial.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <QtMath>
#include <gtest/gtest.h>

namespace {

// ------------------------------------------------------------- dial

struct PointCase {
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

INSTANTIATE_TEST_SUITE_P(Points, DialValueFromPoint,
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

struct NotchCase {
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

INSTANTIATE_TEST_SUITE_P(
    Sizes, DialNotchSize,
    ::testing::Values(NotchCase{{400, 400}, false, 0, 99, 1, 10, 1}, NotchCase{{200, 200}, false, 0, 99, 1, 10, 2},
                      NotchCase{{100, 100}, false, 0, 99, 1, 10, 4}, NotchCase{{100, 100}, true, 0, 99, 1, 10, 4},
                      NotchCase{{400, 400}, false, 0, 10, 1, 10, 1}, NotchCase{{100, 100}, false, 0, 99, 5, 0, 20}));

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

} // namespace
