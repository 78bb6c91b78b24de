// The widgets' skin keys: natural sizes from the render descriptions, the
// wheel's track, and the knob's film-strip frame.
#include "tests/skin/SkinTestSupport.h"

#include "editor/skin/CZelDial.h"
#include "editor/skin/CZelPushButton.h"
#include "editor/skin/CZelRenderStyle.h"
#include "editor/skin/CZelSlider.h"
#include "editor/skin/CZelWireFrameStyle.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <QtMath>
#include <gtest/gtest.h>

namespace {

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
    QMouseEvent move(QEvent::MouseMove, QPointF(13, 3), wheel.mapToGlobal(QPointF(13, 3)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
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
