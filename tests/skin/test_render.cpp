// Render descriptions: property parsing, cell selection, natural sizes and
// painting checked on pixels; the render style's keyed metrics.
#include "tests/skin/SkinTestSupport.h"

#include "editor/skin/CZelGrid.h"
#include "editor/skin/CZelRenderDescription.h"
#include "editor/skin/CZelRenderStyle.h"
#include "editor/skin/CZelStyleOptions.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

using Properties = QList<QPair<QString, QString>>;

// A description built from a free-standing node with the given properties.
std::unique_ptr<CZelRenderDescription> describe(const Properties &properties)
{
    QByteArray text = "<node><path>x/</path>";
    for (const auto &[key, value] : properties)
        text += "<property><key>" + key.toUtf8() + "</key><value>" + value.toUtf8() + "</value></property>";
    text += "</node>";
    QDomDocument document;
    document.setContent(text);
    return std::make_unique<CZelRenderDescription>(CZelNode(document.documentElement()));
}

QPair<QString, QString> p(const char *key, const char *value)
{
    return {QString::fromLatin1(key), QString::fromLatin1(value)};
}

// ------------------------------------------------------------- parsing

struct ParseCase {
    Properties properties;
    int buttonType, focusStyle, renderStyle, vectorType, tiledType, compositeType;
};

class DescriptionParse : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(DescriptionParse, ReadsTheDescriptiveProperties)
{
    const ParseCase &c = GetParam();
    const auto d = describe(c.properties);
    EXPECT_EQ(d->buttonType(), c.buttonType);
    EXPECT_EQ(d->focusStyle(), c.focusStyle);
    EXPECT_EQ(d->renderStyle(), c.renderStyle);
    EXPECT_EQ(d->vectorType(), c.vectorType);
    EXPECT_EQ(d->tiledType(), c.tiledType);
    EXPECT_EQ(d->compositeType(), c.compositeType);
}

INSTANTIATE_TEST_SUITE_P(
    Words, DescriptionParse,
    ::testing::Values(ParseCase{{p("ButtonType", "Button_Tristate"), p("FocusStyle", "Focus_Hover"),
                                 p("RenderStyle", "Render_Vector"), p("VectorType", "Vector_Type4"),
                                 p("TiledType", "Tiled_Both"), p("CompositeType", "Composite_Continuous")},
                                2,
                                4,
                                1,
                                3,
                                3,
                                1},
                      ParseCase{{p("ButtonType", "Button_Toggle"), p("FocusStyle", "Focus_BorderAnimated"),
                                 p("RenderStyle", "Render_Tiled"), p("VectorType", "Vector_Type3"),
                                 p("TiledType", "Tiled_Vertical")},
                                1,
                                3,
                                2,
                                2,
                                2,
                                0},
                      ParseCase{{p("ButtonType", "Button_Command"), p("FocusStyle", "Focus_BorderShade"),
                                 p("RenderStyle", "Render_None"), p("VectorType", "Vector_Type2")},
                                0,
                                2,
                                0,
                                1,
                                1,
                                0},
                      // Keys are compared exactly: lower-case spellings have no effect.
                      ParseCase{{p("buttonType", "Button_Toggle"), p("focusStyle", "Focus_Border"),
                                 p("compositeType", "Composite_Continuous"), p("RenderStyle", "render_fixed")},
                                0,
                                0,
                                0,
                                0,
                                1,
                                0}));

TEST(DescriptionNames, OnlyTheButtonTypesImageNamesAreKept)
{
    const auto command = describe({p("RenderStyle", "Render_None"), p("active", "A"), p("active_on", "B"),
                                   p("active_centerArea", "C"), p("other", "D")});
    EXPECT_TRUE(command->images().contains(QStringLiteral("active")));
    EXPECT_FALSE(command->images().contains(QStringLiteral("active_on")));
    EXPECT_FALSE(command->images().contains(QStringLiteral("active_centerArea")));
    EXPECT_FALSE(command->images().contains(QStringLiteral("RenderStyle")));
    const auto tristate =
        describe({p("ButtonType", "Button_Tristate"), p("active_on", "B"), p("disabled_mid_topLeft", "M")});
    EXPECT_TRUE(tristate->images().contains(QStringLiteral("active_on")));
    EXPECT_TRUE(tristate->images().contains(QStringLiteral("disabled_mid_topLeft")));
}

