#include "editor/app/ApplicationShortcuts.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>

ApplicationShortcuts::ApplicationShortcuts(const QList<QAction *> &actions, QObject *parent) : QObject(parent)
{
    for (QAction *action : actions)
        m_actions.append(action);
    QCoreApplication::instance()->installEventFilter(this);
}

ApplicationShortcuts::~ApplicationShortcuts() { QCoreApplication::instance()->removeEventFilter(this); }

bool ApplicationShortcuts::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
        for (const QPointer<QAction> &action : std::as_const(m_actions)) {
            if (action && action->isEnabled() && action->shortcut() == pressed) {
                // Left unaccepted, the override lets the shortcut map trigger the action.
                event->ignore();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
