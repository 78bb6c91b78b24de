#include "editor/app/MainWindow.h"

#include "editor/app/MainView.h"
#include "editor/app/Menus.h"
#include "editor/app/UnsavedWork.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLayout>
#include <QMenuBar>
#include <QStatusBar>

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(tr("ZEL Vorpad Control"));
    setWindowIcon(QIcon(QStringLiteral(":/images/appIcon.png")));
    m_view = new MainView(this);

    m_fileMenu = new FileMenu(this, m_view);
    m_editMenu = new EditMenu(this, m_view);
    m_viewMenu = new ViewMenu(this);
    for (MenuBase *menu : std::initializer_list<MenuBase *>{m_fileMenu, m_editMenu, m_viewMenu, new DeviceMenu(this),
                                                            new HelpMenu(this)})
        menuBar()->addMenu(menu->menu());

    setCentralWidget(m_view);
    statusBar()->setSizeGripEnabled(false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void MainWindow::fitToContent()
{
    layout()->activate();
    setFixedSize(sizeHint());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    UnsavedWork::askBoth(this);
    event->accept();
}
