#include "editor/app/MenuBase.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

MenuBase::MenuBase(const QString &title, QWidget *window) : QObject(window), m_menu(new QMenu(title, window)) {}

MenuBase::~MenuBase() = default;

QAction *MenuBase::newAction(const QString &text, const QString &statusTip, const QString &shortcut)
{
    QAction *action = m_menu->addAction(text);
    if (!statusTip.isEmpty())
        action->setStatusTip(statusTip);
    if (!shortcut.isEmpty())
        action->setShortcut(QKeySequence(shortcut));
    return action;
}
