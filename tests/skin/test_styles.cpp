// The common, wire-frame and skin styles: metrics that depend on the option, the hint table, handled
// ranges, dial geometry, focus rectangle and the paint utilities.
#include "tests/skin/SkinTestSupport.h"

#include "editor/skin/CZelCommonStyle.h"
#include "editor/skin/CZelPaintUtilities.h"
#include "editor/skin/CZelSkinStyle.h"
#include "editor/skin/CZelWireFrameStyle.h"

#include <QCheckBox>
#include <QCommonStyle>
#include <QPainter>
#include <QPushButton>
#include <QStyleOption>
#include <QtMath>
#include <gtest/gtest.h>

namespace {

TEST(CommonStyleMetrics, MenuButtonIndicatorGrowsWithTallOptions)
{
    CZelCommonStyle style;
    QStyleOption option;
    option.rect = QRect(0, 0, 80, 48);
    EXPECT_EQ(style.pixelMetric(QStyle::PM_MenuButtonIndicator, &option), 15);
    option.rect = QRect(0, 0, 80, 30);
    EXPECT_EQ(style.pixelMetric(QStyle::PM_MenuButtonIndicator, &option), 12);
}

struct SliderMetricCase {
    QSlider::TickPosition ticks;
    int thickness;
    int offset;
};

class SliderMetrics : public ::testing::TestWithParam<SliderMetricCase>
{
};

TEST_P(SliderMetrics, ThicknessAndTickOffsetOfA30PixelSpace)
{
    CZelCommonStyle style;
    QStyleOptionSlider option;
    option.orientation = Qt::Horizontal;
    option.rect = QRect(0, 0, 100, 30);
    option.tickPosition = GetParam().ticks;
    EXPECT_EQ(style.pixelMetric(QStyle::PM_SliderControlThickness, &option), GetParam().thickness);
    EXPECT_EQ(style.pixelMetric(QStyle::PM_SliderTickmarkOffset, &option), GetParam().offset);
    EXPECT_EQ(style.pixelMetric(QStyle::PM_SliderSpaceAvailable, &option), 100 - 11 + 1);
}

INSTANTIATE_TEST_SUITE_P(Ticks, SliderMetrics,
                         ::testing::Values(SliderMetricCase{QSlider::NoTicks, 30, 0},
                                           SliderMetricCase{QSlider::TicksBothSides, 18, 6},
                                           SliderMetricCase{QSlider::TicksAbove, 22, 8},
                                           SliderMetricCase{QSlider::TicksBelow, 22, 0}));

TEST(CommonStyleRanges, UnhandledRequestsWarnWithClassAndOperation)
{
    CZelCommonStyle style;
    WarningRecorder warnings;
    EXPECT_EQ(style.pixelMetric(QStyle::PM_CheckBoxLabelSpacing), 0);
    EXPECT_EQ(style.styleHint(QStyle::SH_DialogButtons_DefaultButton), 0);
    EXPECT_EQ(style.styleHint(QStyle::SH_ListViewExpand_SelectMouseType), 0);
    EXPECT_EQ(style.styleHint(QStyle::SH_ScrollBar_ContextMenu), 0);
    QImage canvas(10, 10, QImage::Format_RGB32);
    QPainter painter(&canvas);
    QStyleOption option;
    QStyleOptionComplex complex;
    style.drawPrimitive(QStyle::PE_IndicatorSpinUp, &option, &painter);
    style.drawControl(QStyle::CE_ToolBar, &option, &painter);
    style.drawComplexControl(QStyle::CC_ComboBox, &complex, &painter);
    EXPECT_EQ(style.hitTestComplexControl(QStyle::CC_ToolButton, &complex, QPoint()), QStyle::SC_None);
    EXPECT_TRUE(style.subControlRect(QStyle::CC_ComboBox, &complex, QStyle::SC_ComboBoxArrow).isNull());
    EXPECT_TRUE(style.sizeFromContents(QStyle::CT_GroupBox, &option, QSize(5, 5)).isEmpty());
    EXPECT_EQ(warnings.lines(), QStringList({QStringLiteral("CZelCommonStyle::pixelMetric(67) not handled"),
                                             QStringLiteral("CZelCommonStyle::styleHint(36) not handled"),
                                             QStringLiteral("CZelCommonStyle::styleHint(40) not handled"),
                                             QStringLiteral("CZelCommonStyle::styleHint(62) not handled"),
                                             QStringLiteral("CZelCommonStyle::drawPrimitive(35) not handled"),
                                             QStringLiteral("CZelCommonStyle::drawControl(40) not handled"),
                                             QStringLiteral("CZelCommonStyle::drawComplexControl(1) not handled"),
                                             QStringLiteral("CZelCommonStyle::hitTestComplexControl(4) not handled"),
                                             QStringLiteral("CZelCommonStyle::subControlRect(1) not handled"),
                                             QStringLiteral("CZelCommonStyle::sizeFromContents(20) not handled")}));
}

// The hints newer widgets ask in a normal run (tooltips, combo pop-ups, spin
// boxes, menus, wheels) get the toolkit's own answers, and no warning.
TEST(CommonStyleRanges, NewerWidgetsHintsAnswerAsTheToolkitWithoutAWarning)
{
    CZelCommonStyle style;
    QCommonStyle toolkit;
    WarningRecorder warnings;
    for (const QStyle::StyleHint hint :
         {QStyle::SH_ToolTip_WakeUpDelay, QStyle::SH_ToolTip_FallAsleepDelay, QStyle::SH_Splitter_OpaqueResize,
          QStyle::SH_ComboBox_UseNativePopup, QStyle::SH_TabBar_ChangeCurrentDelay, QStyle::SH_Menu_SubMenuUniDirection,
          QStyle::SH_Menu_SubMenuUniDirectionFailCount, QStyle::SH_Menu_SubMenuSloppySelectOtherActions,
          QStyle::SH_Menu_SubMenuSloppyCloseTimeout, QStyle::SH_Menu_SubMenuResetWhenReenteringParent,
          QStyle::SH_Menu_SubMenuDontStartSloppyOnLeave, QStyle::SH_ItemView_ScrollMode,
          QStyle::SH_TitleBar_ShowToolTipsOnButtons, QStyle::SH_ComboBox_AllowWheelScrolling,
          QStyle::SH_SpinBox_StepModifier, QStyle::SH_TabBar_AllowWheelScrolling,
          QStyle::SH_Table_AlwaysDrawLeftTopGridLines, QStyle::SH_SpinBox_SelectOnStep})
        EXPECT_EQ(style.styleHint(hint), toolkit.styleHint(hint)) << int(hint);
    EXPECT_EQ(warnings.lines(), QStringList());
}

struct HintCase {
    QStyle::StyleHint hint;
    int value;
};

class CommonStyleHint : public ::testing::TestWithParam<HintCase>
{
};

TEST_P(CommonStyleHint, HasTheTableValue)
{
    CZelCommonStyle style;
    WarningRecorder warnings;
    EXPECT_EQ(style.styleHint(GetParam().hint), GetParam().value);
    EXPECT_TRUE(warnings.lines().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommonStyleHint,
    ::testing::Values(HintCase{QStyle::SH_EtchDisabledText, 1}, HintCase{QStyle::SH_Slider_SnapToValue, 1},
                      HintCase{QStyle::SH_TabBar_SelectMouseType, 3},
                      HintCase{QStyle::SH_ProgressDialog_TextLabelAlignment, 132},
                      HintCase{QStyle::SH_Menu_SubMenuPopupDelay, 256}, HintCase{QStyle::SH_Table_GridLineColor, -1},
                      HintCase{QStyle::SH_LineEdit_PasswordCharacter, 42},
                      HintCase{QStyle::SH_SpinBox_ClickAutoRepeatRate, 150},
                      HintCase{QStyle::SH_Button_FocusPolicy, 11}, HintCase{QStyle::SH_ToolButton_PopupDelay, 600},
                      HintCase{QStyle::SH_Dial_BackgroundRole, 10}, HintCase{QStyle::SH_ItemView_EllipsisLocation, 2},
                      HintCase{QStyle::SH_ScrollBar_MiddleClickAbsolutePosition, 0},
                      HintCase{QStyle::SH_ItemView_ActivateItemOnSingleClick, 0}));

TEST(CommonStyleHints, MasksCutTheFrameOutOfTheRectangle)
{
    CZelCommonStyle style;
    QStyleOptionRubberBand band;
    band.rect = QRect(0, 0, 20, 20);
    band.shape = QRubberBand::Rectangle;
    QStyleHintReturnMask mask;
    EXPECT_EQ(style.styleHint(QStyle::SH_RubberBand_Mask, &band, nullptr, &mask), 1);
    EXPECT_TRUE(mask.region.contains(QPoint(0, 0)));
    EXPECT_TRUE(mask.region.contains(QPoint(3, 10)));
    EXPECT_FALSE(mask.region.contains(QPoint(4, 10)));
    band.shape = QRubberBand::Line;
    EXPECT_EQ(style.styleHint(QStyle::SH_RubberBand_Mask, &band, nullptr, &mask), 0);
    QStyleOption option;
    option.palette.setColor(QPalette::Mid, QColor(1, 2, 3));
    EXPECT_EQ(QRgb(style.styleHint(QStyle::SH_Table_GridLineColor, &option)), qRgb(1, 2, 3));
}

struct DialCase {
    bool wrapping;
    int position;
    double angle;
};

class DialGeometry : public ::testing::TestWithParam<DialCase>
{
};

TEST_P(DialGeometry, HandleSitsOnTheAngleOfThePosition)
{
    QStyleOptionSlider option;
    option.rect = QRect(0, 0, 100, 100);
    option.minimum = 0;
    option.maximum = 100;
    option.sliderPosition = GetParam().position;
    option.dialWrapping = GetParam().wrapping;
    const QRect handle = CZelCommonStyle::dialHandleRect(&option, 11);
    const int r = 50 - 5;
    EXPECT_EQ(handle.size(), QSize(5, 5));
    EXPECT_EQ(handle.topLeft(),
              QPoint(int(r * std::cos(GetParam().angle) + 50.5) - 2, int(50.5 - r * std::sin(GetParam().angle)) - 2));
}

INSTANTIATE_TEST_SUITE_P(Angles, DialGeometry,
                         ::testing::Values(DialCase{true, 0, 3 * M_PI / 2}, DialCase{false, 0, 4 * M_PI / 3},
                                           DialCase{false, 100, -M_PI / 3}, DialCase{false, 50, M_PI / 2}));

TEST(FocusRectangle, DrawnOnlyForKeyboardFocusInTheInverseColour)
{
    CZelCommonStyle style;
    QImage canvas(20, 20, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QStyleOptionFocusRect focus;
    focus.rect = QRect(2, 2, 10, 10);
    focus.backgroundColor = QColor(10, 20, 30);
    focus.state = QStyle::State_HasFocus;
    {
        QPainter painter(&canvas);
        style.drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter);
    }
    EXPECT_EQ(canvas.pixelColor(2, 2), QColor(Qt::white));
    focus.state |= QStyle::State_KeyboardFocusChange;
    {
        QPainter painter(&canvas);
        style.drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter);
    }
    int inverse = 0;
    for (int x = 2; x < 12; ++x)
        inverse += canvas.pixelColor(x, 2) == QColor(245, 235, 225);
    EXPECT_GT(inverse, 0);
    EXPECT_LT(inverse, 10); // a dotted line
    EXPECT_EQ(canvas.pixelColor(6, 6), QColor(Qt::white));
}

TEST(PaintUtilities, TickmarksCloserThanThreePixelsAreNotDrawn)
{
    QImage canvas(100, 10, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    CZelPaintUtilities::drawTickmarks(&painter, canvas.rect(), Qt::black, true, 0, 99, 0);
    CZelPaintUtilities::drawTickmarks(&painter, canvas.rect(), Qt::black, true, 0, 99, 2);
    painter.end();
    EXPECT_EQ(canvas, [] {
        QImage white(100, 10, QImage::Format_RGB32);
        white.fill(Qt::white);
        return white;
    }());
    painter.begin(&canvas);
    CZelPaintUtilities::drawTickmarks(&painter, QRect(0, 0, 100, 10), Qt::black, true, 0, 99, 10);
    painter.end();
    EXPECT_EQ(canvas.pixelColor(0, 5), QColor(Qt::black));
    EXPECT_EQ(canvas.pixelColor(10, 5), QColor(Qt::black));
    EXPECT_EQ(canvas.pixelColor(5, 5), QColor(Qt::white));
}

TEST(PaintUtilities, InvalidParametersWarnAndDrawNothing)
{
    QImage canvas(10, 10, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    const QImage before = canvas;
    WarningRecorder warnings;
    QPainter painter(&canvas);
    const QPalette palette;
    CZelPaintUtilities::drawShadeLine(&painter, QPoint(0, 0), QPoint(9, 0), palette, true, -1);
    CZelPaintUtilities::drawPlainRect(&painter, canvas.rect(), Qt::black, -1);
    CZelPaintUtilities::drawShadeRect(&painter, canvas.rect(), palette, true, 1, -2);
    CZelPaintUtilities::drawShadePanel(&painter, canvas.rect(), palette, true, -1);
    CZelPaintUtilities::drawTickmarks(&painter, canvas.rect(), Qt::black, true, 0, 9, -1);
    CZelPaintUtilities::drawPlainRect(nullptr, canvas.rect(), Qt::black, 1);
    CZelPaintUtilities::drawPlainRect(&painter, QRect(), Qt::black, 1);
    painter.end();
    EXPECT_EQ(canvas, before);
    EXPECT_EQ(warnings.lines(),
              QStringList({QStringLiteral("CZelPaintUtilities::drawShadeLine(): invalid parameters"),
                           QStringLiteral("CZelPaintUtilities::drawPlainRect(): invalid parameters"),
                           QStringLiteral("CZelPaintUtilities::drawShadeRect(): invalid parameters"),
                           QStringLiteral("CZelPaintUtilities::drawShadePanel(): invalid parameters"),
                           QStringLiteral("CZelPaintUtilities::drawTickmarks(): invalid parameters")}));
}

TEST(PaintUtilities, CapsuleHasRoundEnds)
{
    QImage canvas(40, 10, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    CZelPaintUtilities::drawCapsule(&painter, canvas.rect(), QBrush(Qt::black));
    painter.end();
    EXPECT_EQ(canvas.pixelColor(20, 5), QColor(Qt::black));
    EXPECT_EQ(canvas.pixelColor(2, 5), QColor(Qt::black));
    EXPECT_EQ(canvas.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(canvas.pixelColor(39, 9), QColor(Qt::white));
}

TEST(WireFrameStyle, StandardPaletteIsGreyWithADisabledGroup)
{
    CZelWireFrameStyle style;
    const QPalette palette = style.standardPalette();
    const QColor gray(Qt::gray);
    EXPECT_EQ(palette.color(QPalette::Active, QPalette::Window), gray);
    EXPECT_EQ(palette.color(QPalette::Inactive, QPalette::Highlight), QColor(Qt::darkBlue));
    EXPECT_EQ(palette.color(QPalette::Active, QPalette::Mid), gray.darker(150));
    EXPECT_EQ(palette.color(QPalette::Active, QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(palette.color(QPalette::Disabled, QPalette::Base), gray);
    EXPECT_EQ(palette.color(QPalette::Disabled, QPalette::ButtonText), gray.darker(200));
}

TEST(WireFrameStyle, ScrollBarPagesAreLeftEmpty)
{
    QStyleOptionSlider option;
    option.rect = QRect(0, 0, 10, 10);
    option.palette.setColor(QPalette::Mid, Qt::red);
    QImage wire(10, 10, QImage::Format_RGB32);
    wire.fill(Qt::white);
    QImage common = wire;
    {
        QPainter painter(&wire);
        CZelWireFrameStyle().drawControl(QStyle::CE_ScrollBarAddPage, &option, &painter);
    }
    {
        QPainter painter(&common);
        CZelCommonStyle().drawControl(QStyle::CE_ScrollBarAddPage, &option, &painter);
    }
    EXPECT_EQ(wire.pixelColor(5, 5), QColor(Qt::white));
    EXPECT_EQ(common.pixelColor(5, 5), QColor(Qt::red));
}

TEST(SkinStyle, CheckBoxesGetHoverWhilePolished)
{
    CZelSkinEngine engine;
    CZelSkinStyle style(&engine);
    QCheckBox check;
    QPushButton push;
    style.polish(&check);
    style.polish(&push);
    EXPECT_TRUE(check.testAttribute(Qt::WA_Hover));
    EXPECT_FALSE(push.testAttribute(Qt::WA_Hover));
    style.unpolish(&check);
    EXPECT_FALSE(check.testAttribute(Qt::WA_Hover));
}

} // namespace
