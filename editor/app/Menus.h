#pragma once

#include "editor/app/MenuBase.h"

class MainView;
class MainWindow;

// The menu bar's menus, left to right. Every command ends in the manager, the
// file layer or a dialog; the menus only wire them.
class FileMenu : public MenuBase
{
    Q_OBJECT

public:
    FileMenu(QWidget *window, MainView *view);
    MainView *view() const { return m_view; }

public slots:
    void load();
    void loadPatch();
    void loadBank();
    void savePatch();
    void saveBank();
    void saveRevert();
    void store();
    void revert();
    void preferences();
    void exit();

private:
    QWidget *m_window;
    MainView *m_view;
};

class EditMenu : public MenuBase
{
    Q_OBJECT

public:
    EditMenu(QWidget *window, MainView *view);

public slots:
    void undo();
    void redo();
    void restorePitchWheel();
    void cut() {}
    void copy() {}
    void paste() {}

private:
    MainView *m_view;
};

class ViewMenu : public MenuBase
{
    Q_OBJECT

public:
    explicit ViewMenu(MainWindow *window);

    QAction *editorAction() const { return m_editorAction; }

public slots:
    void refresh();
    void togglePatchView(bool shown);
    void refreshActivePatch();
    void refreshDevices();

private:
    MainWindow *m_window;
    QAction *m_editorAction;
};

class DeviceMenu : public MenuBase
{
    Q_OBJECT

public:
    explicit DeviceMenu(QWidget *window);

public slots:
    void select();

private:
    QWidget *m_window;
};

class HelpMenu : public MenuBase
{
    Q_OBJECT

public:
    explicit HelpMenu(QWidget *window);

public slots:
    void about();

private:
    QWidget *m_window;
};
