#include "editor/app/editors/EditorSkin.h"
#include "editor/app/editors/ZonesDisplay.h"
#include "editor/app/editors/ZonesEditorView.h"
#include "editor/core/model/DeviceModel.h"
#include "editor/skin/CZelPushButton.h"
#include "tests/editors/EditorTestSupport.h"

using namespace Brisel;

namespace {

TEST(ZoneRectangles, ScaleNotesAcrossAndVelocitiesUp)
{
    const QSize display(512, 128);
    const struct {
        int lowNote, highNote, lowVelocity, highVelocity;
        QRect expected;
    } cases[] = {
        {0, 127, 0, 127, QRect(0, 0, 512, 128)}, // the whole field
        {0, 127, 1, 127, QRect(0, 0, 512, 127)}, // velocity 0 is the bottom row
        {60, 60, 64, 127, QRect(240, 0, 4, 64)}, // one key, upper half
        {36, 84, 1, 63, QRect(144, 64, 196, 63)}, {127, 127, 127, 127, QRect(508, 0, 4, 1)},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ZonesDisplayHandler::zoneRect(display, c.lowNote, c.highNote, c.lowVelocity, c.highVelocity),
                  c.expected)
            << c.lowNote << ".." << c.highNote << " / " << c.lowVelocity << ".." << c.highVelocity;
    }
}

TEST(PlayableRange, FollowsTheModelAndTheOctaveBeforeTheZones)
{
    const int width = 512; // 4 pixels a note
    const struct {
        int model;
        int octave;
        bool postZone;
        int firstNote, afterNote; // -1: everything dark
    } cases[] = {
        {Model25, 4, false, 48, 73}, {Model49, 4, false, 36, 85},          {Model61, 4, false, 36, 97},
        {Model49, 5, false, 48, 97}, {Model49, 3, false, 24, 73},          {Model49, 5, true, 36, 85},
        {Model25, 0, false, 0, 25},  {Model61, 8, false, 84, 128},         {Model61, 0, false, 0, 49},
        {Model25, 8, true, 48, 73},  {UnknownSizeModel, 4, false, -1, -1}, {NotThisProduct, 4, false, -1, -1},
    };
    for (const auto &c : cases) {
        const auto [start, end] = ZonesDisplayHandler::playableRange(width, c.model, c.octave, c.postZone);
        if (c.firstNote < 0) {
            EXPECT_EQ(start, -1);
            EXPECT_EQ(end, -1);
            continue;
        }
        EXPECT_EQ(start, c.firstNote * 4) << c.model << " octave " << c.octave;
        EXPECT_EQ(end, c.afterNote * 4) << c.model << " octave " << c.octave;
    }
}

class ZonesEditor : public EditorFixture
{
protected:
    void build() { view = std::make_unique<ZonesEditorView>(*manager); }
    void TearDown() override
    {
        view.reset();
        EditorFixture::TearDown();
    }

    ZonesDisplay *display() { return child<ZonesDisplay>(view.get(), QStringLiteral("ZONES_DISPLAY")); }
    KeyboardDisplay *keyboard() { return display()->keyboard(); }
    ZoneParams &zone(int i) { return active().zones().zone(i); }
    int noteX(int note) { return display()->rects()->width() * note / 128; }

    std::unique_ptr<ZonesEditorView> view;
};

