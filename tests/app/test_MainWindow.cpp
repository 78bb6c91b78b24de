#include "editor/app/AboutBox.h"
#include "editor/app/DeviceSession.h"
#include "editor/app/EditorFiles.h"
#include "editor/app/MainView.h"
#include "editor/app/MainWindow.h"
#include "editor/app/Menus.h"
#include "editor/app/MessageParent.h"
#include "editor/app/UnsavedWork.h"
#include "editor/app/deviceview/DeviceView.h"
#include "editor/app/deviceview/LoadQueue.h"
#include "editor/app/deviceview/PatchListWidget.h"
#include "editor/app/files/BankFile.h"
#include "editor/app/files/FileKinds.h"
#include "editor/app/files/FileOperations.h"
#include "editor/app/files/PatchFile.h"
#include "editor/app/files/SysExFile.h"
#include "editor/core/DeviceConnection.h"
#include "editor/core/DeviceList.h"
#include "editor/core/RemoteControlManager.h"
#include "editor/core/model/CBSysExPatch.h"
#include "editor/skin/CZelPushButton.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/support/SimulatedWorld.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
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

// The main window, shown and the parent of the message boxes (until TearDown).
struct ShownWindow : MainWindow {
    ShownWindow()
    {
        MessageParent::set(this);
        show();
    }
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
    ShownWindow window;
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
    ShownWindow window;
    editActivePatch();
    PatchListWidget *list = static_cast<DeviceView *>(window.mainView()->deviceView())->patchList();

    ModalAnswerer answerer({QMessageBox::No});
    list->setCurrentIndex(list->model()->index(3, 0));
    EXPECT_EQ(answerer.titles, QStringList{QLatin1String(UnsavedWork::PatchTitle)});
    EXPECT_EQ(manager().currentPosition(), 3);
}

// ---- Loading over a modified bank ------------------------------------------------

// What the person at the screen does with each modal window in turn.
enum class Step { Yes, No, Cancel, SaveAs, HandOverB, RevertNewest };

// Answers the modal windows with the steps, one per poll; HandOverB requests
// the load of bank B while the window stays open, as a hand-over or a drop
// arriving during the question would.
class ScriptedUser : public QObject
{
public:
    ScriptedUser(std::deque<Step> steps, QString savePath, std::function<void()> handOverB)
        : m_steps(std::move(steps)), m_savePath(std::move(savePath)), m_handOverB(std::move(handOverB))
    {
        connect(&m_timer, &QTimer::timeout, this, &ScriptedUser::act);
        m_timer.start(5);
    }

private:
    void act()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || m_steps.empty())
            return;
        const Step step = m_steps.front();
        m_steps.pop_front();
        auto *box = qobject_cast<QMessageBox *>(modal);
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (step == Step::HandOverB)
            m_handOverB();
        else if (step == Step::RevertNewest) {
            modal->findChild<QListWidget *>("revertList")->setCurrentRow(0);
            modal->findChild<QPushButton *>("revertButton")->click();
            static_cast<QDialog *>(modal)->reject();
        } else if (box && (step == Step::Yes || step == Step::No))
            box->button(step == Step::Yes ? QMessageBox::Yes : QMessageBox::No)->click();
        else if (dialog && step == Step::SaveAs) {
            dialog->selectFile(m_savePath);
            QMetaObject::invokeMethod(dialog, "accept");
        } else if (auto *other = qobject_cast<QDialog *>(modal))
            other->reject();
    }

    std::deque<Step> m_steps;
    QString m_savePath;
    std::function<void()> m_handOverB;
    QTimer m_timer;
};

struct LoadQuestionCase {
    const char *name;
    std::deque<Step> steps;
    const char *bankAfter; // the tag of the bank the editor and the controller hold
    bool savedMine;        // the save dialog's file holds the user's edit
};

