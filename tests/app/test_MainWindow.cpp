#include "editor/app/AboutBox.h"
#include "editor/app/DeviceSession.h"
#include "editor/app/MainView.h"
#include "editor/app/MainWindow.h"
#include "editor/app/Menus.h"
#include "editor/app/MessageParent.h"
#include "editor/app/UnsavedWork.h"
#include "editor/app/deviceview/DeviceView.h"
#include "editor/app/deviceview/PatchListWidget.h"
#include "editor/core/DeviceConnection.h"
#include "editor/core/DeviceList.h"
#include "editor/core/RemoteControlManager.h"
#include "editor/core/model/CBSysExPatch.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/support/SimulatedWorld.h"

#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

Brisel::RemoteControlManager &manager() { return Brisel::RemoteControlManager::instance(); }

// The process's model on one simulated 49-key controller, with fresh settings.
class Shell : public ::testing::Test
{
protected:
    void SetUp() override
    {
        clearSettings();
        Brisel::DeviceList::instance().refresh();
    }
    void TearDown() override
    {
        manager().connection().close();
        MessageParent::set(nullptr);
    }

    bool connectController()
    {
        Brisel::DeviceList &devices = Brisel::DeviceList::instance();
        return devices.count() > 1 && DeviceSession::select(devices.record(1)) && manager().isConnected();
    }

    // Changes the active patch's octave, which marks it modified.
    void editActivePatch()
    {
        Brisel::ScalarParam &octave = manager().activePatch().settings().setting(Octave);
        octave.setValue(octave.value() == 2 ? 3 : 2);
        ASSERT_TRUE(manager().isActivePatchModified());
    }

    SimulatedWorld world;
};

// ---- Keeping unsaved work --------------------------------------------------

struct CloseCase {
    const char *name;
    int autoSave;
    std::deque<QMessageBox::StandardButton> answers;
    QStringList questions;
    bool stored;
};

class Closing : public Shell, public ::testing::WithParamInterface<CloseCase>
{
};

TEST_P(Closing, AsksAndAlwaysCloses)
{
    ASSERT_TRUE(connectController());
    storeSetting("Preferences/Auto Save", GetParam().autoSave);
    MainWindow window;
    MessageParent::set(&window);
    window.show();
    editActivePatch();
    const PatchImage storedBefore = world.controller().patch(manager().currentPosition() + 1);

    ModalAnswerer answerer(GetParam().answers);
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(answerer.texts, GetParam().questions);
    EXPECT_EQ(world.controller().patch(manager().currentPosition() + 1) != storedBefore, GetParam().stored);
    // A Yes to the bank question opens the bank's save dialog (cancelled here).
    EXPECT_EQ(answerer.otherDialogs, GetParam().answers.size() == 2 && GetParam().answers[1] == QMessageBox::Yes);
}

const QString PatchQ = QLatin1String(UnsavedWork::PatchText);
const QString BankQ = QLatin1String(UnsavedWork::BankText);

