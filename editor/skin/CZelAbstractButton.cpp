#include "editor/skin/CZelAbstractButton_p.h"

#include "editor/skin/CZelButtonGroup.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcutEvent>
#include <QStyle>
#include <QTimerEvent>

#include <algorithm>
#include <iterator>

QList<CZelAbstractButton *> CZelAbstractButtonPrivate::exclusiveSet() const
{
    if (group)
        return group->buttons();
    QList<CZelAbstractButton *> result;
    if (!autoExclusive || !q->parentWidget())
        return result;
    for (auto *sibling : q->parentWidget()->findChildren<CZelAbstractButton *>(Qt::FindDirectChildrenOnly)) {
        if (sibling->d->autoExclusive && !sibling->d->group)
            result.append(sibling);
    }
    return result;
}

CZelAbstractButton *CZelAbstractButtonPrivate::checkedInSet() const
{
    if (group)
        return group->checkedButton();
    for (CZelAbstractButton *button : exclusiveSet()) {
        if (button->d->checked)
            return button;
    }
    return nullptr;
}

void CZelAbstractButtonPrivate::storeChecked(bool value)
{
    if (checked == value)
        return;
    checked = value;
    q->checkStateSet();
    if (!blockRefresh)
        q->update();
    QAccessible::State state;
    state.checked = true;
    QAccessibleStateChangeEvent event(q, state);
    QAccessible::updateAccessibility(&event);
    emit q->toggled(checked);
}

void CZelAbstractButtonPrivate::emitClicked()
{
    QPointer<CZelAbstractButton> guard(q);
    emit q->clicked(checked);
    if (guard && group)
        emit group->buttonClicked(q);
}

void CZelAbstractButtonPrivate::click()
{
    QPointer<CZelAbstractButton> guard(q);
    down = false;
    blockRefresh = true;
    q->nextCheckState();
    if (!guard)
        return;
    blockRefresh = false;
    q->repaint();
    emit q->released();
    if (guard)
        emitClicked();
}

void CZelAbstractButtonPrivate::moveFocus(int key)
{
    const bool forward = key == Qt::Key_Right || key == Qt::Key_Down;
    const QList<CZelAbstractButton *> set = exclusiveSet();
    const qsizetype index = set.indexOf(q);
    if (set.size() > 1 && index >= 0) {
        for (qsizetype step = 1; step < set.size(); ++step) {
            CZelAbstractButton *next = set[(index + (forward ? step : set.size() - step)) % set.size()];
            if (next->isEnabled() && next->isVisible()) {
                next->setFocus(Qt::OtherFocusReason);
                return;
            }
        }
        return;
    }
    if (QWidget *next = forward ? q->nextInFocusChain() : q->previousInFocusChain())
        next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

CZelAbstractButton::CZelAbstractButton(QWidget *parent)
    : QWidget(parent), d(std::make_unique<CZelAbstractButtonPrivate>(this))
{
    setFocusPolicy(Qt::FocusPolicy(style()->styleHint(QStyle::SH_Button_FocusPolicy)));
    setSizePolicy(QSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed, QSizePolicy::PushButton));
    setAttribute(Qt::WA_WState_OwnSizePolicy, false);
}

CZelAbstractButton::~CZelAbstractButton()
{
    if (d->group)
        d->group->removeButton(this);
}

QString CZelAbstractButton::text() const { return d->text; }

void CZelAbstractButton::setText(const QString &text)
{
    if (d->text == text)
        return;
    d->text = text;
    updateGeometry();
    update();
}

QIcon CZelAbstractButton::icon() const { return d->icon; }

void CZelAbstractButton::setIcon(const QIcon &icon)
{
    d->icon = icon;
    updateGeometry();
    update();
}

QSize CZelAbstractButton::iconSize() const
{
    if (d->iconSize.width() == -1 || d->iconSize.height() == -1) {
        const int size = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
        return QSize(size, size);
    }
    return d->iconSize;
}

void CZelAbstractButton::setIconSize(const QSize &size)
{
    if (d->iconSize == size)
        return;
    d->iconSize = size;
    updateGeometry();
    update();
}

QKeySequence CZelAbstractButton::shortcut() const { return d->shortcut; }

void CZelAbstractButton::setShortcut(const QKeySequence &key)
{
    if (d->shortcutId != 0)
        releaseShortcut(d->shortcutId);
    d->shortcut = key;
    d->shortcutId = key.isEmpty() ? 0 : grabShortcut(key);
}

bool CZelAbstractButton::isCheckable() const { return d->checkable; }

void CZelAbstractButton::setCheckable(bool checkable)
{
    if (d->checkable == checkable)
        return;
    d->checkable = checkable;
    d->checked = false;
}

bool CZelAbstractButton::isChecked() const { return d->checked; }
bool CZelAbstractButton::isDown() const { return d->down; }

void CZelAbstractButton::setDown(bool down)
{
    if (d->down == down)
        return;
    d->down = down;
    repaint();
    if (d->autoRepeat && d->down)
        d->repeatTimer.start(CZelAbstractButtonPrivate::AutoRepeatDelay, this);
    if (!d->down)
        d->repeatTimer.stop();
}

bool CZelAbstractButton::autoRepeat() const { return d->autoRepeat; }

void CZelAbstractButton::setAutoRepeat(bool autoRepeat)
{
    if (d->autoRepeat == autoRepeat)
        return;
    d->autoRepeat = autoRepeat;
    if (d->autoRepeat && d->down)
        d->repeatTimer.start(CZelAbstractButtonPrivate::AutoRepeatDelay, this);
    else
        d->repeatTimer.stop();
}