class LoadOverModifiedBank : public Shell, public ::testing::WithParamInterface<LoadQuestionCase>
{
protected:
    QString writeBank(const char *tag)
    {
        CBPatch &model = CBPatch::instance();
        std::vector<std::vector<Byte>> patches, zones;
        for (int p = 0; p < StoredPatchCount; ++p) {
            patches.emplace_back(patchNamed(tag));
            zones.emplace_back(ZonesImageSize);
            model.initZones(zones.back().data());
        }
        const QString path = dir.filePath(QLatin1String(tag) + ".vpb");
        const Brisel::Bank &bank = manager().bank();
        EXPECT_TRUE(SysExFile::writeAll(path, BankFile::toBytes(bank.settings(), patches, zones)));
        return path;
    }
    static std::vector<Byte> patchNamed(const char *tag)
    {
        std::vector<Byte> image(PatchImageSize);
        CBPatch::instance().initPatch(image.data());
        std::string name = tag;
        name.resize(NameLength, ' ');
        CBPatch::instance().setString(PatchName, name.c_str(), image.data());
        return image;
    }
    static std::string nameIn(std::span<const Byte> image)
    {
        char name[NameLength + 1] = {};
        CBPatch::instance().getString(PatchName, name, image.data());
        return QString::fromLatin1(name).trimmed().toStdString();
    }

    QTemporaryDir dir;
};

TEST_P(LoadOverModifiedBank, KeepsTheUsersBankUnlessTheyLetItGo)
{
    const LoadQuestionCase &c = GetParam();
    ASSERT_TRUE(connectController());
    ShownWindow window;
    const QString a = writeBank("A"), b = writeBank("B"), saved = dir.filePath("mine.vpb");
    ASSERT_TRUE(manager().bank().patch(15).setPatchImage(patchNamed("Mine")));
    const auto open = [](const QString &path) {
        return LoadQueue::instance().request([path] { return EditorFiles::instance().openFile(path); });
    };

    ScriptedUser user(c.steps, saved, [&] { EXPECT_FALSE(open(b).has_value()); });
    open(a);
    EXPECT_EQ(LoadQueue::instance().pending(), 0);
    EXPECT_EQ(nameIn(manager().bank().patch(15).patchImage()), c.bankAfter);
    if (std::string(c.bankAfter) != "Mine") {
        EXPECT_EQ(nameIn(world.controller().patch(15 + 1)), c.bankAfter);
    }
    EXPECT_EQ(std::string(c.bankAfter) == "Mine", manager().bank().hasModifiedPatches());
    const BankFile file = BankFile::read(saved);
    EXPECT_EQ(file.valid && nameIn(file.patchImages[15]) == "Mine", c.savedMine);
}

INSTANTIATE_TEST_SUITE_P(Answers, LoadOverModifiedBank,
                         ::testing::Values(LoadQuestionCase{"NoLoadsWithoutSaving", {Step::No}, "A", false},
                                           LoadQuestionCase{"YesSavesThenLoads", {Step::Yes, Step::SaveAs}, "A", true},
                                           LoadQuestionCase{
                                               "YesWithoutASaveKeepsTheBank", {Step::Yes, Step::Cancel}, "Mine", false},
                                           // B, handed over during A's question, waits for it and
                                           // then loads over A without a question of its own.
                                           LoadQuestionCase{"AHandOverWaitsForTheQuestion",
                                                            {Step::HandOverB, Step::Yes, Step::SaveAs, Step::No},
                                                            "B",
                                                            true}),
                         [](const auto &info) { return std::string(info.param.name); });

// ---- Saying what happened ------------------------------------------------------------

// Each row does one thing the user does and reads the status bar after it.
struct StatusCase {
    const char *name;
    std::deque<Step> steps; // for the dialogs the action opens
    void (*act)(MainWindow &window);
    const char *says;
};

class StatusBar : public Shell, public ::testing::WithParamInterface<StatusCase>
{
};

TEST_P(StatusBar, SaysWhatHappened)
{
    const StatusCase &c = GetParam();
    ASSERT_TRUE(connectController());
    ShownWindow window;
    editActivePatch();
    QTemporaryDir dir;
    ScriptedUser user(c.steps, dir.filePath("saved.vpb"), [] {});
    c.act(window);
    EXPECT_TRUE(window.statusBar()->currentMessage().startsWith(QLatin1String(c.says)))
        << window.statusBar()->currentMessage().toStdString();
}

