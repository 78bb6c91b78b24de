#pragma once

#include <QAction>
#include <QObject>

class QMenu;
class QWidget;

// One menu of the editor: the menu object owns its QMenu and adds commands
// whose triggered() reaches one of its slots.
class MenuBase : public QObject
{
    Q_OBJECT

public:
    MenuBase(const QString &title, QWidget *window);
    ~MenuBase() override;

    QMenu *menu() const { return m_menu; }

protected:
    // An action with the text; its triggered() goes to the member slot or
    // signal; the status tip and the shortcut are set when not empty.
    template <class Menu, class... Args>
    QAction *addCommand(const QString &text, void (Menu::*slot)(Args...), const QString &statusTip = {},
                        const QString &shortcut = {})
    {
        QAction *action = newAction(text, statusTip, shortcut);
        connect(action, &QAction::triggered, static_cast<Menu *>(this), slot);
        return action;
    }

private:
    QAction *newAction(const QString &text, const QString &statusTip, const QString &shortcut);

    QMenu *m_menu;
};