bool CZelAbstractButton::autoExclusive() const { return d->autoExclusive; }
void CZelAbstractButton::setAutoExclusive(bool autoExclusive) { d->autoExclusive = autoExclusive; }
CZelButtonGroup *CZelAbstractButton::group() const { return d->group; }

void CZelAbstractButton::click()
{
    if (!isEnabled())
        return;
    QPointer<CZelAbstractButton> guard(this);
    d->down = true;
    emit pressed();
    if (guard)
        d->click();
}

void CZelAbstractButton::animateClick(int milliseconds)
{
    if (!isEnabled())
        return;
    if (d->checkable && focusPolicy() & Qt::ClickFocus)
        setFocus();
    setDown(true);
    repaint();
    emit pressed();
    d->animateTimer.start(milliseconds, this);
}

void CZelAbstractButton::setChecked(bool checked)
{
    if (!d->checkable || checked == d->checked)
        return;
    const bool exclusive = (d->group && d->group->exclusive()) || (!d->group && d->autoExclusive);
    // An exclusive set keeps one button checked: the checked one cannot be
    // unchecked directly.
    if (!checked && exclusive && d->checkedInSet() == this)
        return;
    CZelAbstractButton *previous = checked && exclusive ? d->checkedInSet() : nullptr;
    if (checked && d->group && d->group->exclusive())
        d->group->setCheckedButton(this);
    if (previous && previous != this)
        previous->d->storeChecked(false);
    d->storeChecked(checked);
}

void CZelAbstractButton::toggle() { setChecked(!d->checked); }

bool CZelAbstractButton::hitButton(const QPoint &point) const { return rect().contains(point); }

void CZelAbstractButton::checkStateSet() {}

void CZelAbstractButton::nextCheckState()
{
    if (d->checkable)
        setChecked(!d->checked);
}

namespace {

// Pointer events a disabled button takes for itself, so that a click on it
// never lands on the widget behind it.
constexpr QEvent::Type SwallowedWhileDisabled[] = {
    QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick, QEvent::MouseMove,
    QEvent::TabletPress,      QEvent::TabletRelease,      QEvent::TabletMove,          QEvent::HoverEnter,
    QEvent::HoverLeave,       QEvent::HoverMove,          QEvent::ContextMenu,         QEvent::Wheel,
};

bool swallowedWhileDisabled(QEvent::Type type)
{
    return std::find(std::begin(SwallowedWhileDisabled), std::end(SwallowedWhileDisabled), type) !=
           std::end(SwallowedWhileDisabled);
}

} // namespace

bool CZelAbstractButton::event(QEvent *event)
{
    if (!isEnabled() && swallowedWhileDisabled(event->type()))
        return true;
    if (event->type() == QEvent::Shortcut) {
        auto *shortcut = static_cast<QShortcutEvent *>(event);
        if (shortcut->shortcutId() != d->shortcutId)
            return QWidget::event(event);
        if (shortcut->isAmbiguous()) {
            window()->setAttribute(Qt::WA_KeyboardFocusChange);
        } else {
            if (focusPolicy() != Qt::NoFocus)
                setFocus(Qt::ShortcutFocusReason);
            animateClick();
        }
        return true;
    }
    return QWidget::event(event);
}

void CZelAbstractButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    if (!hitButton(event->position().toPoint())) {
        event->ignore();
        return;
    }
    setDown(true);
    repaint();
    emit pressed();
    event->accept();
}

void CZelAbstractButton::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        event->ignore();
        return;
    }
    const bool inside = hitButton(event->position().toPoint());
    if (inside != d->down) {
        setDown(inside);
        repaint();
        if (inside)
            emit pressed();
        else
            emit released();
    }
    event->accept();
}

void CZelAbstractButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        if (d->down)
            setDown(false);
        event->ignore();
        return;
    }
    if (!d->down) {
        event->ignore();
        return;
    }
    if (hitButton(event->position().toPoint())) {
        d->repeatTimer.stop();
        d->click();
    } else {
        setDown(false);
        emit released();
    }
    event->accept();
}

void CZelAbstractButton::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
        if (!event->isAutoRepeat()) {
            setDown(true);
            repaint();
            emit pressed();
        }
        return;
    case Qt::Key_Escape:
        if (d->down) {
            setDown(false);
            repaint();
            emit released();
            return;
        }
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        d->moveFocus(event->key());
        return;
    default:
        break;
    }
    event->ignore();
}

void CZelAbstractButton::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && d->down) {
        d->click();
        return;
    }
    event->ignore();
}

void CZelAbstractButton::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == d->repeatTimer.timerId()) {
        d->repeatTimer.start(CZelAbstractButtonPrivate::AutoRepeatInterval, this);
        if (d->down) {
            QPointer<CZelAbstractButton> guard(this);
            emit released();
            if (guard)
                d->emitClicked();
            if (guard)
                emit pressed();
        }
    } else if (event->timerId() == d->animateTimer.timerId()) {
        d->animateTimer.stop();
        d->click();
    }
}

void CZelAbstractButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled() && d->down) {
        d->down = false;
        d->repeatTimer.stop();
        d->animateTimer.stop();
    }
    QWidget::changeEvent(event);
}

void CZelAbstractButton::focusOutEvent(QFocusEvent *event)
{
    if (event->reason() != Qt::PopupFocusReason && d->down) {
        d->down = false;
        d->repeatTimer.stop();
        update();
    }
    QWidget::focusOutEvent(event);
}
