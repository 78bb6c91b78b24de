#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;

// Application-wide commands whose keys win over a focused text field. A line
// edit claims some keys for itself (on X11 Ctrl+E moves to the end of the
// line), and these commands must work whatever child has the focus.
class ApplicationShortcuts : public QObject
{
public:
    ApplicationShortcuts(const QList<QAction *> &actions, QObject *parent);
    ~ApplicationShortcuts() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QPointer<QAction>> m_actions;
};
