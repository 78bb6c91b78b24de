// The shipped skin: every file loads, every description registers, and every
// bitmap has the size the descriptions and the editor rely on.
#include "tests/skin/SkinTestSupport.h"

#include "editor/skin/CZelEditorSkin.h"
#include "editor/skin/CZelRenderDescription.h"
#include "editor/skin/CZelRenderStyle.h"

#include <QDomDocument>
#include <QFile>
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

// The text contents of one element per entry of a shipped skin file.
QStringList shippedEntries(const char *path, const char *entry, const char *field)
{
    QFile file(QString::fromLatin1(path));
    QDomDocument document;
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file))
        return {};
    QStringList values;
    const QDomNodeList entries = document.documentElement().elementsByTagName(QLatin1String(entry));
    for (int i = 0; i < entries.size(); ++i)
        values << entries.at(i).firstChildElement(QLatin1String(field)).text();
    return values;
}

TEST_F(ShippedSkin, EveryListedImageLoads)
{
    const QStringList keys = shippedEntries(":/files/images.xml", "image", "key");
    ASSERT_FALSE(keys.isEmpty());
    for (const QString &key : keys)
        EXPECT_FALSE(engine.pixmap(key).isNull()) << key.toStdString();
}

// Every element the editor registers paints from bitmaps that exist, and a
// composite of cells is cut into cells of the element's natural size.
TEST_F(ShippedSkin, EveryDescriptionRegistersAndMatchesItsBitmaps)
{
    ASSERT_EQ(CZelEditorSkin::elementNames().size(), 23);
    for (const QString &name : CZelEditorSkin::elementNames()) {
        SCOPED_TRACE(name.toStdString());
        const CZelRenderDescription *description = engine.renderDescription(name);
        ASSERT_NE(description, nullptr);
        EXPECT_TRUE(description->isValid());
        for (int part = 0; part < CZelRenderDescription::PartCount; ++part) {
            for (const CZelRenderState &state : {CZelRenderState{}, CZelRenderState{false, true, false, false, false},
                                                 CZelRenderState{false, false, true, false, false}}) {
                const QString key = description->imageKey(state, part);
                EXPECT_TRUE(key.isEmpty() || !engine.pixmap(key).isNull()) << key.toStdString();
            }
        }
        const bool cells = description->renderStyle() == CZelRenderDescription::Render_Composite &&
                           description->compositeType() == CZelRenderDescription::Composite_Cells;
        if (!cells)
            continue;
        const QPixmap composite = engine.pixmap(description->imageKey(CZelRenderState(), 0));
        EXPECT_EQ(description->compositeCell(composite, CZelRenderState(), 0).size(), description->naturalSize());
    }
}

// The sizes the editor's layout is built around.
TEST_F(ShippedSkin, PanelsAndFieldsHaveTheSizesTheLayoutUses)
{
    EXPECT_EQ(QPixmap(QStringLiteral(":/images/patchEditorBackground_active.bmp")).size(), QSize(658, 497));
    EXPECT_EQ(QPixmap(QStringLiteral(":/images/zonesEditorBackground_active.bmp")).size(), QSize(658, 497));
    EXPECT_EQ(engine.renderDescription(QStringLiteral("dial_track"))->naturalSize(), QSize(26, 26));
    EXPECT_EQ(engine.renderDescription(QStringLiteral("wheel_track"))->naturalSize(), QSize(15, 75));
}

TEST_F(ShippedSkin, RoundControlsAreTransparentOutsideTheirShape)
{
    const QImage knob =
        engine.pixmap(QStringLiteral("DIAL_TRACK_COMPOSITE")).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(knob.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(knob.pixel(13, 13)), 255);
    const QImage check =
        engine.pixmap(QStringLiteral("CHECKBUTTON_COMPOSITE")).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(check.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(check.pixel(7, 7)), 255);
}

} // namespace
