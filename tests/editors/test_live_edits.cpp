#include "editor/app/editors/EditHistory.h"
#include "editor/app/editors/EditorWidgets.h"
#include "editor/app/editors/PatchEditorView.h"
#include "editor/app/editors/ZonesDisplay.h"
#include "editor/app/editors/ZonesEditorView.h"
#include "editor/skin/CZelPushButton.h"
#include "tests/editors/EditorTestSupport.h"

#include <QMouseEvent>

using namespace Brisel;

namespace {

void mouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    Qt::MouseButton button = Qt::LeftButton;
    if (type == QEvent::MouseMove)
        button = Qt::NoButton;
    else if (type == QEvent::MouseButtonPress)
        button = Qt::MouseButton(held.toInt());
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Presses at the first point, drags through the others and lets go at the last.
void drag(QWidget *widget, std::initializer_list<QPoint> points)
{
    const QPoint first = *points.begin();
    const QPoint last = *(points.end() - 1);
    mouse(widget, QEvent::MouseButtonPress, first, Qt::LeftButton);
    for (const QPoint &point : points)
        mouse(widget, QEvent::MouseMove, point, Qt::LeftButton);
    mouse(widget, QEvent::MouseButtonRelease, last, Qt::NoButton);
}

int storedField(const PatchImage &image, int index, int field)
{
    int value = -1;
    CBPatch::instance().getField(Control, index, field, &value, image.data());
    return value;
}

class LiveEdits : public EditorFixture
{
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        connect(49);
        view = std::make_unique<PatchEditorView>(*manager);
        history = std::make_unique<EditHistory>(*manager);
        history->watch(view.get());
        // Knob 3 in CC mode: a plain 0..127 knob.
        if (control(2).mode.value() != ModeCC) {
            control(2).mode.setValue(ModeCC);
            history->clear();
        }
        control(2).value.setValue(10);
        history->clear();
        settle();
    }
    void TearDown() override
    {
        history.reset();
        view.reset();
        EditorFixture::TearDown();
    }

    // Waits for the controller's answers and forgets the traffic so far.
    void settle()
    {
        endpoint->waitUntilDelivered(std::chrono::seconds(5));
        endpoint->forget();
    }

    int patchTransfers()
    {
        int count = 0;
        for (const auto &[command, number, length] : transfers()) {
            EXPECT_EQ(command, CBSysExPatch::PatchTransfer);
            EXPECT_EQ(number, 0);
            EXPECT_EQ(length, 361u);
            ++count;
        }
        return count;
    }

    int controllerKnob3() { return storedField(controller->patch(0), 2, ControlValue); }

    Knob *knob3() { return child<Knob>(view.get(), QStringLiteral("CONTROLS_3/KNOBCONTROL_KNOB")); }

    std::unique_ptr<PatchEditorView> view;
    std::unique_ptr<EditHistory> history;
};

TEST_F(LiveEdits, ATurnedKnobIsOneTransferAtRelease)
{
    Knob *knob = knob3();
    const QPoint centre = knob->rect().center();
    mouse(knob, QEvent::MouseButtonPress, QPoint(centre.x(), 1), Qt::LeftButton);
    mouse(knob, QEvent::MouseMove, QPoint(knob->width() - 1, centre.y()), Qt::LeftButton);
    mouse(knob, QEvent::MouseMove, QPoint(knob->width() - 1, knob->height() - 2), Qt::LeftButton);
    EXPECT_TRUE(endpoint->sent().empty()) << "nothing goes out while the knob is held";
    EXPECT_FALSE(manager->isLive());
    mouse(knob, QEvent::MouseButtonRelease, QPoint(knob->width() - 1, knob->height() - 2), Qt::NoButton);
    EXPECT_TRUE(manager->isLive());

    const int value = knob->value();
    EXPECT_GT(value, 64);
    EXPECT_EQ(control(2).value.value(), value);
    EXPECT_EQ(patchTransfers(), 1);
    endpoint->waitUntilDelivered(std::chrono::seconds(5));
    const std::vector<std::vector<Byte>> answers = endpoint->received();
    ASSERT_EQ(answers.size(), 1u);
    const SysExContext answer = parsed(answers[0]);
    EXPECT_EQ(answer.command, CBSysExPatch::Acknowledgement);
    EXPECT_EQ(answer.status, 0);
    EXPECT_EQ(controllerKnob3(), value);
    EXPECT_EQ(child<QLineEdit>(view.get(), QStringLiteral("CONTROLS_3/KNOBCONTROL_VALUE"))->text(),
              QString::number(value));
}

