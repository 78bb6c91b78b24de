#pragma once

#include <QMainWindow>

class EditMenu;
class FileMenu;
class MainView;
class ViewMenu;

// The editor's only top-level window: the main view and the menu bar. It
// always takes its content's size; the user cannot resize it.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);

    MainView *mainView() const { return m_view; }
    FileMenu *fileMenu() const { return m_fileMenu; }
    EditMenu *editMenu() const { return m_editMenu; }
    ViewMenu *viewMenu() const { return m_viewMenu; }

    // Fixes the window to its content's new size hint.
    void fitToContent();

protected:
    // Asks to keep unsaved work, then always closes.
    void closeEvent(QCloseEvent *event) override;

private:
    MainView *m_view;
    FileMenu *m_fileMenu;
    EditMenu *m_editMenu;
    ViewMenu *m_viewMenu;
};
