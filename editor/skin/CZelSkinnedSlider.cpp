#include "editor/skin/CZelSkinnedSlider_p.h"

#include "editor/skin/CZelRenderDescription.h"
#include "editor/skin/CZelRenderStyle.h"

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

bool CZelSkinnedSliderPrivate::updateHover(QStyle::ComplexControl control, const QStyleOptionComplex &option,
                                           const QPoint &point)
{
    const QStyle::SubControl handle = control == QStyle::CC_Dial ? QStyle::SC_DialHandle : QStyle::SC_SliderHandle;
    const QStyle::SubControl groove = control == QStyle::CC_Dial ? QStyle::SC_DialGroove : QStyle::SC_SliderGroove;
    const QRect handleRect = q->style()->subControlRect(control, &option, handle, q);
    const QRect grooveRect = q->style()->subControlRect(control, &option, groove, q);
    QStyle::SubControl hovered = QStyle::SC_None;
    QRect rect;
    if (handleRect.contains(point))
        hovered = handle, rect = handleRect;
    else if (grooveRect.contains(point))
        hovered = groove, rect = grooveRect;
    if (hovered == hoverControl)
        return false;
    const QRect old = hoverRect;
    hoverControl = hovered;
    hoverRect = rect;
    if (q->testAttribute(Qt::WA_Hover)) {
        q->update(old);
        q->update(rect);
    }
    return true;
}
