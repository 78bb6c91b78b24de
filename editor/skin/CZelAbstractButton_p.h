#pragma once

#include "editor/skin/CZelAbstractButton.h"

#include <QBasicTimer>
#include <QPointer>

class CZelButtonGroup;

class CZelAbstractButtonPrivate
{
public:
    explicit CZelAbstractButtonPrivate(CZelAbstractButton *q) : q(q) {}

    // Buttons that share the exclusive behaviour with this one: the group's
    // or, for an auto-exclusive button, its auto-exclusive siblings.
    QList<CZelAbstractButton *> exclusiveSet() const;
    CZelAbstractButton *checkedInSet() const;
    // Stores the check state, updates the group and emits toggled().
    void storeChecked(bool checked);
    void click();
    void emitClicked();
    void moveFocus(int key);

    CZelAbstractButton *q;
    QIcon icon;
    QSize iconSize{-1, -1};
    QString text;
    QKeySequence shortcut;
    int shortcutId = 0;
    bool checkable = false;
    bool checked = false;
    bool autoRepeat = false;
    bool autoExclusive = false;
    bool down = false;
    bool blockRefresh = false;
    CZelButtonGroup *group = nullptr;
    QBasicTimer repeatTimer;
    QBasicTimer animateTimer;

    static constexpr int AutoRepeatDelay = 300;
    static constexpr int AutoRepeatInterval = 100;
};
