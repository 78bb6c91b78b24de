#include "editor/app/MainView.h"

#include "editor/app/AppSettings.h"
#include "editor/app/DeviceSession.h"
#include "editor/app/EditorFiles.h"
#include "editor/app/UnsavedWork.h"
#include "editor/app/deviceview/DeviceView.h"
#include "editor/app/editors/EditHistory.h"
#include "editor/app/editors/PatchEditorView.h"
#include "editor/app/editors/ZonesEditorView.h"
#include "editor/core/DeviceList.h"
#include "editor/core/RemoteControlManager.h"

#include <QHBoxLayout>
#include <QTabWidget>

MainView::MainView(QWidget *parent)
    : QWidget(parent)
    , m_deviceView(createDeviceView())
    , m_patchEditorView(createPatchEditorView())
    , m_zonesEditorView(createZonesEditorView())
    , m_tabWidget(new QTabWidget(this))
{
    m_tabWidget->addTab(m_patchEditorView, tr("Patch"));
    m_tabWidget->addTab(m_zonesEditorView, tr("Zones"));

    m_layout = new QHBoxLayout(this);
    m_layout->addWidget(m_deviceView);
    m_tabWidget->hide();
    showEditor(AppSettings::showPatchEditor());

    connect(m_tabWidget, &QTabWidget::currentChanged, this, &MainView::tabChanged);

    m_editHistory = new EditHistory(Brisel::RemoteControlManager::instance(), this);
    m_editHistory->watch(m_patchEditorView);
    m_editHistory->watch(m_zonesEditorView);
}

QWidget *MainView::createDeviceView()
{
    const DeviceViewServices services{Brisel::RemoteControlManager::instance(), Brisel::DeviceList::instance(),
                                      EditorFiles::instance(), [] { UnsavedWork::askPatchQuestion(); },
                                      &DeviceSession::select};
    return new DeviceView(services, this);
}

QWidget *MainView::createPatchEditorView() { return new PatchEditorView; }

QWidget *MainView::createZonesEditorView() { return new ZonesEditorView; }

void MainView::showEditor(bool shown)
{
    if (shown && m_layout->indexOf(m_tabWidget) < 0)
        m_layout->insertWidget(m_layout->indexOf(m_deviceView) + 1, m_tabWidget);
    else if (!shown)
        m_layout->removeWidget(m_tabWidget);
    m_patchEditorView->setVisible(shown);
    m_zonesEditorView->setVisible(shown);
    m_tabWidget->setVisible(shown);
    m_editorShown = shown;
}

void MainView::tabChanged(int index)
{
    if (index == PatchTab || index == ZonesTab)
        emit viewChanged(Tab(index));
}
