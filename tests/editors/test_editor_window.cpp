#include "editor/app/MainView.h"
#include "editor/app/MainWindow.h"
#include "editor/app/Menus.h"
#include "editor/app/StartupOptions.h"
#include "editor/app/editors/EditHistory.h"
#include "editor/core/RemoteControlManager.h"
#include "tests/editors/EditorTestSupport.h"

#include <QMenu>
#include <QTabWidget>

using namespace Brisel;

namespace {

TEST(ScreenshotTabOption, ChoosesATabForThePicture)
{
    const struct {
        QStringList arguments;
        const char *tab;
        bool error;
    } cases[] = {
        {{"--screenshot", "a.png", "--screenshot-tab", "zones"}, "zones", false},
        {{"--screenshot-tab=patch", "--screenshot=a.png"}, "patch", false},
        {{"--screenshot", "a.png", "--screenshot-tab", "settings"}, "settings", true},
        {{"--screenshot", "a.png", "--screenshot-tab"}, "", true},
        {{"--screenshot-tab", "zones"}, "zones", true}, // there is no picture to take
        {{"--screenshot", "a.png", "file.vpp"}, "", false},
    };
    for (const auto &c : cases) {
        const StartupOptions options = StartupOptions::parse(QStringList{"ZELVorpad"} + c.arguments);
        EXPECT_EQ(options.screenshotTab, QString::fromLatin1(c.tab)) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(!options.error.isEmpty(), c.error) << c.arguments.join(' ').toStdString();
    }
}

class EditorWindow : public ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
        window = std::make_unique<MainWindow>();
        for (QAction *action : window->editMenu()->menu()->actions()) {
            if (action->text() == "Undo")
                undo = action;
            if (action->text() == "Redo")
                redo = action;
        }
        ASSERT_TRUE(undo && redo);
        window->mainView()->editHistory()->clear();
    }
    void TearDown() override { window.reset(); }

    ScalarParam &knob1Number() { return RemoteControlManager::instance().activePatch().settings().control(0)->number; }

    std::unique_ptr<MainWindow> window;
    QAction *undo = nullptr;
    QAction *redo = nullptr;

private:
    QTemporaryDir m_settingsDir;
};

TEST_F(EditorWindow, UndoAndRedoAreInTheEditMenuWithTheStandardKeys)
{
    EXPECT_EQ(undo->shortcuts(), QKeySequence::keyBindings(QKeySequence::Undo));
    EXPECT_EQ(redo->shortcuts(), QKeySequence::keyBindings(QKeySequence::Redo));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    const int before = knob1Number().value();
    knob1Number().setValue(before == 5 ? 6 : 5);
    EXPECT_TRUE(undo->isEnabled());
    undo->trigger();
    EXPECT_EQ(knob1Number().value(), before);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(redo->isEnabled());
    redo->trigger();
    EXPECT_NE(knob1Number().value(), before);
}

TEST_F(EditorWindow, AFocusedFieldKeepsTheUndoKeyForItself)
{
    window->mainView()->showEditor(true);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    knob1Number().setValue(knob1Number().value() == 5 ? 6 : 5);
    const int edited = knob1Number().value();
    auto *name = window->findChild<QLineEdit *>(QStringLiteral("CONTROLS_2/KNOBCONTROL_NAME"));
    ASSERT_NE(name, nullptr);
    name->setFocus();
    const QString shown = name->text();
    QTest::keyClicks(name, QStringLiteral("xy"));
    QTest::keySequence(name, QKeySequence(QKeySequence::Undo));
    EXPECT_EQ(name->text(), shown) << "the field took back its own typing";
    EXPECT_EQ(knob1Number().value(), edited) << "the history was not used";
    // Without a focused field the same key undoes the last edit.
    name->clearFocus();
    window->setFocus();
    QTest::keySequence(window.get(), QKeySequence(QKeySequence::Undo));
    EXPECT_NE(knob1Number().value(), edited);
}

} // namespace