TEST_F(LiveEdits, UndoAndRedoSendWhatTheyRestore)
{
    drag(knob3(), {QPoint(knob3()->width() / 2, 1), QPoint(knob3()->width() - 1, knob3()->height() / 2)});
    const int turned = control(2).value.value();
    ASSERT_NE(turned, 10);
    enter(child<QLineEdit>(view.get(), QStringLiteral("CONTROLS_5/KNOBCONTROL_CCNUMBER")), QStringLiteral("99"));
    EXPECT_EQ(history->undoCount(), 2);
    settle();

    history->undo();
    EXPECT_EQ(patchTransfers(), 1);
    settle();
    EXPECT_NE(storedField(controller->patch(0), 4, ControlNumber), 99);
    EXPECT_EQ(controllerKnob3(), turned);

    history->undo();
    EXPECT_EQ(patchTransfers(), 1);
    settle();
    EXPECT_EQ(controllerKnob3(), 10);
    EXPECT_EQ(knob3()->value(), 10);
    EXPECT_FALSE(history->canUndo());
    EXPECT_TRUE(manager->isActivePatchModified());

    history->redo();
    history->redo();
    EXPECT_EQ(patchTransfers(), 2);
    settle();
    EXPECT_EQ(controllerKnob3(), turned);
    EXPECT_EQ(storedField(controller->patch(0), 4, ControlNumber), 99);
    EXPECT_FALSE(history->canRedo());
}

TEST_F(LiveEdits, OneStepPerGestureAndNoneThatEndsWhereItBegan)
{
    // A knob dragged back and forth is one step.
    drag(knob3(), {QPoint(1, knob3()->height() - 2), QPoint(knob3()->width() / 2, 1), QPoint(knob3()->width() - 1, 5)});
    EXPECT_EQ(history->undoCount(), 1);
    // The pitch wheel springs back to its centre: no step.
    control(PitchWheelControl).mode.setValue(ModePitchWheel);
    control(PitchWheelControl).value14.setValue(8192);
    history->clear();
    auto *wheel = child<Wheel>(view.get(), QStringLiteral("CONTROLS_PITCHWHEEL/WHEELCONTROL_WHEEL"));
    drag(wheel, {QPoint(wheel->width() / 2, wheel->height() / 2), QPoint(wheel->width() / 2, 2)});
    EXPECT_EQ(control(PitchWheelControl).value14.value(), 8192);
    EXPECT_FALSE(history->canUndo());
    // A refused entry is no step; a button is one.
    enter(child<QLineEdit>(view.get(), QStringLiteral("CONTROLS_1/KNOBCONTROL_CCNUMBER")), QStringLiteral("x"));
    active().zones().zone(0).binding(ZoneLowVelocity).setValue(0);
    EXPECT_FALSE(history->canUndo());
    QTest::mouseClick(child<CZelPushButton>(view.get(), QStringLiteral("VELOCITYCURVES_4")), Qt::LeftButton);
    EXPECT_EQ(history->undoCount(), 1);
}

TEST_F(LiveEdits, AWholePatchChangeForgetsTheHistory)
{
    control(0).number.setValue(42);
    control(1).number.setValue(43);
    EXPECT_EQ(history->undoCount(), 2);
    history->undo();
    EXPECT_TRUE(history->canRedo());
    manager->selectPatch(4);
    EXPECT_FALSE(history->canUndo());
    EXPECT_FALSE(history->canRedo());
    control(0).number.setValue(44);
    EXPECT_EQ(history->undoCount(), 1);
    manager->refreshActivePatch();
    EXPECT_FALSE(history->canUndo());
}

TEST_F(LiveEdits, ZoneEditsAreUndoneWithAZonesTransfer)
{
    ZonesEditorView zones(*manager);
    history->watch(&zones);
    active().zones().zone(1).binding(ZoneChannel).setValue(6);
    settle();
    history->undo();
    const auto sent = transfers();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(std::get<0>(sent[0]), CBSysExPatch::ZonesTransfer);
    EXPECT_EQ(std::get<2>(sent[0]), 73u);
    settle();
    int channel = -1;
    const ZonesImage image = controller->zones(0);
    CBPatch::instance().getField(Zone, 1, ZoneChannel, &channel, image.data());
    EXPECT_NE(channel, 6);
    EXPECT_EQ(child<QLineEdit>(&zones, QStringLiteral("ZONE_2/ZONE_CHANNEL"))->text(), QString::number(channel + 1));
}

} // namespace

