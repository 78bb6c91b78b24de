#include "editor/skin/CZelLayoutCheck.h"

#include <QList>
#include <QWidget>

namespace CZelLayoutCheck {

QStringList problems(const QWidget *panel)
{
    QStringList problems;
    QList<const QWidget *> children;
    for (const QObject *child : panel->children()) {
        const auto *widget = qobject_cast<const QWidget *>(child);
        if (widget && !widget->isWindow())
            children.append(widget);
    }
    for (qsizetype i = 0; i < children.size(); ++i) {
        const QRect a = children[i]->geometry();
        if (!panel->rect().contains(a))
            problems.append(QStringLiteral("outside the panel: %1 %2,%3 %4x%5")
                                .arg(children[i]->objectName())
                                .arg(a.x())
                                .arg(a.y())
                                .arg(a.width())
                                .arg(a.height()));
        for (qsizetype j = i + 1; j < children.size(); ++j) {
            if (a.intersects(children[j]->geometry()))
                problems.append(
                    QStringLiteral("overlap: %1 and %2").arg(children[i]->objectName(), children[j]->objectName()));
        }
    }
    return problems;
}

} // namespace CZelLayoutCheck
