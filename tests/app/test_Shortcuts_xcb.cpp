// The application-wide keys of the View menu while a text field has the
// focus, on X11, where a line edit takes Ctrl+E for the end of its line.
#include "editor/app/MainView.h"
#include "editor/app/MainWindow.h"
#include "editor/app/Menus.h"
#include "editor/app/deviceview/DeviceView.h"
#include "editor/app/deviceview/DropBankWidgets.h"

#include <QAction>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(ShortcutsOnX11, CtrlETogglesTheEditorFromAFocusedTextField)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QLineEdit *field = static_cast<DeviceView *>(window.mainView()->deviceView())->bankNameField();
    field->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([field] { return field->hasFocus(); }));
    QAction *editor = window.viewMenu()->editorAction();
    const bool shown = editor->isChecked();

    QTest::keyClick(field, Qt::Key_E, Qt::ControlModifier);
    EXPECT_NE(editor->isChecked(), shown);
}

} // namespace