struct ValidityCase {
    Properties properties;
    bool valid;
    int available;
};

class DescriptionValidity : public ::testing::TestWithParam<ValidityCase>
{
};

TEST_P(DescriptionValidity, DependsOnTheRenderStylesRequiredImages)
{
    const auto d = describe(GetParam().properties);
    EXPECT_EQ(d->isValid(), GetParam().valid);
    EXPECT_EQ(d->available(), GetParam().available);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, DescriptionValidity,
    ::testing::Values(ValidityCase{{}, false, 0}, ValidityCase{{p("RenderStyle", "Render_None")}, true, 0},
                      ValidityCase{{p("RenderStyle", "Render_Fixed"), p("pressed", "P")}, false, 0b10},
                      ValidityCase{
                          {p("RenderStyle", "Render_Fixed"), p("active", "A"), p("disabled", "D")}, true, 0b101},
                      ValidityCase{{p("RenderStyle", "Render_Tiled"), p("active_capLeftOrTop", "L"),
                                    p("active_capRightOrBottom", "R")},
                                   false,
                                   0},
                      ValidityCase{{p("RenderStyle", "Render_Tiled"), p("active_capLeftOrTop", "L"),
                                    p("active_capRightOrBottom", "R"), p("active_hOrVStretch", "S")},
                                   true,
                                   1},
                      ValidityCase{{p("RenderStyle", "Render_Composite"), p("composite", "C")}, false, 0},
                      ValidityCase{{p("ButtonType", "Button_Toggle"), p("RenderStyle", "Render_Composite"),
                                    p("composite", "C"), p("compositeOrder", "0,3,2,4,3,5")},
                                   true,
                                   0b111111},
                      // An unknown render style reads as none, which needs no images.
                      ValidityCase{{p("RenderStyle", "Render_Bitmap"), p("active", "A")}, true, 0}));

TEST(CompositeOrder, CellTableCountsUnparsableItemsAndZeroesTooLargeOnes)
{
    const auto d =
        describe({p("RenderStyle", "Render_Composite"), p("composite", "C"), p("compositeOrder", "x, y ,5,2,1")});
    EXPECT_EQ(d->compositeType(), 0);
    EXPECT_EQ(d->order(), QList<int>({0, 1, 0}));
    EXPECT_EQ(d->grid().rows(), 1);
    EXPECT_EQ(d->grid().columns(), 3);
}

TEST(CompositeOrder, FilmStripSetsFramesRowsAndAvailableStates)
{
    const auto d =
        describe({p("RenderStyle", "Render_Composite"), p("composite", "C"), p("compositeOrder", " 64 ; 0, 0,0 ")});
    EXPECT_EQ(d->compositeType(), 1);
    EXPECT_EQ(d->order(), QList<int>({0, 0, 0}));
    EXPECT_EQ(d->grid().rows(), 1);
    EXPECT_EQ(d->grid().columns(), 64);
    EXPECT_EQ(d->available(), 1);

    const auto odd =
        describe({p("RenderStyle", "Render_Composite"), p("composite", "C"), p("compositeOrder", "many;1,,9,-3,2")});
    EXPECT_EQ(odd->grid().columns(), 64);
    EXPECT_EQ(odd->order(), QList<int>({1, 0, 0, 0, 2}));
    EXPECT_EQ(odd->grid().rows(), 3);
    EXPECT_EQ(odd->available(), 0b111);
}

// ------------------------------------------------------------- cell selection

struct CellCase {
    CZelRenderState state;
    int stateIndex;
    int cell;
};

CZelRenderState state(bool pressed, bool disabled, bool on)
{
    CZelRenderState s;
    s.pressed = pressed;
    s.disabled = disabled;
    s.on = on;
    s.normal = !pressed;
    return s;
}

class ToggleCells : public ::testing::TestWithParam<CellCase>
{
};

