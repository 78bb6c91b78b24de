#pragma once

#include <QList>
#include <QObject>

class CZelAbstractButton;

// A set of buttons of which, when exclusive, at most one is checked.
class CZelButtonGroup : public QObject
{
    Q_OBJECT

public:
    explicit CZelButtonGroup(QObject *parent = nullptr);
    ~CZelButtonGroup() override;

    bool exclusive() const { return m_exclusive; }
    void setExclusive(bool exclusive) { m_exclusive = exclusive; }
    void addButton(CZelAbstractButton *button);
    void removeButton(CZelAbstractButton *button);
    QList<CZelAbstractButton *> buttons() const { return m_buttons; }
    CZelAbstractButton *checkedButton() const { return m_checked; }

signals:
    void buttonClicked(CZelAbstractButton *button);

private:
    friend class CZelAbstractButton;
    friend class CZelAbstractButtonPrivate;
    void setCheckedButton(CZelAbstractButton *button) { m_checked = button; }

    QList<CZelAbstractButton *> m_buttons;
    CZelAbstractButton *m_checked = nullptr;
    bool m_exclusive = true;
};
