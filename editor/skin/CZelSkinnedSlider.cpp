#include "editor/skin/CZelSkinnedSlider_p.h"

#include "editor/skin/CZelRenderDescription.h"
#include "editor/skin/CZelRenderStyle.h"

#include <QHoverEvent>
#include <QWidget>

QSize CZelSkinnedSliderPrivate::naturalSize() const
{
    const auto *style = qobject_cast<const CZelRenderStyle *>(q->style());
    QSize result(-1, -1);
    if (!style)
        return result;
    for (const QString &key : keys) {
        const CZelRenderDescription *description = style->description(key);
        const QSize natural = description ? description->naturalSize() : QSize(-1, -1);
        result = result.expandedTo(natural);
    }
    return result;
}

void CZelSkinnedSliderPrivate::applyNaturalSize()
{
    const QSize natural = naturalSize();
    if (natural.width() >= 0)
        q->setFixedWidth(natural.width());
    if (natural.height() >= 0)
        q->setFixedHeight(natural.height());
    q->updateGeometry();
    q->update();
}

void CZelSkinnedSliderPrivate::setKey(int index, const QString &key)
{
    if (keys[size_t(index)] == key)
        return;
    keys[size_t(index)] = key;
    applyNaturalSize();
}

void CZelSkinnedSliderPrivate::fillState(CZelStyleOptionSlider &option) const
{
    if (pressedControl != QStyle::SC_None) {
        option.activeSubControls = pressedControl;
        option.state |= QStyle::State_Sunken;
    } else {
        option.activeSubControls = hoverControl;
        option.state |= QStyle::State_Raised;
    }
    option.keys[0] = keys[0];
    option.keys[1] = keys[1];
}

void CZelSkinnedSliderPrivate::hoverEvent(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::HoverLeave:
        updateHover(static_cast<const QHoverEvent *>(event)->position().toPoint());
        break;
    default:
        break;
    }
}

void CZelSkinnedSliderPrivate::updateHover(const QPoint &point)
{
    const StyleSliderOption option(this->option(), q->style());
    const QStyle::SubControl handle = control == QStyle::CC_Dial ? QStyle::SC_DialHandle : QStyle::SC_SliderHandle;
    const QStyle::SubControl groove = control == QStyle::CC_Dial ? QStyle::SC_DialGroove : QStyle::SC_SliderGroove;
    const QRect handleRect = q->style()->subControlRect(control, option.get(), handle, q);
    const QRect grooveRect = q->style()->subControlRect(control, option.get(), groove, q);
    QStyle::SubControl hovered = QStyle::SC_None;
    QRect rect;
    if (handleRect.contains(point))
        hovered = handle, rect = handleRect;
    else if (grooveRect.contains(point))
        hovered = groove, rect = grooveRect;
    if (hovered == hoverControl)
        return;
    const QRect old = hoverRect;
    hoverControl = hovered;
    hoverRect = rect;
    if (q->testAttribute(Qt::WA_Hover)) {
        q->update(old);
        q->update(rect);
    }
}
