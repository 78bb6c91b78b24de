#include "editor/app/MainView.h"

#include "editor/app/AppSettings.h"

#include <QHBoxLayout>
#include <QTabWidget>

namespace {

// The editors' and the device view's sizes, which the stand-ins keep until the
// real views are built here.
constexpr QSize EditorSize(658, 497);
constexpr int DeviceViewWidth = 148;

QWidget *placeholder(QWidget *parent, const char *name)
{
    auto *widget = new QWidget(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

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
}

QWidget *MainView::createDeviceView()
{
    QWidget *view = placeholder(this, "deviceView");
    view->setFixedWidth(DeviceViewWidth);
    view->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    return view;
}

QWidget *MainView::createPatchEditorView()
{
    QWidget *view = placeholder(nullptr, "patchEditorView");
    view->setFixedSize(EditorSize);
    return view;
}

QWidget *MainView::createZonesEditorView()
{
    QWidget *view = placeholder(nullptr, "zonesEditorView");
    view->setFixedSize(EditorSize);
    return view;
}

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