INSTANTIATE_TEST_SUITE_P(
    AutoSave, Closing,
    ::testing::Values(
        CloseCase{"AutoStoresThenAsksForTheBank", 1, {QMessageBox::No}, {BankQ}, true},
        CloseCase{"AskedNoKeepsTheDevicesPatch", 0, {QMessageBox::No}, {PatchQ}, false},
        CloseCase{"AskedYesStoresThenAsksForTheBank", 0, {QMessageBox::Yes, QMessageBox::Yes}, {PatchQ, BankQ}, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Shell, SwitchingPatchesAsksThePatchQuestionWhenNotAutoSaving)
{
    ASSERT_TRUE(connectController());
    storeSetting("Preferences/Auto Save", 0);
    MainWindow window;
    MessageParent::set(&window);
    window.show();
    editActivePatch();
    PatchListWidget *list = static_cast<DeviceView *>(window.mainView()->deviceView())->patchList();

    ModalAnswerer answerer({QMessageBox::No});
    list->setCurrentIndex(list->model()->index(3, 0));
    EXPECT_EQ(answerer.titles, QStringList{QLatin1String(UnsavedWork::PatchTitle)});
    EXPECT_EQ(manager().currentPosition(), 3);
}

// ---- The editor tabs ----------------------------------------------------------

TEST_F(Shell, EditorToggleResizesTheWindowAndSurvivesARestart)
{
    QSize withEditor, without;
    {
        MainWindow window;
        window.show();
        withEditor = window.size();
        QAction *editor = window.viewMenu()->editorAction();
        EXPECT_TRUE(editor->isChecked());
        editor->trigger();
        without = window.size();
        EXPECT_EQ(without, window.sizeHint());
        EXPECT_LT(without.width(), withEditor.width() - 500);
        EXPECT_FALSE(window.mainView()->tabWidget()->isVisible());
        EXPECT_EQ(QSettings().value("Settings/Show Patch Editor").toBool(), false);
    }
    MainWindow restarted;
    restarted.show();
    EXPECT_FALSE(restarted.viewMenu()->editorAction()->isChecked());
    EXPECT_FALSE(restarted.mainView()->isEditorShown());
    EXPECT_EQ(restarted.size(), without);
    restarted.viewMenu()->editorAction()->trigger();
    EXPECT_EQ(restarted.size(), withEditor);
    EXPECT_TRUE(restarted.mainView()->patchEditorView()->isVisible());
}

TEST_F(Shell, MenusCarryTheirShortcutsApplicationWide)
{
    MainWindow window;
    QStringList found;
    for (QAction *menu : window.menuBar()->actions()) {
        for (QAction *item : menu->menu()->actions()) {
            if (!item->shortcut().isEmpty())
                found << item->text() + QLatin1Char('=') + item->shortcut().toString() +
                             (item->shortcutContext() == Qt::ApplicationShortcut ? "/app" : "");
        }
    }
    // Undo and redo take the platform's own keys.
    const QString undo = QKeySequence::keyBindings(QKeySequence::Undo).value(0).toString();
    const QString redo = QKeySequence::keyBindings(QKeySequence::Redo).value(0).toString();
    EXPECT_EQ(found, (QStringList{"Load From File=Ctrl+O", "Undo=" + undo, "Redo=" + redo, "Refresh=F5/app",
                                  "Editor=Ctrl+E/app"}));
}

// ---- Device outcomes on the status bar and in the about box -------------------

TEST_F(Shell, AControllerThatStopsAnsweringIsReportedWithItsCount)
{
    ASSERT_TRUE(connectController());
    EXPECT_TRUE(DeviceSession::lastStatus().startsWith("Connected to")) << DeviceSession::lastStatus().toStdString();
    // Every answer comes back as a patch transfer: only the patch requests count.
    world.setFaults([](Sim::Faults &f) { f.replyCommand = CBSysExPatch::PatchTransfer; });
    EXPECT_FALSE(DeviceSession::download());
    EXPECT_TRUE(DeviceSession::lastStatus().contains("answered 17 of the 35 requests"))
        << DeviceSession::lastStatus().toStdString();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(Shell, RestorePitchWheelPutsThePitchWheelBackInPitchMode)
{
    ASSERT_TRUE(connectController());
    Brisel::ScalarParam &mode = manager().activePatch().settings().control(PitchWheelControl)->mode;
    mode.setValue(ModeCC);
    MainWindow window;
    window.editMenu()->restorePitchWheel();
    EXPECT_EQ(mode.value(), ModePitchWheel);
}

TEST_F(Shell, AboutBoxShowsDashesWithoutADevice)
{
    Win32::AboutBox box;
    const QStringList values = box.identification();
    ASSERT_EQ(values.size(), 6);
    EXPECT_EQ(values[0], QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    EXPECT_TRUE(QRegularExpression("^\\d+\\.\\d+\\.\\d+\\.\\d+$").match(values[1]).hasMatch());
    EXPECT_EQ(values.mid(2), QStringList(4, QStringLiteral("-")));
    EXPECT_EQ(box.findChild<QLabel *>("deviceID")->text(), QStringLiteral("-"));
}

TEST_F(Shell, AboutBoxShowsTheConnectedControllersFirmwareAndId)
{
    ASSERT_TRUE(connectController());
    const Brisel::DeviceRecord device = manager().currentDevice();
    Win32::AboutBox box;
    EXPECT_EQ(box.identification()[4], QString::fromStdString(device.firmware));
    EXPECT_EQ(box.identification()[5], QString::number(device.deviceId));
    EXPECT_EQ(box.findChild<QLabel *>("firmwareVersion")->text(), QString::fromStdString(device.firmware));
    EXPECT_FALSE(device.firmware.empty());
}

} // namespace