TEST_P(ToggleCells, FollowTheShippedOrder)
{
    const auto d = describe({p("ButtonType", "Button_Toggle"), p("RenderStyle", "Render_Composite"),
                             p("composite", "C"), p("compositeOrder", "0,3,2,4,3,5")});
    EXPECT_EQ(d->stateIndex(GetParam().state), GetParam().stateIndex);
    QPixmap bitmap(42, 28);
    const QRect cell = d->compositeCell(bitmap, GetParam().state, 0.0);
    EXPECT_EQ(cell, QRect((GetParam().cell % 3) * 14, (GetParam().cell / 3) * 14, 14, 14));
}

INSTANTIATE_TEST_SUITE_P(
    States, ToggleCells,
    ::testing::Values(CellCase{state(false, false, false), 0, 0}, CellCase{state(true, false, false), 1, 3},
                      CellCase{state(false, true, false), 2, 2}, CellCase{state(false, false, true), 3, 4},
                      CellCase{state(true, false, true), 4, 3}, CellCase{state(false, true, true), 5, 5}));

TEST(FilmStrip, PositionPicksTheFrameRoundingHalfUp)
{
    const auto d =
        describe({p("RenderStyle", "Render_Composite"), p("composite", "C"), p("compositeOrder", "64;0,0,0")});
    QPixmap strip(1690, 26);
    EXPECT_EQ(d->compositeCell(strip, {}, 0.0), QRect(0, 0, 26, 26));
    EXPECT_EQ(d->compositeCell(strip, {}, 0.5), QRect(32 * 26, 0, 26, 26));
    EXPECT_EQ(d->compositeCell(strip, {}, 1.0), QRect(63 * 26, 0, 26, 26));
    EXPECT_TRUE(d->compositeCell(QPixmap(), {}, 0.5).isNull());
}

struct LedCase {
    bool disabled;
    bool on;
    const char *key;
};

class ModifiedLed : public ::testing::TestWithParam<LedCase>
{
};

TEST_P(ModifiedLed, ImageKeyFallsBackToActive)
{
    const auto d = describe({p("ButtonType", "Button_Toggle"), p("RenderStyle", "Render_Fixed"),
                             p("active", "UNEXPECTED"), p("disabled", "UNMODIFIED"), p("disabled_on", "MODIFIED")});
    EXPECT_EQ(d->imageKey(state(false, GetParam().disabled, GetParam().on), 0), QLatin1String(GetParam().key));
}

INSTANTIATE_TEST_SUITE_P(States, ModifiedLed,
                         ::testing::Values(LedCase{true, true, "MODIFIED"}, LedCase{true, false, "UNMODIFIED"},
                                           LedCase{false, false, "UNEXPECTED"}, LedCase{false, true, "UNEXPECTED"}));

TEST(FixedToggle, DisabledCheckedShowsActiveOnWithoutADisabledSet)
{
    const auto d = describe(
        {p("ButtonType", "Button_Toggle"), p("RenderStyle", "Render_Fixed"), p("active", "OFF"), p("active_on", "ON")});
    EXPECT_EQ(d->imageKey(state(false, true, true), 0), QStringLiteral("ON"));
}

// ------------------------------------------------------------- painting

