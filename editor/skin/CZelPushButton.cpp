#include "editor/skin/CZelPushButton.h"

#include "editor/skin/CZelRenderDescription.h"
#include "editor/skin/CZelRenderStyle.h"
#include "editor/skin/CZelStyleOptions.h"

#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QToolBar>

class CZelPushButtonPrivate
{
public:
    explicit CZelPushButtonPrivate(CZelPushButton *q) : q(q) {}

    CZelStyleOptionButton option() const;
    QPoint menuPosition(const QSize &menuSize) const;
    void runMenu();

    CZelPushButton *q;
    bool isDefault = false;
    bool autoDefault = false;
    bool flat = false;
    bool menuConnected = false;
    QPointer<QMenu> menu;
    QString key;
};

CZelStyleOptionButton CZelPushButtonPrivate::option() const
{
    CZelStyleOptionButton option;
    option.initFrom(q);
    option.features = QStyleOptionButton::None;
    if (flat)
        option.features |= QStyleOptionButton::Flat;
    if (menu)
        option.features |= QStyleOptionButton::HasMenu;
    if (autoDefault || isDefault)
        option.features |= QStyleOptionButton::AutoDefaultButton;
    if (isDefault)
        option.features |= QStyleOptionButton::DefaultButton;
    if (q->isDown())
        option.state |= QStyle::State_Sunken;
    if (q->isChecked())
        option.state |= QStyle::State_On;
    if (!flat && !q->isDown())
        option.state |= QStyle::State_Raised;
    option.text = q->text();
    option.icon = q->icon();
    option.iconSize = q->iconSize();
    option.keys[0] = key;
    return option;
}

// Below the button, or above it when the menu would leave the screen; beside
// the button in a vertical tool bar; right-aligned for right-to-left layouts.
QPoint CZelPushButtonPrivate::menuPosition(const QSize &menuSize) const
{
    const QRect rect = q->rect();
    const QRect screen = q->screen() ? q->screen()->availableGeometry() : QRect();
    const auto *toolBar = qobject_cast<const QToolBar *>(q->parentWidget());
    QPoint position;
    if (toolBar && toolBar->orientation() == Qt::Vertical) {
        position = q->mapToGlobal(rect.topRight() + QPoint(1, 0));
    } else {
        position = q->mapToGlobal(rect.bottomLeft() + QPoint(0, 1));
        if (q->layoutDirection() == Qt::RightToLeft)
            position.rx() += rect.width() - menuSize.width();
        if (!screen.isEmpty() && position.y() + menuSize.height() > screen.bottom())
            position.setY(q->mapToGlobal(rect.topLeft()).y() - menuSize.height());
    }
    return position;
}

void CZelPushButtonPrivate::runMenu()
{
    if (!menu)
        return;
    QPointer<CZelPushButton> guard(q);
    q->setDown(true);
    menu->exec(menuPosition(menu->sizeHint()));
    if (guard)
        q->setDown(false);
}

CZelPushButton::CZelPushButton(QWidget *parent)
    : CZelAbstractButton(parent), d(std::make_unique<CZelPushButtonPrivate>(this))
{
    d->autoDefault = parent && qobject_cast<QDialog *>(parent->window());
    setSizePolicy(QSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed, QSizePolicy::PushButton));
}

CZelPushButton::~CZelPushButton() = default;

QString CZelPushButton::key() const { return d->key; }

void CZelPushButton::setKey(const QString &key)
{
    if (d->key == key)
        return;
    d->key = key;
    const auto *renderStyle = qobject_cast<const CZelRenderStyle *>(style());
    const CZelRenderDescription *description = renderStyle ? renderStyle->description(key) : nullptr;
    if (description) {
        const QSize natural = description->naturalSize();
        if (natural.width() >= 0)
            setFixedWidth(natural.width());
        if (natural.height() >= 0)
            setFixedHeight(natural.height());
    }
    updateGeometry();
    update();
}

bool CZelPushButton::isDefault() const { return d->isDefault; }

void CZelPushButton::setDefault(bool isDefault)
{
    if (d->isDefault == isDefault)
        return;
    d->isDefault = isDefault;
    updateGeometry();
    update();
}

bool CZelPushButton::autoDefault() const { return d->autoDefault; }

void CZelPushButton::setAutoDefault(bool autoDefault)
{
    if (d->autoDefault == autoDefault)
        return;
    d->autoDefault = autoDefault;
    updateGeometry();
    update();
}

bool CZelPushButton::isFlat() const { return d->flat; }

void CZelPushButton::setFlat(bool flat)
{
    if (d->flat == flat)
        return;
    d->flat = flat;
    update();
}

QMenu *CZelPushButton::menu() const { return d->menu; }

void CZelPushButton::setMenu(QMenu *menu)
{
    if (menu == d->menu)
        return;
    if (menu && !d->menuConnected) {
        connect(this, &CZelAbstractButton::pressed, this, &CZelPushButton::popupPressed);
        d->menuConnected = true;
    }
    d->menu = menu;
    updateGeometry();
    update();
}

void CZelPushButton::showMenu() { d->runMenu(); }

void CZelPushButton::popupPressed()
{
    if (d->menu && isDown())
        d->runMenu();
}

QSize CZelPushButton::sizeHint() const
{
    ensurePolished();
    int width = 0;
    int height = 0;
    const CZelStyleOptionButton option = d->option();
    if (!icon().isNull()) {
        width = iconSize().width() + 4;
        height = iconSize().height();
    }
    const QString measured = text().isEmpty() ? QStringLiteral("XXXX") : text();
    const QSize textSize = fontMetrics().size(Qt::TextShowMnemonic, measured);
    width += textSize.width() + 4;
    height = std::max(height, textSize.height());
    if (d->menu)
        width += style()->pixelMetric(QStyle::PM_MenuButtonIndicator, &option, this);
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, QSize(width, height), this);
}

QSize CZelPushButton::minimumSizeHint() const { return sizeHint(); }

void CZelPushButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const CZelStyleOptionButton option = d->option();
    if (qobject_cast<const CZelRenderStyle *>(style())) {
        style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
    } else {
        const QStyleOptionButton plain = option.plain();
        style()->drawControl(QStyle::CE_PushButton, &plain, &painter, this);
    }
}

void CZelPushButton::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && (d->autoDefault || d->isDefault)) {
        click();
        return;
    }
    CZelAbstractButton::keyPressEvent(event);
}

void CZelPushButton::focusInEvent(QFocusEvent *event)
{
    if (event->reason() != Qt::PopupFocusReason && d->autoDefault && !d->isDefault)
        setDefault(true);
    CZelAbstractButton::focusInEvent(event);
}

void CZelPushButton::focusOutEvent(QFocusEvent *event)
{
    if (event->reason() != Qt::PopupFocusReason && d->autoDefault && !qobject_cast<QDialog *>(window()))
        setDefault(false);
    if (d->menu && d->menu->isVisible())
        return; // the button stays down while its menu runs
    CZelAbstractButton::focusOutEvent(event);
}
