#include "editor/app/editors/EditorWidgets.h"
#include "editor/app/editors/PatchEditorView.h"
#include "editor/app/editors/WidgetHandler.h"
#include "editor/skin/CZelPushButton.h"
#include "tests/editors/EditorTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>

using namespace Brisel;

namespace {

class PatchEditor : public EditorFixture
{
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        view = std::make_unique<PatchEditorView>(*manager);
    }
    void TearDown() override
    {
        view.reset();
        EditorFixture::TearDown();
    }

    QLineEdit *field(const QString &name) { return child<QLineEdit>(view.get(), name); }
    CZelPushButton *button(const QString &name) { return child<CZelPushButton>(view.get(), name); }

    std::unique_ptr<PatchEditorView> view;
};

TEST_F(PatchEditor, IsAFixedPanelOfItsBackground)
{
    EXPECT_EQ(view->sizeHint(), QSize(658, 497));
    EXPECT_EQ(view->minimumSizeHint(), view->sizeHint());
    EXPECT_EQ(view->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    EXPECT_EQ(view->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
}

TEST_F(PatchEditor, WidgetsSitAtTheirLayoutKeysUnderTheirNames)
{
    // CONTROLS_1 (7, 33) + KNOBCONTROL_CHANNEL; the rest follow the same rule.
    QWidget *channel = child(view.get(), QStringLiteral("CONTROLS_1/KNOBCONTROL_CHANNEL"));
    QWidget *channel9 = child(view.get(), QStringLiteral("CONTROLS_9/KNOBCONTROL_CHANNEL"));
    ASSERT_TRUE(channel && channel9);
    EXPECT_EQ(channel9->pos() - channel->pos(), QPoint(0, channel9->pos().y() - channel->pos().y()));
    EXPECT_EQ(child(view.get(), QStringLiteral("TOP_PATCHNUMBER"))->pos(), QPoint(77, 12));
    for (const char *name :
         {"TOP_PATCHNAME", "CONTROLS_16/KNOBCONTROL_MODEBUTTON", "CONTROLS_PITCHWHEEL/WHEELCONTROL_WHEEL",
          "CONTROLS_FOOTSWITCH/KNOBCONTROL_KNOB", "SETTINGS_OCTAVE/SPINCONTROL_INCREMENT", "VELOCITYCURVES_8",
          "PROGRAMCHANGE_16/PROGRAMCHANGE_PROG"})
        child(view.get(), QString::fromLatin1(name));
    EXPECT_EQ(view->findChild<QWidget *>(QStringLiteral("CONTROLS_FOOTSWITCH/KNOBCONTROL_MODE")), nullptr);
}

TEST_F(PatchEditor, RejectedEntriesShowTheCoresValueAgain)
{
    active().settings().setting(AdvancedMode).setValue(1);
    active().settings().noteLatchHigh().setValue(60);
    active().settings().noteLatchLow().setValue(40);
    control(0).channel.setValue(3);
    const struct {
        const char *field;
        const char *typed;
        const char *shown;
    } cases[] = {
        {"SETTINGS_NOTELATCHLOWNOTE", "70", "40"},       // above the high note: refused by the core
        {"SETTINGS_NOTELATCHHIGHNOTE", "39", "60"},      // below the low note
        {"SETTINGS_NOTELATCHHIGHNOTE", "40", "40"},      // equal is fine
        {"CONTROLS_1/KNOBCONTROL_CHANNEL", "17", "4"},   // not a channel
        {"CONTROLS_1/KNOBCONTROL_CHANNEL", "x", "4"},    // not a number
        {"CONTROLS_1/KNOBCONTROL_CCNUMBER", "128", "1"}, // out of range
        {"SETTINGS_OCTAVE/SPINCONTROL_VALUE", "+5", "0"}, {"SETTINGS_OCTAVE/SPINCONTROL_VALUE", "-4", "-4"},
    };
    control(0).number.setValue(1);
    for (const auto &c : cases) {
        QLineEdit *edit = field(QString::fromLatin1(c.field));
        ASSERT_NE(edit, nullptr);
        enter(edit, QString::fromLatin1(c.typed));
        EXPECT_EQ(edit->text(), c.shown) << c.field << " " << c.typed;
        EXPECT_FALSE(edit->hasFocus());
    }
    EXPECT_EQ(active().settings().setting(Octave).value(), 0);
}

TEST_F(PatchEditor, NameFieldsTakeOnlyWhatTheModelStores)
{
    QLineEdit *name = field(QStringLiteral("TOP_PATCHNAME"));
    enter(name, QStringLiteral("Pad*s:1 <A|B>?"));
    EXPECT_EQ(name->text(), "Pads1 AB");
    EXPECT_EQ(active().name().value(), "Pads1 AB");
    enter(name, QStringLiteral("Ab\u00e9c \u20acz"));
    EXPECT_EQ(active().name().value(), "Abc z");
    enter(name, QStringLiteral("0123456789ABCDEFGH"));
    EXPECT_EQ(active().name().value(), "0123456789ABCDEF");

    QLineEdit *knobName = field(QStringLiteral("CONTROLS_3/KNOBCONTROL_NAME"));
    enter(knobName, QStringLiteral("C*t/\u00f6ff:12"));
    EXPECT_EQ(control(2).name.value(), "C*t/ff:1");
}

TEST_F(PatchEditor, TheClickThatFocusesThePatchNameSelectsIt)
{
    active().name().setValue("Warm Pad");
    view->show();
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    QLineEdit *name = field(QStringLiteral("TOP_PATCHNAME"));
    QTest::mouseClick(name, Qt::LeftButton, Qt::NoModifier, QPoint(4, name->height() / 2));
    EXPECT_EQ(name->selectedText(), "Warm Pad");
    // Once focused, a click places the cursor.
    QTest::mouseClick(name, Qt::LeftButton, Qt::NoModifier, QPoint(4, name->height() / 2));
    EXPECT_FALSE(name->hasSelectedText());
}

TEST_F(PatchEditor, KnobRangeFollowsTheModeWithoutEmittingAValue)
{
    auto *knob = child<Knob>(view.get(), QStringLiteral("CONTROLS_2/KNOBCONTROL_KNOB"));
    control(1).value14.setValue(9000);
    control(1).mode.setValue(Mode3DMidi);
    EXPECT_EQ(knob->maximum(), 16383);
    EXPECT_EQ(knob->value(), 9000);
    QSignalSpy values(knob, &CZelRangeControl::valueChanged);
    const int before = control(1).value.value();
    control(1).mode.setValue(ModeCC);
    EXPECT_EQ(knob->maximum(), 127);
    EXPECT_EQ(knob->value(), before);
    EXPECT_EQ(values.count(), 0);
    control(1).mode.setValue(ModePitchWheel);
    EXPECT_EQ(knob->maximum(), 0);
}

TEST_F(PatchEditor, ModeImageAndThreeDMenuFollowTheMode)
{
    auto *cc = child<CCLineEdit>(view.get(), QStringLiteral("CONTROLS_4/KNOBCONTROL_CCNUMBER"));
    control(3).mode.setValue(ModeCC);
    EXPECT_FALSE(cc->has3DMenu());
    control(3).mode.setValue(Mode3DMidi);
    EXPECT_TRUE(cc->has3DMenu());

    // Right-click in 3D mode, choose "2.Gain".
    QStringList items;
    QTimer::singleShot(0, [&items] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction *action : menu->actions())
            items.append(action->text());
        menu->actions().at(2)->trigger();
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), cc->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(cc, &event);
    EXPECT_EQ(items.size(), 9);
    EXPECT_EQ(items.value(0), "0.Azimuth Angle");
    EXPECT_EQ(control(3).number.value(), 2);
    EXPECT_EQ(cc->text(), "2");
}

TEST_F(PatchEditor, ProgramChangeEnablingRule)
{
    CZelPushButton *master = button(QStringLiteral("PROGRAMCHANGE_MASTERENABLE"));
    active().settings().program(2).enable.setValue(1);
    const auto check = [&](bool masterOn) {
        for (int i = 1; i <= 16; ++i) {
            const QString group = QStringLiteral("PROGRAMCHANGE_%1/").arg(i);
            const bool entryOn = active().settings().program(i - 1).enable.value() != 0;
            EXPECT_EQ(button(group + "PROGRAMCHANGE_ENABLE")->isEnabled(), masterOn) << i;
            for (const char *f : {"PROGRAMCHANGE_MSB", "PROGRAMCHANGE_LSB", "PROGRAMCHANGE_PROG"})
                EXPECT_EQ(field(group + f)->isEnabled(), masterOn && entryOn) << i << f;
        }
    };
    active().settings().setting(ProgramChangeMasterEnable).setValue(0);
    EXPECT_FALSE(master->isChecked());
    check(false);
    QTest::mouseClick(master, Qt::LeftButton);
    EXPECT_EQ(active().settings().setting(ProgramChangeMasterEnable).value(), 1);
    check(true);
    QTest::mouseClick(button(QStringLiteral("PROGRAMCHANGE_3/PROGRAMCHANGE_ENABLE")), Qt::LeftButton);
    EXPECT_EQ(active().settings().program(2).enable.value(), 0);
    check(true);
}

TEST_F(PatchEditor, AdvancedModeEnablesTheChannelFieldsButTheFootswitchs)
{
    const auto channels = [&] {
        QList<QLineEdit *> list;
        for (int i = 1; i <= 16; ++i)
            list.append(field(QStringLiteral("CONTROLS_%1/KNOBCONTROL_CHANNEL").arg(i)));
        list.append(field(QStringLiteral("CONTROLS_PITCHWHEEL/WHEELCONTROL_CHANNEL")));
        list.append(field(QStringLiteral("CONTROLS_MODWHEEL/WHEELCONTROL_CHANNEL")));
        return list;
    }();
    ASSERT_EQ(channels.size(), 18);
    QLineEdit *footswitch = field(QStringLiteral("CONTROLS_FOOTSWITCH/KNOBCONTROL_CHANNEL"));
    for (int on : {1, 0, 1}) {
        active().settings().setting(AdvancedMode).setValue(on);
        for (QLineEdit *channel : channels)
            EXPECT_EQ(channel->isEnabled(), on == 1) << channel->objectName().toStdString();
        EXPECT_TRUE(footswitch->isEnabled());
    }
}

TEST_F(PatchEditor, SpinControlStepsTheStoredValue)
{
    ScalarParam &octave = active().settings().setting(Octave);
    octave.setValue(4);
    QLineEdit *value = field(QStringLiteral("SETTINGS_OCTAVE/SPINCONTROL_VALUE"));
    EXPECT_EQ(value->text(), "0");
    QTest::mouseClick(button(QStringLiteral("SETTINGS_OCTAVE/SPINCONTROL_INCREMENT")), Qt::LeftButton);
    EXPECT_EQ(octave.value(), 5);
    EXPECT_EQ(value->text(), "+1");
    octave.setValue(0);
    QTest::mouseClick(button(QStringLiteral("SETTINGS_OCTAVE/SPINCONTROL_DECREMENT")), Qt::LeftButton);
    EXPECT_EQ(octave.value(), 0) << "the core keeps the minimum";
    EXPECT_EQ(value->text(), "-4");
}

TEST_F(PatchEditor, VelocityCurveButtonsAreOneChoice)
{
    active().settings().setting(VelocityCurve).setValue(2);
    EXPECT_TRUE(button(QStringLiteral("VELOCITYCURVES_3"))->isChecked());
    QTest::mouseClick(button(QStringLiteral("VELOCITYCURVES_6")), Qt::LeftButton);
    EXPECT_EQ(active().settings().setting(VelocityCurve).value(), 5);
    int checked = 0;
    for (int i = 1; i <= 8; ++i)
        checked += button(QStringLiteral("VELOCITYCURVES_%1").arg(i))->isChecked() ? 1 : 0;
    EXPECT_EQ(checked, 1);
}

TEST_F(PatchEditor, StoreButtonFollowsTheModifiedStatus)
{
    CZelPushButton *store = button(QStringLiteral("TOP_PATCHSTORE"));
    CZelPushButton *led = button(QStringLiteral("TOP_PATCHMODIFIED"));
    EXPECT_FALSE(store->isEnabled());
    EXPECT_FALSE(led->isChecked());
    manager->bank().currentPatch().setValue(3);
    control(0).number.setValue(99);
    EXPECT_TRUE(store->isEnabled());
    EXPECT_TRUE(led->isChecked());
    QTest::mouseClick(store, Qt::LeftButton);
    EXPECT_FALSE(store->isEnabled());
    EXPECT_FALSE(led->isChecked());
    const PatchImage &stored = manager->bank().patch(2).patchImage();
    EXPECT_EQ(std::vector<Byte>(stored.begin(), stored.end()), active().patchImage());
}

TEST_F(PatchEditor, SelectingAPatchRefreshesEveryField)
{
    control(5).number.setValue(77);
    manager->storeActivePatch();
    PatchImage other{};
    CBPatch::instance().initPatch(other.data());
    CBPatch::instance().setField(Control, 5, ControlNumber, 12, other.data());
    CBPatch::instance().setScalar(Octave, 7, other.data());
    ASSERT_TRUE(manager->bank().patch(9).setPatchImage(std::vector<Byte>(other.begin(), other.end())));
    ASSERT_TRUE(manager->selectPatch(9));
    EXPECT_EQ(field(QStringLiteral("CONTROLS_6/KNOBCONTROL_CCNUMBER"))->text(), "12");
    EXPECT_EQ(field(QStringLiteral("SETTINGS_OCTAVE/SPINCONTROL_VALUE"))->text(), "+3");
    EXPECT_EQ(child<QLabel>(view.get(), QStringLiteral("TOP_PATCHNUMBER"))->text(), "10");
}

TEST_F(PatchEditor, DeletingTheViewLeavesNoObserverBehind)
{
    Utils::Subject &subject = control(0).number.subject();
    const std::size_t withView = subject.observerCount();
    view.reset();
    EXPECT_LT(subject.observerCount(), withView);
    control(0).number.setValue(5); // must not reach a dead handler
}

} // namespace
