#include "editor/app/editors/ZonesEditorView.h"

#include "editor/app/editors/EditorPanel.h"
#include "editor/app/editors/SectionBuilder.h"
#include "editor/app/editors/WidgetHandler.h"
#include "editor/core/RemoteControlManager.h"

class ZonesEditorViewPrivate
{
public:
    ZonesEditorViewPrivate(ZonesEditorView *view, Brisel::RemoteControlManager &manager)
        : observer(view, &ZonesEditorView::refresh)
    {
        manager.activePatch().zones().imageSubject().attach(&observer);
    }

    QPixmap background;
    HandlerList handlers;
    Utils::ProxyObserver<ZonesEditorView> observer;
};

ZonesEditorView::ZonesEditorView(QWidget *parent) : ZonesEditorView(Brisel::RemoteControlManager::instance(), parent) {}

ZonesEditorView::ZonesEditorView(Brisel::RemoteControlManager &manager, QWidget *parent)
    : QWidget(parent), d(std::make_unique<ZonesEditorViewPrivate>(this, manager))
{
    d->background = EditorPanel::setBackground(this, QStringLiteral(":/images/zonesEditorBackground_active.bmp"));
    TopSectionBuilder(this, d->handlers, manager).build();
    ZonesDisplaySectionBuilder(this, d->handlers, manager).build();
    ZonesSettingsSectionBuilder(this, d->handlers, manager).build();
    d->handlers.updateAll();
}

ZonesEditorView::~ZonesEditorView() = default;

QSize ZonesEditorView::sizeHint() const { return d->background.size(); }

QSize ZonesEditorView::minimumSizeHint() const { return d->background.size(); }

HandlerList &ZonesEditorView::handlers() { return d->handlers; }

void ZonesEditorView::refresh() { d->handlers.updateAll(); }
