#include "editor/app/editors/PatchEditorView.h"

#include "editor/app/editors/EditorPanel.h"
#include "editor/app/editors/SectionBuilder.h"
#include "editor/app/editors/WidgetHandler.h"
#include "editor/core/RemoteControlManager.h"
#include "editor/skin/CZelPushButton.h"

#include <QLineEdit>

class PatchEditorViewPrivate
{
public:
    PatchEditorViewPrivate(PatchEditorView *view, Brisel::RemoteControlManager &manager)
        : manager(manager), observer(view, &PatchEditorView::refresh)
    {
        manager.activePatch().settings().imageSubject().attach(&observer);
    }

    Brisel::RemoteControlManager &manager;
    QPixmap background;
    HandlerList handlers;
    Utils::ProxyObserver<PatchEditorView> observer;
};

namespace {

// The channel fields of the knobs and wheels follow the advanced-mode toggle;
// the footswitch's does not.
void connectAdvancedMode(QWidget *view)
{
    auto *toggle =
        view->findChild<CZelPushButton *>(QStringLiteral("SETTINGS_ADVANCEDMODE"), Qt::FindDirectChildrenOnly);
    if (!toggle)
        return;
    QStringList names;
    for (int i = 1; i <= 16; ++i)
        names.append(QStringLiteral("CONTROLS_%1/KNOBCONTROL_CHANNEL").arg(i));
    names.append(QStringLiteral("CONTROLS_PITCHWHEEL/WHEELCONTROL_CHANNEL"));
    names.append(QStringLiteral("CONTROLS_MODWHEEL/WHEELCONTROL_CHANNEL"));
    for (const QString &name : names) {
        if (auto *field = view->findChild<QLineEdit *>(name, Qt::FindDirectChildrenOnly)) {
            QObject::connect(toggle, &CZelPushButton::toggled, field, &QWidget::setEnabled);
            field->setEnabled(toggle->isChecked());
        }
    }
}

} // namespace

PatchEditorView::PatchEditorView(QWidget *parent) : PatchEditorView(Brisel::RemoteControlManager::instance(), parent) {}

PatchEditorView::PatchEditorView(Brisel::RemoteControlManager &manager, QWidget *parent)
    : QWidget(parent), d(std::make_unique<PatchEditorViewPrivate>(this, manager))
{
    d->background = EditorPanel::setBackground(this, QStringLiteral(":/images/patchEditorBackground_active.bmp"));
    TopSectionBuilder(this, d->handlers, manager).build();
    ControlsSectionBuilder(this, d->handlers, manager).build();
    SettingsSectionBuilder(this, d->handlers, manager).build();
    VelocityCurvesSectionBuilder(this, d->handlers, manager).build();
    ProgramsSectionBuilder(this, d->handlers, manager).build();
    connectAdvancedMode(this);
    d->handlers.updateAll();
}

PatchEditorView::~PatchEditorView() = default;

QSize PatchEditorView::sizeHint() const { return d->background.size(); }

QSize PatchEditorView::minimumSizeHint() const { return d->background.size(); }

HandlerList &PatchEditorView::handlers() { return d->handlers; }

void PatchEditorView::refresh() { d->handlers.updateAll(); }
