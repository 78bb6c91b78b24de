#include "editor/app/Menus.h"

#include "editor/app/AboutBox.h"
#include "editor/app/AppSettings.h"
#include "editor/app/ApplicationShortcuts.h"
#include "editor/app/DeviceSelectDialog.h"
#include "editor/app/DeviceSession.h"
#include "editor/app/EditorDialogs.h"
#include "editor/app/EditorLibrary.h"
#include "editor/app/FileDialogs.h"
#include "editor/app/MainView.h"
#include "editor/app/MainWindow.h"
#include "editor/app/UnsavedWork.h"
#include "editor/app/editors/EditHistory.h"
#include "editor/app/editors/Handlers.h"
#include "editor/core/DeviceList.h"
#include "editor/core/RemoteControlManager.h"
#include "editor/core/model/PatchTypes.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

namespace {
Brisel::RemoteControlManager &manager() { return Brisel::RemoteControlManager::instance(); }
} // namespace

FileMenu::FileMenu(QWidget *window, MainView *view) : MenuBase(tr("&File"), window), m_window(window), m_view(view)
{
    addCommand(tr("Load From File"), &FileMenu::load, tr("Load a bank or patch from a file"), QStringLiteral("Ctrl+O"));
    addCommand(tr("Save Patch"), &FileMenu::savePatch, tr("Save a patch to a file"));
    addCommand(tr("Save Bank"), &FileMenu::saveBank, tr("Save a bank to a file"));
    addCommand(tr("Save Revert"), &FileMenu::saveRevert, tr("Save a revert immediately"));
    menu()->addSeparator();
    addCommand(tr("Store"), &FileMenu::store);
    addCommand(tr("Revert"), &FileMenu::revert);
    menu()->addSeparator();
    addCommand(tr("Preferences"), &FileMenu::preferences);
    addCommand(tr("Exit"), &FileMenu::exit);
}

void FileMenu::load() { FileDialogs::load(m_window); }
void FileMenu::loadPatch() { FileDialogs::loadPatch(m_window); }
void FileMenu::loadBank() { FileDialogs::loadBank(m_window); }
void FileMenu::savePatch() { FileDialogs::savePatch(m_window); }
void FileMenu::saveBank() { FileDialogs::saveBank(m_window); }
void FileMenu::saveRevert() { EditorDialogs::saveRevert(); }
void FileMenu::store()
{
    manager().storeActivePatch();
    EditorLibrary::instance().patchStored(manager().currentPosition());
    DeviceSession::showStatus(StoreButtonHandler::storedText(manager()));
}
void FileMenu::revert() { EditorDialogs::revert(m_window); }
void FileMenu::preferences() { EditorDialogs::preferences(m_window); }
// The main window's close handling asks its questions.
void FileMenu::exit() { QApplication::closeAllWindows(); }

EditMenu::EditMenu(QWidget *window, MainView *view) : MenuBase(tr("&Edit"), window), m_view(view)
{
    QAction *undo = addCommand(tr("Undo"), &EditMenu::undo);
    undo->setShortcuts(QKeySequence::Undo);
    QAction *redo = addCommand(tr("Redo"), &EditMenu::redo);
    redo->setShortcuts(QKeySequence::Redo);
    const auto follow = [undo, redo, view] {
        undo->setEnabled(view->editHistory()->canUndo());
        redo->setEnabled(view->editHistory()->canRedo());
    };
    connect(view->editHistory(), &EditHistory::changed, this, follow);
    follow();
    menu()->addSeparator();
    addCommand(tr("Restore Pitch Wheel"), &EditMenu::restorePitchWheel);
}

void EditMenu::undo() { m_view->editHistory()->undo(); }
void EditMenu::redo() { m_view->editHistory()->redo(); }

void EditMenu::restorePitchWheel()
{
    if (Brisel::ControlParams *pitchWheel = manager().activePatch().settings().control(PitchWheelControl))
        pitchWheel->mode.setValue(ModePitchWheel);
}

ViewMenu::ViewMenu(MainWindow *window) : MenuBase(tr("&View"), window), m_window(window)
{
    QAction *refreshAction = addCommand(tr("Refresh"), &ViewMenu::refresh, QString(), QStringLiteral("F5"));
    refreshAction->setShortcutContext(Qt::ApplicationShortcut);
    m_editorAction = addCommand(tr("Editor"), &ViewMenu::togglePatchView, QString(), QStringLiteral("Ctrl+E"));
    m_editorAction->setShortcutContext(Qt::ApplicationShortcut);
    m_editorAction->setCheckable(true);
    m_editorAction->setChecked(AppSettings::showPatchEditor());
    new ApplicationShortcuts({refreshAction, m_editorAction}, this);
}

void ViewMenu::refresh()
{
    UnsavedWork::askBoth(m_window);
    DeviceSession::download();
}

void ViewMenu::togglePatchView(bool shown)
{
    m_window->mainView()->showEditor(shown);
    m_window->fitToContent();
    AppSettings::setShowPatchEditor(shown);
}

void ViewMenu::refreshActivePatch() { manager().refreshActivePatch(); }

void ViewMenu::refreshDevices() { Brisel::DeviceList::instance().refresh(); }

DeviceMenu::DeviceMenu(QWidget *window) : MenuBase(tr("&Device"), window), m_window(window)
{
    addCommand(tr("Select..."), &DeviceMenu::select);
}

void DeviceMenu::select()
{
    DeviceSelectDialog dialog(m_window);
    dialog.exec();
}

HelpMenu::HelpMenu(QWidget *window) : MenuBase(tr("&Help"), window), m_window(window)
{
    addCommand(tr("About ZEL Vorpad Control"), &HelpMenu::about);
}

void HelpMenu::about()
{
    Win32::AboutBox box(m_window);
    box.exec();
}