QWidget *patchTab(MainWindow &window) { return window.mainView()->patchEditorView(); }
void enterInto(QWidget *tab, const char *field, const char *text)
{
    auto *edit = tab->findChild<QLineEdit *>(QLatin1String(field));
    edit->setText(QLatin1String(text));
    QMetaObject::invokeMethod(edit, "editingFinished");
}

INSTANTIATE_TEST_SUITE_P(
    Actions, StatusBar,
    ::testing::Values(
        StatusCase{"StoreFromTheMenu", {}, [](MainWindow &w) { w.fileMenu()->store(); }, "Patch stored in slot 1"},
        StatusCase{"StoreButton",
                   {},
                   [](MainWindow &w) { patchTab(w)->findChild<CZelPushButton *>("TOP_PATCHSTORE")->click(); },
                   "Patch stored in slot 1"},
        StatusCase{"SaveBank", {Step::SaveAs}, [](MainWindow &w) { w.fileMenu()->saveBank(); }, "Saved /"},
        StatusCase{"LoadAfterSaving",
                   {Step::SaveAs, Step::SaveAs},
                   [](MainWindow &w) {
                       w.fileMenu()->saveBank();
                       w.fileMenu()->load();
                   },
                   "Loaded /"},
        StatusCase{"Revert", {Step::RevertNewest}, [](MainWindow &w) { w.fileMenu()->revert(); }, "Revert backup 20"},
        StatusCase{"SaveRevertKeepingNone",
                   {},
                   [](MainWindow &w) {
                       storeSetting("Revert/Number of Backups", 0);
                       w.fileMenu()->saveRevert();
                   },
                   "No revert backup kept"},
        StatusCase{"RefusedChannel",
                   {},
                   [](MainWindow &w) { enterInto(patchTab(w), "CONTROLS_1/KNOBCONTROL_CHANNEL", "17"); },
                   "Channel must be 1..16"},
        StatusCase{"RefusedNumber",
                   {},
                   [](MainWindow &w) { enterInto(patchTab(w), "CONTROLS_1/KNOBCONTROL_CCNUMBER", "300"); },
                   "The value must be 0..127"}),
    [](const auto &info) { return std::string(info.param.name); });

// A cut file loads with the zones left as they were; the word of it must
// outlast the "Loaded" that follows.
TEST_F(Shell, ACutFileLoadsAndTheStatusBarSaysItsZonesWereLeftUnchanged)
{
    MainWindow window;
    MessageParent::set(&window);
    QTemporaryDir dir;
    const QString path = dir.filePath("cut.vpp");
    const Brisel::ActivePatch &active = manager().activePatch();
    ASSERT_TRUE(SysExFile::writeAll(path, PatchFile::toBytes(active.patchImage(), active.zonesImage()).left(433)));
    ASSERT_TRUE(EditorFiles::open(path));
    EXPECT_EQ(window.statusBar()->currentMessage(), LoadQueue::loadedText(path) + ". " + ZonesIncompleteText);
}

TEST_F(Shell, ControlsWithoutTextExplainThemselves)
{
    MainWindow window;
    auto *device = static_cast<DeviceView *>(window.mainView()->deviceView());
    QStringList tips{device->moveUpButton()->toolTip(), device->moveDownButton()->toolTip()};
    for (const char *name : {"TOP_PATCHSTORE", "TOP_PATCHMODIFIED"})
        tips << window.mainView()->patchEditorView()->findChild<QWidget *>(QLatin1String(name))->toolTip();
    for (int zone = 1; zone <= 4; ++zone)
        tips << window.mainView()
                    ->zonesEditorView()
                    ->findChild<QWidget *>(QStringLiteral("ZONE_%1/ZONE_ENABLE").arg(zone))
                    ->toolTip();
    for (const QString &tip : tips)
        EXPECT_FALSE(tip.isEmpty());
    EXPECT_TRUE(tips.last().contains("zone 4"));
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