class DescriptionPaint : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QImage cells(42, 28, QImage::Format_RGB32);
        for (int c = 0; c < 6; ++c) {
            QPainter painter(&cells);
            painter.fillRect(QRect((c % 3) * 14, (c / 3) * 14, 14, 14), QColor(10 + c * 40, 100, 100));
        }
        skin.addImage(QStringLiteral("CELLS"), cells);
        QImage strip(1690, 26, QImage::Format_RGB32);
        for (int f = 0; f < 65; ++f) {
            QPainter painter(&strip);
            painter.fillRect(QRect(f * 26, 0, 26, 26), QColor(f * 3, 200, 50));
        }
        skin.addImage(QStringLiteral("STRIP"), strip);
        skin.addImage(QStringLiteral("FIXED"), TestSkin::solid({5, 4}, QColor(200, 10, 10)));
        skin.addImage(QStringLiteral("L"), TestSkin::solid({3, 6}, QColor(255, 0, 0)));
        skin.addImage(QStringLiteral("R"), TestSkin::solid({4, 6}, QColor(0, 0, 255)));
        skin.addImage(QStringLiteral("S"), TestSkin::solid({2, 6}, QColor(0, 255, 0)));
        skin.addNode(QStringLiteral("cells"), {p("ButtonType", "Button_Toggle"), p("RenderStyle", "Render_Composite"),
                                               p("composite", "CELLS"), p("compositeOrder", "0,3,2,4,3,5")});
        skin.addNode(QStringLiteral("hover"), {p("ButtonType", "Button_Toggle"), p("FocusStyle", "Focus_Hover"),
                                               p("RenderStyle", "Render_Composite"), p("composite", "CELLS"),
                                               p("compositeOrder", "0,3,2,4,3,5")});
        skin.addNode(QStringLiteral("strip"),
                     {p("RenderStyle", "Render_Composite"), p("composite", "STRIP"), p("compositeOrder", "64;0,0,0")});
        skin.addNode(QStringLiteral("fixed"), {p("RenderStyle", "Render_Fixed"), p("active", "FIXED")});
        skin.addNode(QStringLiteral("three"), {p("RenderStyle", "Render_Tiled"), p("active_capLeftOrTop", "L"),
                                               p("active_capRightOrBottom", "R"), p("active_hOrVStretch", "S")});
        engine = &skin.engine({QStringLiteral("cells"), QStringLiteral("strip"), QStringLiteral("fixed"),
                               QStringLiteral("three"), QStringLiteral("hover")});
        canvas = QImage(60, 30, QImage::Format_RGB32);
        canvas.fill(Qt::white);
    }

    void paint(const char *key, const QRect &target, double position, const CZelRenderState &s)
    {
        QPainter painter(&canvas);
        engine->renderDescription(QLatin1String(key))->paint(&painter, target, position, s);
    }

    QColor at(int x, int y) const { return canvas.pixelColor(x, y); }

    TestSkin skin;
    CZelSkinEngine *engine = nullptr;
    QImage canvas;
};

TEST_F(DescriptionPaint, FixedBitmapGoesUnscaledToTheTopLeft)
{
    paint("fixed", QRect(10, 5, 40, 20), 0, {});
    EXPECT_EQ(at(10, 5), QColor(200, 10, 10));
    EXPECT_EQ(at(14, 8), QColor(200, 10, 10));
    EXPECT_EQ(at(15, 8), QColor(Qt::white));
    EXPECT_EQ(at(9, 5), QColor(Qt::white));
}

TEST_F(DescriptionPaint, CompositeCopiesTheStatesCell)
{
    paint("cells", QRect(0, 0, 14, 14), 0, state(false, false, true));
    EXPECT_EQ(at(7, 7), QColor(10 + 4 * 40, 100, 100));
    paint("cells", QRect(20, 0, 14, 14), 0, state(true, false, true));
    EXPECT_EQ(at(27, 7), QColor(10 + 3 * 40, 100, 100));
    EXPECT_EQ(at(35, 7), QColor(Qt::white));
}

TEST_F(DescriptionPaint, FilmStripPaintsTheFrameOfThePosition)
{
    paint("strip", QRect(0, 0, 26, 26), 0.5, {});
    EXPECT_EQ(at(13, 13), QColor(32 * 3, 200, 50));
    paint("strip", QRect(30, 0, 26, 26), 1.0, {});
    EXPECT_EQ(at(40, 13), QColor(63 * 3, 200, 50));
}

