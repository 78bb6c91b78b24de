#include "editor/skin/CZelButtonGroup.h"

#include "editor/skin/CZelAbstractButton_p.h"

CZelButtonGroup::CZelButtonGroup(QObject *parent) : QObject(parent) {}

CZelButtonGroup::~CZelButtonGroup()
{
    for (CZelAbstractButton *button : std::as_const(m_buttons))
        button->d->group = nullptr;
}

void CZelButtonGroup::addButton(CZelAbstractButton *button)
{
    if (!button || m_buttons.contains(button))
        return;
    if (CZelButtonGroup *previous = button->group())
        previous->removeButton(button);
    m_buttons.append(button);
    button->d->group = this;
    if (m_exclusive && button->isChecked()) {
        CZelAbstractButton *previous = m_checked;
        m_checked = button;
        if (previous && previous != button)
            previous->d->storeChecked(false);
    }
}

void CZelButtonGroup::removeButton(CZelAbstractButton *button)
{
    if (!button || !m_buttons.removeOne(button))
        return;
    if (m_checked == button)
        m_checked = nullptr;
    button->d->group = nullptr;
}