TEST_F(ZonesEditor, ShowsEnabledZonesInDrawingOrder)
{
    build();
    RectsDisplay *rects = display()->rects();
    ASSERT_EQ(rects->count(), 4);
    for (int i = 0; i < 4; ++i)
        zone(i).binding(ZoneEnable).setValue(1);
    zone(0).binding(ZoneHighNote).setValue(127);
    zone(0).binding(ZoneLowNote).setValue(0);
    zone(0).binding(ZoneHighVelocity).setValue(127);
    zone(0).binding(ZoneLowVelocity).setValue(1);
    EXPECT_EQ(rects->item(0).rect.left(), 0);
    EXPECT_EQ(rects->item(0).rect.right(), rects->width() - 1);
    EXPECT_EQ(rects->item(0).rect.top(), 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(rects->item(i).visible) << i;
    QTest::mouseClick(child<CZelPushButton>(view.get(), QStringLiteral("ZONE_3/ZONE_ENABLE")), Qt::LeftButton);
    EXPECT_EQ(zone(2).binding(ZoneEnable).value(), 0);
    EXPECT_FALSE(rects->item(2).visible);
    EXPECT_TRUE(rects->item(1).visible);
    EXPECT_TRUE(rects->item(3).visible);

    // Zone 1 (blue) is painted over zone 2 (green) where both lie.
    for (int i : {0, 1}) {
        zone(i).binding(ZoneLowNote).setValue(0);
        zone(i).binding(ZoneHighNote).setValue(127);
    }
    zone(2).binding(ZoneEnable).setValue(0);
    zone(3).binding(ZoneEnable).setValue(0);
    // A small piece only: the toolkit fills large areas on pooled threads.
    const QImage image = rects->grab(QRect(rects->rect().center(), QSize(2, 2))).toImage();
    const QColor centre = image.pixelColor(0, 0);
    EXPECT_GT(centre.blue(), centre.green());
}

TEST_F(ZonesEditor, WithoutADeviceTheWholeScaleIsDark)
{
    build();
    EXPECT_EQ(keyboard()->start(), -1);
    EXPECT_EQ(keyboard()->end(), -1);
    const QImage image = keyboard()->grab().toImage();
    const QImage bare = EditorSkin::image(QStringLiteral(":/images/keyscale.bmp")).toImage();
    ASSERT_EQ(image.size(), bare.size());
    const auto brightness = [](const QImage &picture, int x) {
        int sum = 0;
        for (int y = 0; y < picture.height(); ++y)
            sum += qGray(picture.pixel(x, y));
        return sum;
    };
    for (int x : {1, image.width() / 2, image.width() - 2})
        EXPECT_LT(brightness(image, x), brightness(bare, x)) << x;
}

class ZonesOnModel : public ZonesEditor, public ::testing::WithParamInterface<int>
{
};

TEST_P(ZonesOnModel, BrightRangeFollowsTheKeyboardAndTheOctave)
{
    const int keys = GetParam();
    connect(keys);
    build();
    const KeyboardRange range = keyboardRange(manager->currentDevice().model);
    ASSERT_EQ(range.keyCount, keys);
    ScalarParam &octave = active().settings().setting(Octave);
    octave.setValue(4);
    EXPECT_EQ(keyboard()->start(), noteX(range.lowestNote));
    EXPECT_EQ(keyboard()->end(), noteX(range.lowestNote + keys));
    octave.setValue(5);
    EXPECT_EQ(keyboard()->start(), noteX(range.lowestNote + 12));
    octave.setValue(2);
    EXPECT_EQ(keyboard()->start(), noteX(range.lowestNote - 24));
    // After the zones the octave does not move the range.
    QTest::mouseClick(child<CZelPushButton>(view.get(), QStringLiteral("ZONES_POST_ZONE")), Qt::LeftButton);
    EXPECT_EQ(active().zones().transposePosition().value(), 1);
    EXPECT_EQ(keyboard()->start(), noteX(range.lowestNote));
    EXPECT_EQ(keyboard()->end(), noteX(range.lowestNote + keys));
    // Disconnecting darkens everything again.
    manager->selectDevice(DeviceRecord::empty());
    EXPECT_EQ(keyboard()->start(), -1);
}

INSTANTIATE_TEST_SUITE_P(Keys, ZonesOnModel, ::testing::Values(25, 49, 61));

TEST_F(ZonesEditor, OctaveAfterZoneTogglesFollowThePostZoneButton)
{
    build();
    const auto octaveToggles = [&] {
        QList<CZelPushButton *> list;
        for (int i = 1; i <= 4; ++i)
            list.append(
                child<CZelPushButton>(view.get(), QStringLiteral("ZONE_%1/ZONE_POST_ZONE_OCTAVE_TRANSPOSE").arg(i)));
        return list;
    }();
    for (int post : {1, 0, 1}) {
        active().zones().transposePosition().setValue(post);
        EXPECT_EQ(child<CZelPushButton>(view.get(), QStringLiteral("ZONES_POST_ZONE"))->isChecked(), post == 1);
        for (CZelPushButton *toggle : octaveToggles)
            EXPECT_EQ(toggle->isEnabled(), post == 1);
    }
    QTest::mouseClick(child<CZelPushButton>(view.get(), QStringLiteral("ZONES_PRE_ZONE")), Qt::LeftButton);
    EXPECT_EQ(active().zones().transposePosition().value(), 0);
    for (CZelPushButton *toggle : octaveToggles)
        EXPECT_FALSE(toggle->isEnabled());
}

TEST_F(ZonesEditor, FieldsShowTheZoneAndRefuseWhatTheCoreRefuses)
{
    build();
    zone(1).binding(ZoneTranspose).setValue(140);
    zone(1).binding(ZoneLowVelocity).setValue(20);
    QLineEdit *transpose = child<QLineEdit>(view.get(), QStringLiteral("ZONE_2/ZONE_TRANSPOSE"));
    QLineEdit *lowVelocity = child<QLineEdit>(view.get(), QStringLiteral("ZONE_2/ZONE_LOWVELOCITY"));
    EXPECT_EQ(transpose->text(), "+12");
    enter(lowVelocity, QStringLiteral("0"));
    EXPECT_EQ(lowVelocity->text(), "20");
    enter(transpose, QStringLiteral("-7"));
    EXPECT_EQ(zone(1).binding(ZoneTranspose).value(), 121);
    EXPECT_EQ(transpose->text(), "-7");
}

TEST_F(ZonesEditor, ANewZonesImageRefreshesTheView)
{
    build();
    ZonesImage image{};
    CBPatch::instance().initZones(image.data());
    CBPatch::instance().setField(Zone, 3, ZoneChannel, 9, image.data());
    CBPatch::instance().setField(Zone, 3, ZoneEnable, 1, image.data());
    ASSERT_TRUE(active().setZonesImage(std::vector<Byte>(image.begin(), image.end())));
    EXPECT_EQ(child<QLineEdit>(view.get(), QStringLiteral("ZONE_4/ZONE_CHANNEL"))->text(), "10");
    EXPECT_TRUE(display()->rects()->item(3).visible);
}

} // namespace