TEST_F(DescriptionPaint, ThreePieceTilesBetweenTheCaps)
{
    paint("three", QRect(0, 0, 20, 6), 0, {});
    EXPECT_EQ(at(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(at(2, 5), QColor(255, 0, 0));
    EXPECT_EQ(at(3, 3), QColor(0, 255, 0));
    EXPECT_EQ(at(15, 3), QColor(0, 255, 0));
    EXPECT_EQ(at(16, 3), QColor(0, 0, 255));
    EXPECT_EQ(at(19, 3), QColor(0, 0, 255));
}

TEST_F(DescriptionPaint, ThreePieceNarrowerThanItsCapsDrawsABlackOutline)
{
    paint("three", QRect(10, 10, 6, 12), 0, {});
    EXPECT_EQ(at(10, 10), QColor(Qt::black));
    EXPECT_EQ(at(15, 21), QColor(Qt::black));
    EXPECT_EQ(at(12, 15), QColor(Qt::white));
}

TEST_F(DescriptionPaint, NaturalSizesFollowTheRenderStyle)
{
    EXPECT_EQ(engine->renderDescription(QStringLiteral("fixed"))->naturalSize(), QSize(5, 4));
    EXPECT_EQ(engine->renderDescription(QStringLiteral("cells"))->naturalSize(), QSize(14, 14));
    EXPECT_EQ(engine->renderDescription(QStringLiteral("strip"))->naturalSize(), QSize(26, 26));
    EXPECT_EQ(engine->renderDescription(QStringLiteral("three"))->naturalSize(), QSize(-1, 6));
}

TEST_F(DescriptionPaint, RenderStyleAnswersKeyedMetricsFromTheDescription)
{
    CZelRenderStyle style(engine);
    CZelStyleOptionSlider slider;
    slider.orientation = Qt::Vertical;
    slider.keys[0] = QStringLiteral("strip");
    EXPECT_EQ(style.pixelMetric(QStyle::PM_SliderLength, &slider), 26);
    EXPECT_EQ(style.pixelMetric(QStyle::PM_SliderControlThickness, &slider), 26);
    slider.keys[0] = QStringLiteral("three");
    slider.orientation = Qt::Horizontal;
    EXPECT_EQ(style.pixelMetric(QStyle::PM_SliderControlThickness, &slider), 6);
    EXPECT_EQ(style.pixelMetric(QStyle::PM_SliderLength, &slider), 11); // -1 falls back
    CZelStyleOptionButton button;
    button.keys[0] = QStringLiteral("cells");
    EXPECT_EQ(style.pixelMetric(QStyle::PM_IndicatorWidth, &button), 14);
    EXPECT_EQ(style.pixelMetric(QStyle::PM_IndicatorWidth), 13);
}

TEST_F(DescriptionPaint, RenderStylePaintsAKeyedPanelAndFallsBackWithoutAKey)
{
    CZelRenderStyle style(engine);
    CZelStyleOptionButton keyed;
    keyed.rect = QRect(0, 0, 14, 14);
    keyed.state = QStyle::State_Enabled | QStyle::State_Raised | QStyle::State_On;
    keyed.keys[0] = QStringLiteral("cells");
    {
        QPainter painter(&canvas);
        style.drawPrimitive(QStyle::PE_PanelButtonCommand, &keyed, &painter);
    }
    EXPECT_EQ(at(7, 7), QColor(10 + 4 * 40, 100, 100));
    keyed.keys[0] = QStringLiteral("unknown");
    keyed.rect = QRect(20, 0, 14, 14);
    {
        QPainter painter(&canvas);
        style.drawPrimitive(QStyle::PE_PanelButtonCommand, &keyed, &painter);
    }
    EXPECT_NE(at(27, 7), QColor(Qt::white)); // the wire-frame bevel
}

TEST_F(DescriptionPaint, HoveredIndicatorGetsACapsuleOnlyWithFocusHover)
{
    CZelRenderStyle style(engine);
    QWidget widget;
    widget.resize(60, 30);
    CZelStyleOptionButton option;
    option.rect = QRect(0, 8, 14, 14);
    option.state = QStyle::State_Enabled | QStyle::State_MouseOver | QStyle::State_Off;
    for (const char *key : {"cells", "hover"}) {
        option.keys[0] = QLatin1String(key);
        canvas.fill(Qt::white);
        {
            QPainter painter(&canvas);
            style.drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, &widget);
        }
        EXPECT_EQ(at(7, 15), QColor(10, 100, 100)) << key; // the plain active cell
        const QColor beside = at(40, 15);
        if (QLatin1String(key) == QLatin1String("hover"))
            EXPECT_LT(beside.red(), 255) << "a translucent grey capsule";
        else
            EXPECT_EQ(beside, QColor(Qt::white));
    }
}

} // namespace
