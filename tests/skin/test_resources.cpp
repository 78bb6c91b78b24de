// The shipped skin: every file loads, every description registers, and every
// bitmap has the size the descriptions and the editor rely on.
#include "tests/skin/SkinTestSupport.h"

#include "editor/skin/CZelEditorSkin.h"
#include "editor/skin/CZelRenderDescription.h"
#include "editor/skin/CZelRenderStyle.h"

#include <QFile>
#include <QImageReader>
#include <gtest/gtest.h>

namespace {

class ShippedSkin : public ::testing::Test
{
protected:
    void SetUp() override { loaded = CZelEditorSkin::load(engine); }

    MessageRecorder messages;
    CZelSkinEngine engine;
    bool loaded = false;
};

TEST_F(ShippedSkin, LoadsWithoutAnyMessage)
{
    EXPECT_TRUE(loaded);
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_EQ(engine.string(QStringLiteral("MAINWINDOW_TITLEBAR")), QStringLiteral("ZEL Vorpad Control"));
    EXPECT_EQ(engine.string(QStringLiteral("ACTION_LOADBANKFROMFILE")), QStringLiteral("&Load Bank from File..."));
    EXPECT_EQ(engine.string(QStringLiteral("ACTION_LOADBANKFROMFILE_ACCEL")), QStringLiteral("Ctrl+O"));
    EXPECT_EQ(engine.palette(QStringLiteral("DEFAULT_1.0")).color(QPalette::Active, QPalette::Window),
              QColor(44, 46, 51));
}

TEST_F(ShippedSkin, HasTheSampleLayoutRows)
{
    EXPECT_EQ(engine.rect(QStringLiteral("TOP_PATCHNUMBER")).topLeft(), QPoint(77, 12));
    EXPECT_EQ(engine.rect(QStringLiteral("CONTROLS_1")).topLeft(), QPoint(7, 33));
    EXPECT_EQ(engine.rect(QStringLiteral("CONTROLS_8")).topLeft(), QPoint(7 + 7 * 80, 33));
    EXPECT_EQ(engine.rect(QStringLiteral("CONTROLS_9")).topLeft(), QPoint(7, 124));
    EXPECT_EQ(engine.rect(QStringLiteral("VELOCITYCURVES_2")).topLeft(), QPoint(90, 327));
    EXPECT_EQ(engine.rect(QStringLiteral("PROGRAMCHANGE_16")).topLeft(), QPoint(86 + 15 * 35, 422));
    EXPECT_EQ(engine.rect(QStringLiteral("ZONE_4")).topLeft(), QPoint(392 + 3 * 70, 290));
    EXPECT_EQ(engine.rect(QStringLiteral("KNOBCONTROL_KNOB")).topLeft(), QPoint(11, 22));
    EXPECT_EQ(engine.rect(QStringLiteral("KNOBCONTROL_KNOB")).size(), QSize(0, 0));
}

TEST(ShippedFiles, HaveTheDescribedNumberOfEntries)
{
    const auto count = [](const char *path, const char *tag) {
        QFile file(QString::fromLatin1(path));
        if (!file.open(QIODevice::ReadOnly))
            return -1;
        QDomDocument document;
        document.setContent(&file);
        return int(document.documentElement().elementsByTagName(QLatin1String(tag)).size());
    };
    EXPECT_EQ(count(":/files/images.xml", "image"), 32);
    EXPECT_EQ(count(":/files/layouts.xml", "rectangle"), 98);
    EXPECT_EQ(count(":/files/nodes.xml", "node"), 24);
    EXPECT_EQ(count(":/files/strings.xml", "string"), 3);
    EXPECT_EQ(count(":/files/palettes.xml", "color"), 20);
}

struct NaturalSizeCase
{
    const char *key;
    QSize size;
};

class ShippedDescriptions : public ShippedSkin, public ::testing::WithParamInterface<NaturalSizeCase>
{
};

TEST_P(ShippedDescriptions, HaveTheirNaturalSize)
{
    const CZelRenderDescription *description = engine.renderDescription(QLatin1String(GetParam().key));
    ASSERT_NE(description, nullptr);
    EXPECT_EQ(description->naturalSize(), GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(
    Elements, ShippedDescriptions,
    ::testing::Values(NaturalSizeCase{"storeButton", {50, 17}}, NaturalSizeCase{"checkButton", {14, 14}},
                      NaturalSizeCase{"velocityCurveButton1", {80, 66}},
                      NaturalSizeCase{"velocityCurveButton8", {80, 66}}, NaturalSizeCase{"dial_track", {26, 26}},
                      NaturalSizeCase{"dial_thumb", {-1, -1}}, NaturalSizeCase{"wheel_track", {15, 75}},
                      NaturalSizeCase{"wheel_thumb", {-1, -1}}, NaturalSizeCase{"spinInc", {12, 12}},
                      NaturalSizeCase{"spinDec", {12, 12}}, NaturalSizeCase{"modifiedLED", {16, 16}},
                      NaturalSizeCase{"controllerMode", {7, 8}}, NaturalSizeCase{"zone1Enable", {45, 15}},
                      NaturalSizeCase{"zone4Enable", {45, 15}}, NaturalSizeCase{"zonesEnable", {85, 24}}));

struct BitmapCase
{
    const char *file;
    QSize size;
};

class ShippedBitmaps : public ::testing::TestWithParam<BitmapCase>
{
};

TEST_P(ShippedBitmaps, AreWindowsBitmapsOfTheirSize)
{
    QImageReader reader(QStringLiteral(":/images/") + QLatin1String(GetParam().file));
    EXPECT_EQ(reader.format(), QByteArray(QByteArray(GetParam().file).endsWith(".png") ? "png" : "bmp"));
    EXPECT_EQ(reader.size(), GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ShippedBitmaps,
    ::testing::Values(
        BitmapCase{"checkButton_composite.bmp", {42, 28}}, BitmapCase{"spinInc_composite.bmp", {36, 24}},
        BitmapCase{"spinDec_composite.bmp", {36, 24}}, BitmapCase{"velocityCurveButton3_composite.bmp", {240, 132}},
        BitmapCase{"dial_track_composite.bmp", {1690, 26}}, BitmapCase{"wheel_trackV_composite.bmp", {990, 75}},
        BitmapCase{"storeButton_active.bmp", {50, 17}}, BitmapCase{"storeButton_pressed.bmp", {50, 17}},
        BitmapCase{"modifiedLED_modified.bmp", {16, 16}}, BitmapCase{"modifiedLED_unmodified.bmp", {16, 16}},
        BitmapCase{"modifiedLED_unexpected.bmp", {16, 16}}, BitmapCase{"controllerMode.bmp", {7, 8}},
        BitmapCase{"Zone2Button_active.bmp", {45, 15}}, BitmapCase{"Zone3Button_active_on.bmp", {45, 15}},
        BitmapCase{"EnableZonesButton_active.bmp", {85, 24}}, BitmapCase{"EnableZonesButton_active_on.bmp", {85, 24}},
        BitmapCase{"channel_active.bmp", {32, 14}}, BitmapCase{"channel_disabled.bmp", {32, 14}},
        BitmapCase{"patchEditorBackground_active.bmp", {658, 497}},
        BitmapCase{"zonesEditorBackground_active.bmp", {658, 497}}, BitmapCase{"patchIndex.bmp", {30, 17}},
        BitmapCase{"patchName.bmp", {140, 17}}, BitmapCase{"controllerName.bmp", {72, 14}},
        BitmapCase{"controllerValue.bmp", {26, 14}}, BitmapCase{"controllerValue2.bmp", {38, 14}},
        BitmapCase{"settingValue.bmp", {30, 14}}, BitmapCase{"modeCC.bmp", {28, 12}},
        BitmapCase{"mode3DMIDI.bmp", {28, 12}}, BitmapCase{"modeNRPN.bmp", {28, 12}},
        BitmapCase{"keyscale.bmp", {512, 36}}, BitmapCase{"velscale.bmp", {24, 200}},
        BitmapCase{"about_bg.bmp", {400, 260}}, BitmapCase{"appIcon.png", {64, 64}},
        BitmapCase{"Arrow_Up.png", {16, 16}}, BitmapCase{"Arrow_Down.png", {16, 16}}));

TEST_F(ShippedSkin, RoundControlsAreTransparentOutsideTheirShape)
{
    const QImage knob = engine.pixmap(QStringLiteral("DIAL_TRACK_COMPOSITE")).toImage().convertToFormat(
        QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(knob.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(knob.pixel(13, 13)), 255);
    const QImage check = engine.pixmap(QStringLiteral("CHECKBUTTON_COMPOSITE")).toImage().convertToFormat(
        QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(check.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(check.pixel(7, 7)), 255);
}

} // namespace