namespace {

TEST_F(LiveEdits, TheHistoryKeepsItsNewestSteps)
{
    Brisel::ScalarParam &number = control(6).number;
    for (int i = 0; i <= EditHistory::MaxSteps + 2; ++i)
        number.setValue(i % 100);
    EXPECT_EQ(history->undoCount(), EditHistory::MaxSteps);
    history->undo();
    EXPECT_EQ(number.value(), (EditHistory::MaxSteps + 1) % 100);
}

} // namespace

namespace {

TEST_F(LiveEdits, WheelsSendOnceAtReleaseAndThePitchWheelSpringsBack)
{
    control(PitchWheelControl).mode.setValue(ModePitchWheel);
    settle();
    auto *pitch = child<Wheel>(view.get(), QStringLiteral("CONTROLS_PITCHWHEEL/WHEELCONTROL_WHEEL"));
    drag(pitch, {QPoint(pitch->width() / 2, pitch->height() / 2), QPoint(pitch->width() / 2, 2)});
    EXPECT_EQ(patchTransfers(), 1);
    EXPECT_EQ(control(PitchWheelControl).value14.value(), 8192);
    EXPECT_EQ(pitch->value(), 64);
    settle();
    EXPECT_EQ(storedField(controller->patch(0), PitchWheelControl, ControlValue14), 8192);

    auto *mod = child<Wheel>(view.get(), QStringLiteral("CONTROLS_MODWHEEL/WHEELCONTROL_WHEEL"));
    drag(mod, {QPoint(mod->width() / 2, mod->height() - 3), QPoint(mod->width() / 2, 3)});
    const int top = mod->value();
    EXPECT_GT(top, 100);
    EXPECT_EQ(patchTransfers(), 1);
    settle();
    EXPECT_EQ(storedField(controller->patch(0), ModWheelControl, ControlValue), top);
}

TEST_F(LiveEdits, AKnobHiddenWhileHeldGivesLiveUpdatesBack)
{
    view->show();
    Knob *knob = knob3();
    mouse(knob, QEvent::MouseButtonPress, QPoint(knob->width() - 1, knob->height() / 2), Qt::LeftButton);
    EXPECT_FALSE(manager->isLive());
    view->hide();
    EXPECT_TRUE(manager->isLive());
    EXPECT_EQ(patchTransfers(), 1) << "what changed while held is sent";
}

} // namespace

namespace {

TEST_F(LiveEdits, APressTheKnobDoesNotTakeLeavesUpdatesLive)
{
    mouse(knob3(), QEvent::MouseButtonPress, QPoint(3, 3), Qt::RightButton);
    EXPECT_TRUE(manager->isLive());
    control(2).mode.setValue(ModePitchWheel); // a knob without a range ignores presses
    mouse(knob3(), QEvent::MouseButtonPress, QPoint(3, 3), Qt::LeftButton);
    EXPECT_TRUE(manager->isLive());
}

// Undo and redo tell every view of what they replace, as an edit of the
// same setting does: each row changes one setting and reads what a view shows.
struct UndoViewCase {
    const char *name;
    void (*edit)(ActivePatch &active);
    const char *tab; // "patch" or "zones"
    QString (*shown)(QWidget *tab);
};

class UndoInViews : public LiveEdits, public ::testing::WithParamInterface<UndoViewCase>
{
};

TEST_P(UndoInViews, ShowWhatTheyRestore)
{
    const UndoViewCase &c = GetParam();
    ZonesEditorView zones(*manager);
    QWidget *tab = QLatin1String(c.tab) == QLatin1String("zones") ? static_cast<QWidget *>(&zones) : view.get();
    const QString before = c.shown(tab);
    c.edit(active());
    const QString edited = c.shown(tab);
    ASSERT_NE(edited, before);
    history->undo();
    EXPECT_EQ(c.shown(tab), before);
    history->redo();
    EXPECT_EQ(c.shown(tab), edited);
}

QString patchName(QWidget *tab) { return tab->findChild<QLineEdit *>(QStringLiteral("TOP_PATCHNAME"))->text(); }
QString keyRange(QWidget *tab)
{
    const auto *keys = tab->findChild<KeyboardDisplay *>();
    return QStringLiteral("%1..%2").arg(keys->start()).arg(keys->end());
}
void rename(ActivePatch &active) { active.name().setValue("Renamed"); }
void moveOctave(ActivePatch &active)
{
    ScalarParam &octave = active.settings().setting(Octave);
    octave.setValue(octave.value() == 5 ? 3 : 5);
}

INSTANTIATE_TEST_SUITE_P(Views, UndoInViews,
                         ::testing::Values(UndoViewCase{"OctaveOnTheZonesKeyScale", moveOctave, "zones", keyRange},
                                           UndoViewCase{"NameOnTheZonesTab", rename, "zones", patchName}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
